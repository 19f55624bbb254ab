// Messages: sent ones call the window procedure at once (and may nest),
// posted ones wait in the thread's queue for GetMessageA / PeekMessageA and
// DispatchMessageA; DefWindowProcA does Windows' default handling of the
// messages the starter relies on; registered message numbers.
#include "platform/sim/UserState.h"

#include <algorithm>
#include <cstring>

using namespace sim::user;

namespace {

bool Matches(const MSG& msg, HWND filter, UINT first, UINT last) {
    if (filter == reinterpret_cast<HWND>(-1)) {
        if (msg.hwnd) return false;  // thread messages only
    } else if (filter) {
        // a child's messages belong to its ancestors' filters too
        bool mine = msg.hwnd == filter;
        for (Window* w = FindWindowPtr(msg.hwnd); !mine && w && (w->style & WS_CHILD); w = FindWindowPtr(w->parent))
            mine = w->parent == filter;
        if (!mine) return false;
    }
    if (first == 0 && last == 0) return true;
    return msg.message >= first && msg.message <= last;
}

// Takes (or only reads) the first matching message; WM_QUIT comes only when
// no posted message is left.
bool Retrieve(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
    State& s = S();
    auto found = std::find_if(s.queue.begin(), s.queue.end(),
                              [&](const MSG& m) { return Matches(m, filter, first, last); });
    if (found != s.queue.end()) {
        *out = *found;
        if (remove) s.queue.erase(found);
        return true;
    }
    if (s.quitPosted) {
        *out = MSG{};
        out->message = WM_QUIT;
        out->wParam = static_cast<WPARAM>(s.quitCode);
        out->pt = s.cursor;
        out->time = s.tick;
        if (remove) s.quitPosted = false;
        return true;
    }
    return false;
}

}  // namespace

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc) return 0;
    return proc(hwnd, msg, wParam, lParam);
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!CheckWindow(hwnd)) return 0;
    return Deliver(hwnd, msg, wParam, lParam);
}

LRESULT WINAPI SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT, UINT, DWORD_PTR* result) {
    if (!CheckWindow(hwnd)) return 0;
    const LRESULT answer = Deliver(hwnd, msg, wParam, lParam);
    if (result) *result = static_cast<DWORD_PTR>(answer);
    return 1;
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !CheckWindow(hwnd)) return FALSE;
    State& s = S();
    MSG posted{};
    posted.hwnd = hwnd;
    posted.message = msg;
    posted.wParam = wParam;
    posted.lParam = lParam;
    posted.time = ++s.tick;
    posted.pt = s.cursor;
    s.queue.push_back(posted);
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    S().quitPosted = true;
    S().quitCode = exitCode;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT remove) {
    if (!msg) return FALSE;
    if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !CheckWindow(hwnd)) return FALSE;
    return Retrieve(msg, hwnd, first, last, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last) {
    if (!msg) return -1;
    if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !CheckWindow(hwnd)) return -1;
    if (!Retrieve(msg, hwnd, first, last, true)) {
        // The real call would wait for the user. The test's idle hook plays
        // the user; without one, or when it did nothing, waiting would never
        // end.
        if (S().idleHook) {
            std::function<void()> hook = S().idleHook;
            hook();
        }
        if (!Retrieve(msg, hwnd, first, last, true))
            throw sim::UnscriptedInteraction("GetMessageA would wait for ever: the queue is empty and the idle hook "
                                             "posted nothing");
    }
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    // Only key messages are translated (into WM_CHAR, which nothing here uses).
    return msg && msg->message >= 0x0100 && msg->message <= 0x0105 ? TRUE : FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg || !msg->hwnd) return 0;
    if (!CheckWindow(msg->hwnd)) return 0;
    return Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowPtr(hwnd);
    if (!w) return 0;
    switch (msg) {
    case WM_NCCREATE: {
        // The caption is set here: a window whose procedure doesn't pass
        // WM_NCCREATE on has no text.
        const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create && create->lpszName && !IS_INTRESOURCE(create->lpszName)) w->text = create->lpszName;
        return TRUE;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SETTEXT:
        w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam) return 0;
        char* buffer = reinterpret_cast<char*>(lParam);
        const std::size_t n = std::min(w->text.size(), static_cast<std::size_t>(wParam) - 1);
        std::memcpy(buffer, w->text.data(), n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_ACTIVATE:
        // An activated window that isn't minimised takes the focus.
        if (LOWORD(wParam) != WA_INACTIVE && !(w->style & WS_MINIMIZE)) SetFocus(hwnd);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    default:
        return 0;
    }
}

UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    State& s = S();
    const std::string key = Lower(name);
    auto found = s.registeredMessages.find(key);
    if (found != s.registeredMessages.end()) return found->second;
    const UINT number = s.nextAtom++;
    s.registeredMessages[key] = number;
    return number;
}

namespace sim {

std::size_t PendingMessageCount() {
    return user::S().queue.size();
}

int DispatchPendingMessages() {
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++count;
    }
    return count;
}

void SetIdleHook(std::function<void()> hook) {
    user::S().idleHook = std::move(hook);
}

}  // namespace sim
