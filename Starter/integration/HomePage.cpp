#include "integration/HomePage.h"

#include "companions/FileAssociation.h"
#include "companions/ProgramCommandLine.h"
#include "platform/ActiveCodePage.h"
#include "platform/AppRuntime.h"

#include <cstdint>
#include <string>

namespace {

// Only its extension matters: it selects the ".html" association.
constexpr const char* kSampleFileName = "C:\\Text.html";
constexpr const char* kFallbackBrowser = "explorer.exe";

std::string BrowserProgram() {
    std::string description, command, program, iconFile;
    std::int16_t iconIndex = 0;
    bool found = false;
    LookUpFileAssociation(kSampleFileName, "open", description, command, program, iconFile, iconIndex, found);
    return program;  // "" when there is no usable association
}

}  // namespace

void VisitHomePage() {
    const std::string host = HomePageHost;
    // Without an association there is no browser to try, and the Explorer
    // is asked straight away.
    const std::string browser = BrowserCommandLine(BrowserProgram(), host, platform::FileExists, platform::ActiveCodePageRule());
    if (!browser.empty() && platform::StartProcess(browser, SW_SHOWNORMAL)) return;
    if (platform::StartProcess(std::string(kFallbackBrowser) + " " + host, SW_SHOWNORMAL)) return;
    platform::MsgBox("Error starting Internet browser application, please go to " + host + " manually !",
                     MB_OK | MB_ICONEXCLAMATION);
}
