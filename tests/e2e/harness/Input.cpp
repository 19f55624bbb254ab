#include "harness/Input.h"

#include <vector>

namespace e2e {

namespace {

void Send(std::vector<INPUT>& inputs) {
    if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Key(WORD virtualKey, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = virtualKey;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

INPUT UnicodeKey(wchar_t c, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = static_cast<WORD>(c);
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

// Gives the receiving thread time to take one input before the next: a
// menu or dialog handles each key in its own loop round.
void Settle() {
    Sleep(30);
}

}  // namespace

void MoveMouseTo(POINT at) {
    SetCursorPos(at.x, at.y);
    // A relative move of zero still makes the system report a mouse move at
    // the new position, as a real mouse does on arrival.
    std::vector<INPUT> inputs(1);
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    Send(inputs);
    Settle();
}

void ClickAt(POINT at, MouseButton button) {
    MoveMouseTo(at);
    std::vector<INPUT> inputs(2);
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    bool left = button == MouseButton::Left;
    inputs[0].mi.dwFlags = left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
    inputs[1].mi.dwFlags = left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    Send(inputs);
    Settle();
}

bool ClickWindow(HWND hwnd, MouseButton button) {
    RECT r{};
    if (!GetWindowRect(hwnd, &r) || r.right <= r.left || r.bottom <= r.top) return false;
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HWND hit = WindowFromPoint(centre);
    if (hit != hwnd && !IsChild(hwnd, hit)) return false;
    ClickAt(centre, button);
    return true;
}

void PressKey(WORD virtualKey) {
    std::vector<INPUT> inputs{Key(virtualKey, false), Key(virtualKey, true)};
    Send(inputs);
    Settle();
}

void PressKeys(std::initializer_list<WORD> virtualKeys) {
    for (WORD key : virtualKeys) PressKey(key);
}

void TypeText(const std::string& text) {
    if (text.empty()) return;
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    for (wchar_t c : wide) {
        std::vector<INPUT> inputs{UnicodeKey(c, false), UnicodeKey(c, true)};
        Send(inputs);
        Settle();
    }
}

}  // namespace e2e
