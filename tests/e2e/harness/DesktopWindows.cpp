#include "harness/DesktopWindows.h"

#include "harness/Wait.h"

#include <cstdio>

namespace e2e {

std::string WindowText(HWND hwnd) {
    char buffer[4096] = "";
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return std::string();
    return std::string(buffer, copied < sizeof buffer ? copied : sizeof buffer - 1);
}

std::string ClassName(HWND hwnd) {
    char buffer[256] = "";
    int n = GetClassNameA(hwnd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

DWORD ProcessOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

POINT CentreOf(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string Describe(HWND hwnd) {
    RECT r = WindowRect(hwnd);
    char text[512];
    std::snprintf(text, sizeof text, "%p class \"%s\" caption \"%s\" pid %lu %s %ld,%ld-%ldx%ld",
                  static_cast<void*>(hwnd), ClassName(hwnd).c_str(), WindowText(hwnd).c_str(),
                  static_cast<unsigned long>(ProcessOf(hwnd)), IsWindowVisible(hwnd) ? "visible" : "hidden",
                  r.left, r.top, r.right - r.left, r.bottom - r.top);
    return text;
}

namespace {

BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND FindTopLevel(const char* className, const char* caption, DWORD pid, bool visibleOnly) {
    for (HWND hwnd : TopLevelWindows()) {
        if (visibleOnly && !IsWindowVisible(hwnd)) continue;
        if (pid != 0 && ProcessOf(hwnd) != pid) continue;
        if (className && ClassName(hwnd) != className) continue;
        if (caption && WindowText(hwnd) != caption) continue;
        return hwnd;
    }
    return nullptr;
}

HWND WaitForTopLevel(const char* className, const char* caption, DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(className, caption, pid)) != nullptr; }, timeoutMs);
    return found;
}

HWND FindChild(HWND parent, const char* className, const char* text) {
    for (HWND child : ChildWindows(parent)) {
        if (className && ClassName(child) != className) continue;
        if (text && WindowText(child) != text) continue;
        return child;
    }
    return nullptr;
}

std::vector<HWND> VisibleWindowsOf(DWORD pid) {
    std::vector<HWND> seen;
    for (HWND hwnd : TopLevelWindows()) {
        if (ProcessOf(hwnd) != pid || !IsWindowVisible(hwnd)) continue;
        RECT r = WindowRect(hwnd);
        if (r.right > r.left && r.bottom > r.top) seen.push_back(hwnd);
    }
    return seen;
}

}  // namespace e2e
