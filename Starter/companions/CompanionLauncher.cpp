#include "companions/CompanionLauncher.h"

#include "companions/KZShellRegistration.h"
#include "companions/PathHelpers.h"
#include "companions/ProgramCommandLine.h"
#include "companions/SystemRoot.h"
#include "platform/ActiveCodePage.h"
#include "platform/AppRuntime.h"

namespace {

constexpr UINT kWarningStyle = MB_OK | MB_ICONEXCLAMATION;  // 48

// Starts commandLine with folder as the current directory when that folder
// exists, and always returns to the starter's own directory afterwards.
// ChangeDirectory makes the folder current drive and all, so a program on
// another drive starts in its own folder too.
bool StartInFolder(const std::string& commandLine, const std::string& folder) {
    if (platform::FolderExists(folder)) platform::ChangeDirectory(folder);
    bool started = platform::StartProcess(commandLine, SW_SHOWNORMAL);
    platform::ChangeDirectory(platform::AppDirectory());
    return started;
}

void LaunchProgram(const CompanionEntry& entry) {
    if (entry.ApplicationName.empty()) return;
    std::string path = ExpandSystemRoot(entry.ApplicationName, GetWindowsPath());
    if (!StartInFolder(ProgramCommandLine(path, platform::FileExists, platform::ActiveCodePageRule()),
                      GetFolder(path, platform::ActiveCodePageRule()))) {
        platform::MsgBox("Error starting application '" + path + "' !", kWarningStyle);
    }
}

// The folder is a copy: while the input box is open the menu may reload the
// list, and the browse must open the folder it was asked for.
void BrowseFolder(CompanionList& list, const std::string folder) {
    if (!platform::FolderExists(folder)) return;
    for (;;) {
        std::string browser = ProgramCommandLine(list.BrowseApplication, platform::FileExists, platform::ActiveCodePageRule());
        if (StartInFolder(browser + " " + folder, GetFolder(list.BrowseApplication, platform::ActiveCodePageRule()))) return;
        list.BrowseApplication = platform::InputBox(
            "Please enter path to browse application (" + list.BrowseApplication + " not found):",
            "Error during browsing", "");
        if (list.BrowseApplication.empty()) return;
        list.SaveCompanionList();
    }
}

}  // namespace

void LaunchCompanion(CompanionList& list, std::int16_t index) {
    if (index < 1 || index > list.CompanionCount()) return;
    const CompanionEntry& entry = list.Entry(index);
    switch (entry.FileType) {
        case CompanionKindProgram:
            LaunchProgram(entry);
            break;
        case CompanionKindFolder:
            BrowseFolder(list, entry.ApplicationName);
            break;
        default:
            break;  // empty, or no kind the starter knows
    }
}
