#include "harness/Tray.h"

#include "harness/DesktopWindows.h"
#include "harness/Wait.h"

#include <algorithm>

namespace e2e {

namespace {

constexpr const char* kTrayClass = "__winex11_standalone_tray";
constexpr const char* kIconClass = "__winex11_tray_icon";

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

HWND WaitForNewTrayIcon(const std::vector<HWND>& before, DWORD timeoutMs) {
    HWND fresh = nullptr;
    WaitUntil(
        [&] {
            for (HWND icon : TrayIconWindows()) {
                if (std::find(before.begin(), before.end(), icon) == before.end()) {
                    fresh = icon;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return fresh;
}

std::string ReadTrayTooltip(HWND icon, DWORD timeoutMs) {
    RECT r = WindowRect(icon);
    std::string text;
    // A brand-new icon window sometimes misses the first hover under Wine:
    // try a few times before calling the tooltip absent.
    for (int hover = 0; hover < 3 && text.empty(); ++hover) {
        // Arrive from outside the icon, as the tooltip shows on entering it.
        MoveMouseTo(POINT{r.right + 200, r.bottom + 200});
        MoveMouseTo(CentreOf(r));
        WaitUntil(
            [&] {
                for (HWND tip : TopLevelWindows()) {
                    if (!IsWindowVisible(tip) || ClassName(tip) != "tooltips_class32") continue;
                    text = WindowText(tip);
                    if (!text.empty()) return true;
                }
                return false;
            },
            timeoutMs);
    }
    return text;
}

bool ClickTrayIcon(HWND icon, MouseButton button) {
    if (!IsWindow(icon)) return false;
    // The taskbar of Windows stays above the programs' windows; Wine's
    // stand-alone tray is an ordinary window that a program's new window
    // (Quellmar's, at the top left) can cover. Kept on top, the tray is
    // where the user finds it.
    HWND tray = GetAncestor(icon, GA_ROOT);
    if (tray && tray != icon) {
        SetWindowPos(tray, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        POINT centre = CentreOf(WindowRect(icon));
        WaitUntil([&] { return WindowFromPoint(centre) == icon; }, 5000);
    }
    return ClickWindow(icon, button);
}

std::vector<HWND> VisiblePopupMenus(DWORD pid) {
    std::vector<HWND> menus;
    for (HWND hwnd : TopLevelWindows()) {
        if (!IsWindowVisible(hwnd) || ClassName(hwnd) != "#32768") continue;
        if (pid != 0 && ProcessOf(hwnd) != pid) continue;
        menus.push_back(hwnd);
    }
    return menus;
}

HWND WaitForPopupMenu(DWORD pid, DWORD timeoutMs) {
    HWND menu = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> menus = VisiblePopupMenus(pid);
            menu = menus.empty() ? nullptr : menus.front();
            return menu != nullptr;
        },
        timeoutMs);
    return menu;
}

bool WaitForPopupMenusClosed(DWORD pid, DWORD timeoutMs) {
    return WaitUntil([&] { return VisiblePopupMenus(pid).empty(); }, timeoutMs);
}

}  // namespace e2e
