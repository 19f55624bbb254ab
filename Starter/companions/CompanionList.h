// The companion applications of the Halvane suite, as the suite lists them
// in the registry below Quellmar's product key: five slots, each a program,
// a folder or empty, and the "browse application" that opens folders. The
// starter only reads the list; of what it holds only the browse
// application is ever written.
#pragma once

#include "companions/CompanionKind.h"
#include "platform/Win32Api.h"

#include <cstdint>
#include <string>
#include <vector>

struct CompanionEntry {
    std::int16_t FileType = 0;  // a CompanionKind; any other value is no kind at all
    std::string FileTypeDescription, ApplicationCommand, ApplicationName, IconFile;
    std::int16_t IconIndex = 0;
};

inline constexpr std::int16_t kCompanionSlots = 5;
inline constexpr const char* kDefaultBrowseApplication = "explorer.exe";

class CompanionList {
public:
    // Records where the list lives (a "\" is appended to productKey unless
    // it ends with one) and makes five empty slots. Reads nothing.
    void SetUpCompanionList(HKEY root, const std::string& productKey, const std::string& a, std::int16_t b,
                            const std::string& c, std::int16_t d);

    // Replaces BrowseApplication and every field of every slot with what the
    // registry holds; missing values give empty slots and "explorer.exe".
    // Does nothing before SetUpCompanionList.
    void LoadCompanionList();

    // Writes BrowseApplication back as "browse application" (REG_SZ), the
    // only value the starter changes; every other value of the key keeps its
    // bytes and its type, a missing one stays missing, and the key is never
    // deleted. Does nothing before SetUpCompanionList.
    void SaveCompanionList();

    // Slot index, 1..CompanionCount(). Any other index is a caller's
    // mistake: it asserts in a debug build and gives an empty scratch entry.
    CompanionEntry& Entry(int index);
    const CompanionEntry& Entry(int index) const;
    std::int16_t CompanionCount() const { return static_cast<std::int16_t>(slots_.size()); }

    // Where the list lives: CompanionKey() below CompanionRoot. ProductKey
    // always ends with "\" once set up.
    HKEY CompanionRoot = nullptr;
    std::string ProductKey;
    std::string CompanionKey() const { return ProductKey + "KZHalvane\\"; }

    // The command that opens folder entries; empty until the first load.
    std::string BrowseApplication;

private:
    bool IsSetUp() const { return !slots_.empty(); }

    // Recorded beside the location at set-up; nothing reads them.
    std::string setUpText1_, setUpText2_;
    std::int16_t setUpNumber1_ = 0, setUpNumber2_ = 0;
    std::vector<CompanionEntry> slots_;
};
