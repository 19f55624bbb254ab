#include "integration/HomePage.h"

#include "companions/FileAssociation.h"
#include "companions/ProgramCommandLine.h"
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
    std::string program = BrowserProgram();
    // Without an association there is no browser to try: a command line of
    // a blank and the host would run whatever file of that name a search
    // finds. The Explorer is asked straight away.
    if (!program.empty() &&
        platform::StartProcess(ProgramCommandLine(program, platform::FileExistsNormal) + " " + host, SW_SHOWNORMAL))
        return;
    if (platform::StartProcess(std::string(kFallbackBrowser) + " " + host, SW_SHOWNORMAL)) return;
    platform::MsgBox("Error starting Internet browser application, please go to " + host + " manually !",
                     MB_OK | MB_ICONEXCLAMATION);
}
