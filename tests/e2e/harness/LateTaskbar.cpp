#include "harness/LateTaskbar.h"

#include "harness/PrivateDesktop.h"
#include "harness/TaskbarEvents.h"
#include "harness/Wait.h"

namespace e2e {

namespace {

constexpr const char* kTaskbarClass = "Shell_TrayWnd";

bool RegisterTaskbarClass(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kTaskbarClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    return registered;
}

}  // namespace

LateTaskbar::LateTaskbar(HDESK desktop, Answer answer)
    : desktop_(desktop), answer_(answer), realTaskbar_(FindWindowExA(nullptr, nullptr, kTaskbarClass, nullptr)) {}

LateTaskbar::~LateTaskbar() {
    if (thread_) {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        if (WaitForSingleObject(thread_, kDefaultTimeoutMs) != WAIT_OBJECT_0) TerminateThread(thread_, 1);
        CloseHandle(thread_);
    }
    if (ready_) CloseHandle(ready_);
}

bool LateTaskbar::Arrive() {
    if (thread_ || !RegisterTaskbarClass(&LateTaskbar::WindowProc)) return false;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &LateTaskbar::ThreadMain, this, 0, &threadId_);
    if (!thread_ || !ready_) return false;
    WaitForSingleObject(ready_, kDefaultTimeoutMs);
    return window_.load() != nullptr;
}

int LateTaskbar::Requests(DWORD code) const {
    return code < 8 ? requests_[code].load() : 0;
}

DWORD WINAPI LateTaskbar::ThreadMain(void* parameter) {
    auto* self = static_cast<LateTaskbar*>(parameter);
    if (AttachThreadToDesktop(self->desktop_)) {
        HWND window = CreateWindowExA(0, kTaskbarClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), self);
        self->window_.store(window);
        // What a starting shell tells every program of the desktop.
        if (window) PostMessageA(HWND_BROADCAST, TaskbarCreatedMessage(), 0, 0);
    }
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue that the end is posted to
    SetEvent(self->ready_);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    if (HWND window = self->window_.exchange(nullptr)) DestroyWindow(window);
    return 0;
}

LRESULT CALLBACK LateTaskbar::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<LateTaskbar*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_COPYDATA && self)
        return self->OnCopyData(reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT LateTaskbar::OnCopyData(HWND sender, const COPYDATASTRUCT* data) {
    if (!data) return FALSE;
    if (data->dwData < 8) ++requests_[data->dwData];
    lastSender_.store(sender);
    if (answer_ == Answer::Refuse || !realTaskbar_) return FALSE;
    DWORD_PTR result = FALSE;
    if (!SendMessageTimeoutA(realTaskbar_, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                             reinterpret_cast<LPARAM>(data), SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &result))
        return FALSE;
    return static_cast<LRESULT>(result);
}

}  // namespace e2e
