#include "core/TargetApp.h"

#include "platform/AppRuntime.h"

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

}  // namespace

std::string GetTargetPath() {
    return platform::AppDirectory() + "Quellmar.exe";
}

bool TargetFilePresent(const std::string& targetPath) {
    return !targetPath.empty() && targetPath.back() != '\\' && platform::FileExistsNormal(targetPath);
}

void StartTarget(const std::string& targetPath, const std::string& modeSwitch) {
    if (!platform::StartProcess("\"" + targetPath + "\"" + modeSwitch, SW_SHOWNORMAL))
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
    switch (action) {
    case TargetActionClose:
        ShowWindow(window, SW_RESTORE);
        SetFocus(window);
        // Synchronous: returns once Quellmar has handled WM_CLOSE.
        SendMessageA(window, WM_CLOSE, 0, 0);
        return True;
    case TargetActionRestore:
        ShowWindow(window, SW_RESTORE);
        SetFocus(window);
        return True;
    default:
        return False;
    }
}
