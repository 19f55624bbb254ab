// What a window looks like on the desktop: shown or hidden, minimised,
// maximised or normal, enabled, its place and size and Z order, and which
// window has the activation and the keyboard focus.
#include "platform/sim/UserState.h"

#include <algorithm>

using namespace sim::user;

namespace {

// Windows parks minimised windows far off the screen.
constexpr RECT kMinimizedRect{-32000, -32000, -32000 + 160, -32000 + 28};

LPARAM SizeParam(const RECT& r) {
    return MAKELPARAM(r.right - r.left, r.bottom - r.top);
}

enum class Placement { Keep, Restore, Minimize, Maximize };

struct ShowCommand {
    Placement placement;
    bool activate;
};

bool Decode(int command, ShowCommand& decoded) {
    switch (command) {
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: decoded = {Placement::Restore, true}; return true;
    case SW_SHOWMINIMIZED: decoded = {Placement::Minimize, true}; return true;
    case SW_SHOWMAXIMIZED: decoded = {Placement::Maximize, true}; return true;
    case SW_SHOWNOACTIVATE: decoded = {Placement::Restore, false}; return true;
    case SW_SHOW: decoded = {Placement::Keep, true}; return true;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case 11:  // SW_FORCEMINIMIZE
        decoded = {Placement::Minimize, false};
        return true;
    case SW_SHOWNA: decoded = {Placement::Keep, false}; return true;
    default: return false;
    }
}

// Moves a window into its new placement and tells it with WM_SIZE.
void Place(HWND hwnd, Placement placement) {
    Window* w = FindWindowPtr(hwnd);
    if (!w || placement == Placement::Keep) return;
    const bool minimized = (w->style & WS_MINIMIZE) != 0;
    const bool maximized = (w->style & WS_MAXIMIZE) != 0;
    if (placement == Placement::Restore) {
        if (minimized && w->restoreToMaximized) placement = Placement::Maximize;
        else if (!minimized && !maximized) return;
    }
    switch (placement) {
    case Placement::Minimize:
        if (minimized) return;
        if (!maximized) w->normalRect = w->rect;
        w->restoreToMaximized = maximized;
        w->style = (w->style & ~WS_MAXIMIZE) | WS_MINIMIZE;
        w->rect = kMinimizedRect;
        Deliver(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    case Placement::Maximize:
        if (maximized) return;
        if (!minimized) w->normalRect = w->rect;
        w->restoreToMaximized = false;
        w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
        w->rect = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        Deliver(hwnd, WM_SIZE, SIZE_MAXIMIZED, SizeParam(w->rect));
        break;
    case Placement::Restore:
        w->restoreToMaximized = false;
        w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        w->rect = w->normalRect;
        Deliver(hwnd, WM_SIZE, SIZE_RESTORED, SizeParam(w->rect));
        break;
    case Placement::Keep: break;
    }
}

bool IsTopLevel(const Window& w) {
    return !(w.style & WS_CHILD) && !w.messageOnly;
}

}  // namespace

BOOL WINAPI ShowWindow(HWND hwnd, int command) {
    Window* w = CheckWindow(hwnd);
    if (!w) return FALSE;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if (command == SW_HIDE) {
        if (!wasVisible) return FALSE;
        Deliver(hwnd, WM_SHOWWINDOW, FALSE, 0);
        if (Window* again = FindWindowPtr(hwnd)) {
            again->style &= ~WS_VISIBLE;
            Deactivate(hwnd);
        }
        return TRUE;
    }
    ShowCommand decoded{};
    if (!Decode(command, decoded)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!wasVisible) Deliver(hwnd, WM_SHOWWINDOW, TRUE, 0);
    Place(hwnd, decoded.placement);
    w = FindWindowPtr(hwnd);
    if (!w) return wasVisible ? TRUE : FALSE;
    w->style |= WS_VISIBLE;
    if (w->style & WS_MINIMIZE) {
        // A minimised window gives up the focus; the activation goes too
        // unless the command asked to activate it.
        if (decoded.activate && IsTopLevel(*w)) Activate(hwnd);
        else Deactivate(hwnd);
        State& s = S();
        if (s.focus && TopLevelOf(s.focus) == hwnd) SetFocus(nullptr);
    } else if (decoded.activate && IsTopLevel(*w)) {
        Activate(hwnd);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI IsIconic(HWND hwnd) {
    Window* w = FindWindowPtr(hwnd);
    return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL WINAPI IsZoomed(HWND hwnd) {
    Window* w = FindWindowPtr(hwnd);
    return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
    for (Window* w = FindWindowPtr(hwnd); w; w = (w->style & WS_CHILD) ? FindWindowPtr(w->parent) : nullptr) {
        if (!(w->style & WS_VISIBLE)) return FALSE;
    }
    return FindWindowPtr(hwnd) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    Window* w = FindWindowPtr(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = CheckWindow(hwnd);
    if (!w) return FALSE;
    const bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        Deliver(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        Deliver(hwnd, WM_CANCELMODE, 0, 0);
        if (Window* again = FindWindowPtr(hwnd)) {
            again->style |= WS_DISABLED;
            State& s = S();
            if (s.focus == hwnd) SetFocus(nullptr);
            Deliver(hwnd, WM_ENABLE, FALSE, 0);
        }
    }
    return wasDisabled ? TRUE : FALSE;
}

HWND WINAPI SetFocus(HWND hwnd) {
    State& s = S();
    HWND previous = s.focus;
    if (!hwnd) {
        if (previous) {
            s.focus = nullptr;
            Deliver(previous, WM_KILLFOCUS, 0, 0);
        }
        return previous;
    }
    Window* w = CheckWindow(hwnd);
    if (!w) return nullptr;
    // Only a window of this thread can take this thread's focus: another
    // program's window is out of reach.
    if (w->otherProcess) return nullptr;
    if (hwnd == previous) return previous;
    for (Window* up = w; up; up = (up->style & WS_CHILD) ? FindWindowPtr(up->parent) : nullptr)
        if (up->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
    const HWND top = TopLevelOf(hwnd);
    if (s.active != top) {
        // Activation comes first, and the activated window's default
        // handling gives it the focus already: what was focused before the
        // final step is what the call reports.
        Activate(top);
        if (!FindWindowPtr(hwnd) || s.active != top) return nullptr;
        previous = s.focus;
    }
    if (s.focus != hwnd) {
        const HWND lost = s.focus;
        s.focus = hwnd;
        if (lost) Deliver(lost, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
        Deliver(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(lost), 0);
    }
    return previous;
}

HWND WINAPI GetFocus() {
    return S().focus;
}

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
    if (!CheckWindow(hwnd)) return FALSE;
    Activate(hwnd);
    return TRUE;
}

HWND WINAPI GetForegroundWindow() {
    return S().foreground;
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = CheckWindow(hwnd);
    if (!w) return FALSE;
    const RECT old = w->rect;
    RECT moved = old;
    if (!(flags & SWP_NOMOVE)) moved = RECT{x, y, x + (old.right - old.left), y + (old.bottom - old.top)};
    if (!(flags & SWP_NOSIZE)) {
        moved.right = moved.left + std::max(cx, 0);
        moved.bottom = moved.top + std::max(cy, 0);
    }
    w->rect = moved;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normalRect = moved;

    State& s = S();
    if (!(flags & SWP_NOZORDER) && IsTopLevel(*w)) {
        std::vector<HWND>& z = s.zOrder;
        z.erase(std::remove(z.begin(), z.end(), hwnd), z.end());
        auto after = std::find(z.begin(), z.end(), insertAfter);
        if (insertAfter == HWND_BOTTOM) z.push_back(hwnd);
        else if (insertAfter == HWND_TOP || after == z.end()) z.insert(z.begin(), hwnd);
        else z.insert(after + 1, hwnd);
    }
    if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) {
        w->style &= ~WS_VISIBLE;
        Deactivate(hwnd);
    }
    const bool sized = (moved.right - moved.left) != (old.right - old.left) ||
                       (moved.bottom - moved.top) != (old.bottom - old.top);
    const bool movedPlace = moved.left != old.left || moved.top != old.top;
    if (movedPlace) Deliver(hwnd, WM_MOVE, 0, MAKELPARAM(moved.left, moved.top));
    if (sized) Deliver(hwnd, WM_SIZE, SIZE_RESTORED, SizeParam(moved));
    w = FindWindowPtr(hwnd);
    if (w && !(flags & SWP_NOACTIVATE) && (w->style & WS_VISIBLE) && IsTopLevel(*w)) Activate(hwnd);
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    Window* w = CheckWindow(hwnd);
    if (!w) return FALSE;
    if (!rect) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    *rect = w->rect;
    return TRUE;
}
