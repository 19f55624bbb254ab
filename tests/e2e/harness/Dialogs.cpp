#include "harness/Dialogs.h"

#include "harness/DesktopWindows.h"
#include "harness/Input.h"
#include "harness/Wait.h"

namespace e2e {

namespace {

std::string WithoutMarkers(const std::string& caption) {
    std::string plain;
    for (std::string::size_type i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" stands for one "&"
        plain += caption[i];
    }
    return plain;
}

}  // namespace

HWND FindDialog(const char* caption, DWORD pid) {
    return FindTopLevel("#32770", caption, pid);
}

HWND WaitForDialog(const char* caption, DWORD pid, DWORD timeoutMs) {
    return WaitForTopLevel("#32770", caption, pid, timeoutMs);
}

std::string DialogMessage(HWND dialog) {
    std::string message;
    for (HWND child : ChildWindows(dialog)) {
        if (ClassName(child) != "Static") continue;
        std::string text = WindowText(child);
        if (text.empty()) continue;
        if (!message.empty()) message += "\n";
        message += text;
    }
    return message;
}

std::vector<std::string> DialogButtons(HWND dialog) {
    std::vector<std::string> buttons;
    for (HWND child : ChildWindows(dialog)) {
        if (ClassName(child) == "Button" && IsWindowVisible(child)) buttons.push_back(WithoutMarkers(WindowText(child)));
    }
    return buttons;
}

bool PressDialogButton(HWND dialog, const std::string& caption, DWORD timeoutMs) {
    for (HWND child : ChildWindows(dialog)) {
        if (ClassName(child) != "Button" || !IsWindowVisible(child)) continue;
        if (WithoutMarkers(WindowText(child)) != WithoutMarkers(caption)) continue;
        if (!ClickWindow(child)) return false;
        return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
    }
    return false;
}

bool FillEditField(HWND dialog, const std::string& text) {
    HWND edit = FindChild(dialog, "Edit");
    if (!edit || !ClickWindow(edit)) return false;
    SendMessageA(edit, EM_SETSEL, 0, -1);
    if (text.empty()) {
        PressKey(VK_DELETE);
    } else {
        TypeText(text);
    }
    return WaitUntil([&] { return WindowText(edit) == text; }, 5000);
}

}  // namespace e2e
