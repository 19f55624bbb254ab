#include "platform/sim/UserState.h"

#include <algorithm>
#include <cctype>

namespace sim::user {

State& S() {
    static State state;
    return state;
}

std::uintptr_t NewHandleValue() {
    // Handle values are never reused, not even across resets, so a handle
    // kept from an earlier test is no window and no menu in a later one.
    static std::uintptr_t next = 0x10020;
    next += 0x10;
    return next;
}

std::string Lower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

Window* FindWindowPtr(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto found = S().windows.find(hwnd);
    return found == S().windows.end() ? nullptr : found->second.get();
}

Window* CheckWindow(HWND hwnd) {
    Window* window = FindWindowPtr(hwnd);
    if (!window) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

Menu* FindMenuPtr(HMENU menu) {
    if (!menu) return nullptr;
    auto found = S().menus.find(menu);
    return found == S().menus.end() ? nullptr : &found->second;
}

Menu* CheckMenu(HMENU menu) {
    Menu* found = FindMenuPtr(menu);
    if (!found) SetLastError(ERROR_INVALID_MENU_HANDLE);
    return found;
}

HWND TopLevelOf(HWND hwnd) {
    Window* window = FindWindowPtr(hwnd);
    while (window && window->parent && (window->style & WS_CHILD)) {
        Window* parent = FindWindowPtr(window->parent);
        if (!parent) break;
        hwnd = window->parent;
        window = parent;
    }
    return hwnd;
}

LRESULT Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowPtr(hwnd);
    if (!window) return 0;
    WNDPROC proc = reinterpret_cast<WNDPROC>(window->proc);
    if (!proc) return 0;
    return proc(hwnd, msg, wParam, lParam);
}

void PumpModalLoop() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) return;
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (S().endMenuRequested) return;
    }
}

void Activate(HWND hwnd) {
    State& s = S();
    hwnd = TopLevelOf(hwnd);
    Window* target = FindWindowPtr(hwnd);
    s.foreground = hwnd;
    // The window comes to the top of the Z order.
    if (target && !target->parent) {
        auto at = std::find(s.zOrder.begin(), s.zOrder.end(), hwnd);
        if (at != s.zOrder.end()) {
            s.zOrder.erase(at);
            s.zOrder.insert(s.zOrder.begin(), hwnd);
        }
    }
    HWND newActive = target && !target->otherProcess ? hwnd : nullptr;
    HWND oldActive = s.active;
    if (newActive == oldActive) return;
    s.active = newActive;
    if (oldActive) Deliver(oldActive, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(newActive));
    if (newActive) {
        Deliver(newActive, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(oldActive));
    } else if (s.focus) {
        // Another program is in the foreground: this thread loses the focus.
        HWND old = s.focus;
        s.focus = nullptr;
        Deliver(old, WM_KILLFOCUS, 0, 0);
    }
}

void Deactivate(HWND hwnd) {
    State& s = S();
    if (s.focus && (s.focus == hwnd || TopLevelOf(s.focus) == hwnd)) {
        HWND old = s.focus;
        s.focus = nullptr;
        Deliver(old, WM_KILLFOCUS, 0, 0);
    }
    if (s.active == hwnd) {
        s.active = nullptr;
        Deliver(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
    }
    if (s.foreground == hwnd) s.foreground = nullptr;
}

void PurgeQueue(HWND hwnd) {
    std::deque<MSG>& queue = S().queue;
    queue.erase(std::remove_if(queue.begin(), queue.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }),
                queue.end());
}

void DestroyMenuTree(HMENU menu) {
    Menu* found = FindMenuPtr(menu);
    if (!found) return;
    std::vector<HMENU> submenus;
    for (const MenuItem& item : found->items)
        if (item.type & MF_POPUP) submenus.push_back(item.submenu);
    S().menus.erase(menu);
    for (auto& entry : S().windows) {
        Window& w = *entry.second;
        if (w.menu == menu && !(w.style & WS_CHILD)) w.menu = nullptr;
    }
    for (HMENU sub : submenus) DestroyMenuTree(sub);
}

}  // namespace sim::user

namespace sim {

void ResetUser() {
    user::State& s = user::S();
    s = user::State{};
}

}  // namespace sim
