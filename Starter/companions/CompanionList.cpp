#include "companions/CompanionList.h"

#include "companions/NumberText.h"
#include "platform/ActiveCodePage.h"
#include "registry/Rmod.h"
#include "shared/TextRules.h"

#include <cassert>

namespace {

// The value names of a slot: the base name followed by the slot number.
std::string SlotValueName(const char* baseName, int slot) {
    return baseName + std::to_string(slot);
}

constexpr const char* kBrowseApplicationName = "browse application";
constexpr const char* kFileTypeName = "file type";
constexpr const char* kFileTypeDescriptionName = "file type description";
constexpr const char* kApplicationNameName = "application name";
constexpr const char* kApplicationCommandName = "application command";
constexpr const char* kIconFileName = "icon file";
constexpr const char* kIconIndexName = "icon index";

}  // namespace

void CompanionList::SetUpCompanionList(HKEY root, const std::string& productKey, const std::string& a, std::int16_t b,
                                       const std::string& c, std::int16_t d) {
    CompanionRoot = root;
    ProductKey = WithClosingBackslash(productKey, platform::ActiveCodePageRule());
    setUpText1_ = a;
    setUpNumber1_ = b;
    setUpText2_ = c;
    setUpNumber2_ = d;
    slots_.assign(kCompanionSlots, CompanionEntry{});
}

void CompanionList::LoadCompanionList() {
    if (!IsSetUp()) return;
    const std::string key = CompanionKey();
    auto read = [&](const std::string& name) { return Rmod::QueryRegistryValue(CompanionRoot, key, name); };

    BrowseApplication = read(kBrowseApplicationName);
    if (BrowseApplication.empty()) BrowseApplication = kDefaultBrowseApplication;

    for (int n = 1; n <= CompanionCount(); ++n) {
        CompanionEntry& entry = Entry(n);
        entry.FileType = ReadCompanionFileType(read(SlotValueName(kFileTypeName, n)));
        entry.FileTypeDescription = read(SlotValueName(kFileTypeDescriptionName, n));
        entry.ApplicationName = read(SlotValueName(kApplicationNameName, n));
        entry.ApplicationCommand = read(SlotValueName(kApplicationCommandName, n));
        entry.IconFile = read(SlotValueName(kIconFileName, n));
        entry.IconIndex = ReadCompanionIconIndex(read(SlotValueName(kIconIndexName, n)));
    }
}

void CompanionList::SaveCompanionList() {
    if (!IsSetUp()) return;
    // The suite owns the entries, and other programs may have stored them
    // with other types or values the parsed copy can't hold: only what the
    // user can change here is written, every other value keeps its bytes.
    Rmod::SetRegistryValue(CompanionRoot, CompanionKey(), kBrowseApplicationName, BrowseApplication, REG_SZ);
}

CompanionEntry& CompanionList::Entry(int index) {
    // Only slots 1..CompanionCount() are ever asked for; anything else is
    // the caller's mistake and lands on a scratch entry that nothing shows.
    if (index < 1 || index > CompanionCount()) {
        assert(!"companion slot out of range");
        static CompanionEntry nowhere;
        nowhere = CompanionEntry{};
        return nowhere;
    }
    return slots_[static_cast<std::size_t>(index - 1)];
}

const CompanionEntry& CompanionList::Entry(int index) const {
    return const_cast<CompanionList*>(this)->Entry(index);
}
