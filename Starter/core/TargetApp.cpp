#include "core/TargetApp.h"

#include "platform/AppRuntime.h"
#include "shared/TextRules.h"

namespace {

struct CaptionState {
    const char* caption;
    TargetState state;
};

// Searched in this order; the first caption found decides.
constexpr CaptionState kCaptions[] = {
    {"Quellmar", TargetNormalMode},
    {"FastRead - Quellmar", TargetFastReadMode},
    {"FastSort - Quellmar", TargetFastSortMode},
    {"Quellmar (extended help mode)", TargetExtendedHelpMode},
};

// How long a Quellmar window may take to show that it answers at all, and
// to handle a close request. Windows calls a window hung only after it has
// read no message for 5 s, and SMTO_ABORTIFHUNG gives up on such a window at
// once; a Quellmar busy for a shorter while is waited for, up to the same 5 s.
constexpr UINT kAnswerBoundMs = 5000;
constexpr UINT kCloseBoundMs = 60000;

}  // namespace

std::string GetTargetPath() {
    return platform::AppDirectory() + "Quellmar.exe";
}

bool TargetFilePresent(const std::string& targetPath) {
    return !targetPath.empty() && targetPath.back() != '\\' && platform::FileExistsNormal(targetPath);
}

void StartTarget(const std::string& targetPath, const std::string& modeSwitch) {
    if (!platform::StartProcess(Quoted(targetPath) + modeSwitch, SW_SHOWNORMAL))
        platform::MsgBox("Error starting application '" + targetPath + "' !", MB_OK | MB_ICONEXCLAMATION);
}

void LaunchTarget() {
    const std::string path = GetTargetPath();
    if (TargetFilePresent(path))
        StartTarget(path, "");
    else
        platform::MsgBox("Quellmar was not found in current directory  !", MB_OK | MB_ICONEXCLAMATION);
}

TargetState GetTargetState(HWND& window, Boolean& minimised) {
    for (const CaptionState& candidate : kCaptions) {
        HWND found = FindWindowA(nullptr, candidate.caption);
        if (found) {
            window = found;
            minimised = IsIconic(found) ? True : False;
            return candidate.state;
        }
    }
    window = nullptr;
    minimised = False;
    return TargetNotRunning;
}

Boolean ControlTarget(std::int16_t action) {
    HWND window = nullptr;
    Boolean minimised = False;
    if (GetTargetState(window, minimised) == TargetNotRunning) return False;
    if (action != TargetActionClose && action != TargetActionRestore) return False;
    // ShowWindow and a plain SendMessageA wait on the window's thread for as
    // long as it takes: a hung Quellmar would freeze the starter, icon and
    // all. A window that doesn't answer is left alone.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerBoundMs, &answer)) return False;
    ShowWindow(window, SW_RESTORE);
    SetFocus(window);
    // Quellmar may ask its user whether to save before it closes: that
    // answer gets a minute.
    if (action == TargetActionClose)
        SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kCloseBoundMs, &answer);
    return True;
}
