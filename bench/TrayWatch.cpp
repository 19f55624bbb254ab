#include "TrayWatch.h"

#include <algorithm>

namespace bench {

namespace {

constexpr const char* kTrayClass = "__winex11_standalone_tray";
constexpr const char* kIconClass = "__winex11_tray_icon";
constexpr const char* kMenuClass = "#32768";

void Send(INPUT* inputs, UINT count) {
    SendInput(count, inputs, sizeof(INPUT));
}

}  // namespace

std::vector<HWND> TrayIconWindows() {
    std::vector<HWND> icons;
    for (HWND tray = FindWindowExA(nullptr, nullptr, kTrayClass, nullptr); tray;
         tray = FindWindowExA(nullptr, tray, kTrayClass, nullptr)) {
        for (HWND icon = FindWindowExA(tray, nullptr, kIconClass, nullptr); icon;
             icon = FindWindowExA(tray, icon, kIconClass, nullptr)) {
            if (IsWindowVisible(icon)) icons.push_back(icon);
        }
    }
    return icons;
}

HWND NewTrayIcon(const std::vector<HWND>& before) {
    for (HWND icon : TrayIconWindows()) {
        if (std::find(before.begin(), before.end(), icon) == before.end()) return icon;
    }
    return nullptr;
}

HWND VisibleMenuOf(DWORD pid) {
    for (HWND menu = FindWindowExA(nullptr, nullptr, kMenuClass, nullptr); menu;
         menu = FindWindowExA(nullptr, menu, kMenuClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(menu, &owner);
        if (owner == pid && IsWindowVisible(menu)) return menu;
    }
    return nullptr;
}

bool PointAt(HWND hwnd) {
    RECT r{};
    if (!GetWindowRect(hwnd, &r) || r.right <= r.left || r.bottom <= r.top) return false;
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const HWND hit = WindowFromPoint(centre);
    if (hit != hwnd && !IsChild(hwnd, hit)) return false;
    SetCursorPos(centre.x, centre.y);
    // A relative move of zero makes the system report the arrival there,
    // as a real mouse does.
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    Send(&move, 1);
    return true;
}

void ClickLeft() {
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Send(click, 2);
}

void PressEscape() {
    INPUT key[2]{};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = VK_ESCAPE;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    Send(key, 2);
}

}  // namespace bench
