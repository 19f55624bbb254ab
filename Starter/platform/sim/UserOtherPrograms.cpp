// Windows of other programs (a running Quellmar, say): plain top-level
// windows whose procedure records what they receive.
#include "platform/sim/UserState.h"

using namespace sim::user;

namespace {

constexpr const char* kClassName = "SimOtherProgramWindow";

LRESULT CALLBACK OtherProgramProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    S().received[hwnd].push_back(sim::ReceivedMessage{msg, wParam, lParam});
    Window* w = FindWindowPtr(hwnd);
    if (msg == WM_CLOSE && w && w->refuseClose) return 0;
    if (msg == WM_CLOSE) {
        // The other program destroys its own window: do it as that thread would.
        if (w) w->otherProcess = false;
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

namespace sim {

HWND CreateTopLevelWindow(const std::string& caption, const TopLevelWindowOptions& options) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = OtherProgramProc;
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);  // fails harmlessly when registered already

    const RECT& r = options.rect;
    HWND hwnd = CreateWindowExA(0, kClassName, caption.c_str(), options.style & ~WS_VISIBLE, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    if (!hwnd) return nullptr;
    Window* w = FindWindowPtr(hwnd);
    w->refuseClose = options.refuseClose;
    // From here on the window belongs to the other program: the starter's
    // thread can't take its focus or destroy it, and showing it puts that
    // program in the foreground.
    w->otherProcess = true;
    if (options.showCommand != SW_HIDE) ShowWindow(hwnd, options.showCommand);
    return hwnd;
}

std::vector<ReceivedMessage> MessagesReceived(HWND hwnd) {
    auto found = user::S().received.find(hwnd);
    return found == user::S().received.end() ? std::vector<ReceivedMessage>{} : found->second;
}

}  // namespace sim
