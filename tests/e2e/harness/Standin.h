// The stand-in Quellmar (tools/standin) as the tests see it: its four
// captions, the logs it writes beside its program file and the control
// files that change its behaviour.
#pragma once

#include <string>
#include <vector>

namespace e2e {

inline constexpr const char* kCaptionNormal = "Quellmar";
inline constexpr const char* kCaptionFastRead = "FastRead - Quellmar";
inline constexpr const char* kCaptionFastSort = "FastSort - Quellmar";
inline constexpr const char* kCaptionExtendedHelp = "Quellmar (extended help mode)";

// Control files: present means on.
inline constexpr const char* kStartMinimized = "Quellmar.start-minimized";
inline constexpr const char* kStartMaximized = "Quellmar.start-maximized";
inline constexpr const char* kRefuseClose = "Quellmar.refuse-close";

struct StandinStart {
    std::string commandLine;
    std::string currentDirectory;
};

// Every start of the stand-in in folder, oldest first.
std::vector<StandinStart> StandinStarts(const std::string& folder);
// Its reactions in folder, oldest first: "closed", "close refused", "restored".
std::vector<std::string> StandinEvents(const std::string& folder);

// A command line with the quotes around its program part taken out:
// "\"C:\a b\Quellmar.exe\" /FastRead" gives "C:\a b\Quellmar.exe /FastRead".
// Wine's CreateProcessA puts quotes around the program it found in an
// unquoted command line with blanks (Windows leaves the line as given), so
// the tests compare what the stand-in saw in this form.
std::string WithoutProgramQuotes(const std::string& commandLine);

bool SetStandinControl(const std::string& folder, const char* controlFile, bool on);

}  // namespace e2e
