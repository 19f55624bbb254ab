// Window classes, window creation and destruction, the window's slots
// (procedure, user data, extra bytes, styles) and its text.
#include "platform/sim/UserState.h"

#include <algorithm>
#include <cstring>
#include <iterator>

using namespace sim::user;

namespace {

// Where an overlapped window with CW_USEDEFAULT goes.
constexpr RECT kDefaultRect{26, 26, 26 + 960, 26 + 720};

WindowClass* FindClass(LPCSTR name) {
    if (!name) return nullptr;
    if (IS_INTRESOURCE(name)) {
        const ATOM atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
        for (auto& entry : S().classes)
            if (entry.second.atom == atom) return &entry.second;
        return nullptr;
    }
    auto found = S().classes.find(Lower(name));
    return found == S().classes.end() ? nullptr : &found->second;
}

void SendDestroy(HWND hwnd) {
    Deliver(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    for (auto& entry : S().windows)
        if (entry.second->parent == hwnd && (entry.second->style & WS_CHILD)) children.push_back(entry.first);
    for (HWND child : children) {
        if (Window* w = FindWindowPtr(child)) w->destroying = true;
        SendDestroy(child);
    }
}

// The end of a window: its children first, then WM_NCDESTROY, then the
// handle is gone, with its menu and its queued messages.
void FinishDestroy(HWND hwnd) {
    std::vector<HWND> children;
    for (auto& entry : S().windows)
        if (entry.second->parent == hwnd && (entry.second->style & WS_CHILD)) children.push_back(entry.first);
    for (HWND child : children) FinishDestroy(child);

    Deliver(hwnd, WM_NCDESTROY, 0, 0);
    Window* window = FindWindowPtr(hwnd);
    if (!window) return;
    State& s = S();
    if (window->menu && !(window->style & WS_CHILD)) DestroyMenuTree(window->menu);
    if (s.focus == hwnd) s.focus = nullptr;
    if (s.active == hwnd) s.active = nullptr;
    if (s.foreground == hwnd) s.foreground = nullptr;
    s.zOrder.erase(std::remove(s.zOrder.begin(), s.zOrder.end(), hwnd), s.zOrder.end());
    PurgeQueue(hwnd);
    for (auto timer = s.timers.begin(); timer != s.timers.end();)
        timer = timer->first.first == hwnd ? s.timers.erase(timer) : std::next(timer);
    s.windows.erase(hwnd);
}

}  // namespace

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) ||
        wc->cbWndExtra < 0 || wc->cbClsExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(wc->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass cls;
    cls.name = wc->lpszClassName;
    cls.style = wc->style;
    cls.proc = wc->lpfnWndProc;
    cls.cbWndExtra = wc->cbWndExtra;
    cls.instance = wc->hInstance;
    cls.atom = S().nextAtom++;
    S().classes[Lower(cls.name)] = cls;
    return cls.atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE) {
    WindowClass* cls = FindClass(name);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    for (auto& entry : S().windows)
        if (Lower(entry.second->className) == Lower(cls->name)) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
    S().classes.erase(Lower(cls->name));
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    WindowClass* cls = FindClass(className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    const bool messageOnly = parent == HWND_MESSAGE;
    if (messageOnly) parent = nullptr;
    if (parent && !CheckWindow(parent)) return nullptr;
    if ((style & WS_CHILD) && !parent && !messageOnly) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (menu && !(style & WS_CHILD) && !CheckMenu(menu)) return nullptr;

    auto window = std::make_unique<Window>();
    HWND hwnd = reinterpret_cast<HWND>(NewHandleValue());
    window->handle = hwnd;
    window->className = cls->name;
    window->proc = reinterpret_cast<LONG_PTR>(cls->proc);
    window->extra.assign(static_cast<std::size_t>(cls->cbWndExtra), 0);
    // An overlapped top-level window always has a caption.
    if (!(style & (WS_POPUP | WS_CHILD))) style |= WS_CAPTION | WS_CLIPSIBLINGS;
    window->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    window->exStyle = exStyle;
    window->parent = parent;
    window->messageOnly = messageOnly;
    window->instance = instance;
    if (!(style & WS_CHILD)) window->menu = menu;

    const bool overlapped = !(style & (WS_POPUP | WS_CHILD));
    if (x == CW_USEDEFAULT) {
        x = overlapped ? kDefaultRect.left : 0;
        y = overlapped ? kDefaultRect.top : 0;
    }
    if (width == CW_USEDEFAULT) {
        width = overlapped ? kDefaultRect.right - kDefaultRect.left : 0;
        height = overlapped ? kDefaultRect.bottom - kDefaultRect.top : 0;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    window->rect = RECT{x, y, x + width, y + height};
    window->normalRect = window->rect;

    State& s = S();
    s.windows[hwnd] = std::move(window);
    if (!parent && !messageOnly) s.zOrder.insert(s.zOrder.begin(), hwnd);

    CREATESTRUCTA create{};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cy = height;
    create.cx = width;
    create.y = y;
    create.x = x;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;

    if (!Deliver(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        if (FindWindowPtr(hwnd)) FinishDestroy(hwnd);
        return nullptr;
    }
    if (!FindWindowPtr(hwnd)) return nullptr;
    if (Deliver(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        // A refused WM_CREATE ends the window with WM_NCDESTROY alone.
        if (FindWindowPtr(hwnd)) FinishDestroy(hwnd);
        return nullptr;
    }
    if (!FindWindowPtr(hwnd)) return nullptr;
    if (style & WS_VISIBLE) {
        if (style & WS_MINIMIZE)
            ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
        else if (style & WS_MAXIMIZE)
            ShowWindow(hwnd, SW_SHOWMAXIMIZED);
        else
            ShowWindow(hwnd, SW_SHOW);
    }
    return FindWindowPtr(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    Window* window = CheckWindow(hwnd);
    if (!window) return FALSE;
    if (window->otherProcess) {
        // Another thread's window can't be destroyed from here.
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (window->destroying) return TRUE;
    window->destroying = true;
    // A destroyed window disappears from the screen first, without
    // WM_SHOWWINDOW; it takes activation and focus with it.
    window->style &= ~WS_VISIBLE;
    Deactivate(hwnd);
    SendDestroy(hwnd);
    if (FindWindowPtr(hwnd)) FinishDestroy(hwnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) {
    return FindWindowPtr(hwnd) ? TRUE : FALSE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
    Window* window = CheckWindow(hwnd);
    if (!window) return 0;
    if (index >= 0) {
        if (static_cast<std::size_t>(index) + sizeof(LONG_PTR) > window->extra.size()) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        LONG_PTR value;
        std::memcpy(&value, window->extra.data() + index, sizeof value);
        return value;
    }
    switch (index) {
    case GWLP_WNDPROC: return window->proc;
    case GWLP_USERDATA: return window->userData;
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    Window* window = CheckWindow(hwnd);
    if (!window) return 0;
    // As on Windows, success leaves the last error alone: a previous value
    // of 0 can only be told from a failure by clearing the error first.
    if (index >= 0) {
        if (static_cast<std::size_t>(index) + sizeof(LONG_PTR) > window->extra.size()) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        LONG_PTR old;
        std::memcpy(&old, window->extra.data() + index, sizeof old);
        std::memcpy(window->extra.data() + index, &value, sizeof value);
        return old;
    }
    LONG_PTR old = 0;
    switch (index) {
    case GWLP_WNDPROC:
        if (window->otherProcess) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
        old = window->proc;
        window->proc = value;
        return old;
    case GWLP_USERDATA:
        old = window->userData;
        window->userData = value;
        return old;
    case GWL_STYLE:
        old = static_cast<LONG>(window->style);
        window->style = static_cast<DWORD>(value);
        return old;
    case GWL_EXSTYLE:
        old = static_cast<LONG>(window->exStyle);
        window->exStyle = static_cast<DWORD>(value);
        return old;
    case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(window->instance);
        window->instance = reinterpret_cast<HINSTANCE>(value);
        return old;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int maxCount) {
    Window* window = CheckWindow(hwnd);
    if (!window || !buffer || maxCount <= 0) return 0;
    buffer[0] = '\0';
    if (window->otherProcess) {
        // Another program's window: its text is read without a message.
        const std::size_t n = std::min(window->text.size(), static_cast<std::size_t>(maxCount - 1));
        std::memcpy(buffer, window->text.data(), n);
        buffer[n] = '\0';
        return static_cast<int>(n);
    }
    return static_cast<int>(Deliver(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!CheckWindow(hwnd)) return FALSE;
    return static_cast<BOOL>(Deliver(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    // Top-level windows, hidden ones included, top of the Z order first; the
    // class name and the caption are both compared without regard to case.
    for (HWND hwnd : S().zOrder) {
        Window* window = FindWindowPtr(hwnd);
        if (!window) continue;
        if (className && Lower(window->className) != Lower(className)) continue;
        if (windowName && Lower(window->text) != Lower(windowName)) continue;
        return hwnd;
    }
    return nullptr;
}

namespace sim {

std::vector<HWND> Windows() {
    std::vector<HWND> all;
    for (HWND hwnd : user::S().zOrder) all.push_back(hwnd);
    for (auto& entry : user::S().windows)
        if (std::find(all.begin(), all.end(), entry.first) == all.end()) all.push_back(entry.first);
    return all;
}

std::vector<HWND> TopLevelWindows() {
    return user::S().zOrder;
}

std::size_t WindowCount() {
    return user::S().windows.size();
}

bool ReadWindow(HWND hwnd, WindowState& state) {
    user::Window* window = user::FindWindowPtr(hwnd);
    if (!window) return false;
    state.hwnd = hwnd;
    state.parent = window->parent;
    state.className = window->className;
    state.caption = window->text;
    state.style = window->style;
    state.exStyle = window->exStyle;
    state.rect = window->rect;
    state.menu = window->menu;
    state.visible = (window->style & WS_VISIBLE) != 0;
    state.enabled = (window->style & WS_DISABLED) == 0;
    state.minimized = (window->style & WS_MINIMIZE) != 0;
    state.maximized = (window->style & WS_MAXIMIZE) != 0;
    state.otherProcess = window->otherProcess;
    return true;
}

std::string WindowCaption(HWND hwnd) {
    user::Window* window = user::FindWindowPtr(hwnd);
    return window ? window->text : std::string();
}

}  // namespace sim
