// A notification area that comes up after the programs of a desktop, as
// the shell does at log-on when a program from the Run key is quicker: a
// window of class "Shell_TrayWnd" appears on the desktop and "TaskbarCreated"
// is broadcast to the desktop's top-level windows.
//
// Wine's explorer can't be started again for a desktop whose explorer has
// gone (the desktop window stays behind), so this window stands in for the
// arriving shell: it hands every request that Shell_NotifyIcon sends it on
// to the notification area of the test's own desktop, where the icon then
// shows and is clicked like any other, or refuses the requests. It counts
// the requests by their NIM_ code.
#pragma once

#include "platform/Win32Api.h"

#include <atomic>

namespace e2e {

class LateTaskbar {
public:
    enum class Answer { PassOn, Refuse };

    // Requests are passed on to the notification area of the calling
    // thread's desktop, found here.
    LateTaskbar(HDESK desktop, Answer answer);
    ~LateTaskbar();
    LateTaskbar(const LateTaskbar&) = delete;
    LateTaskbar& operator=(const LateTaskbar&) = delete;

    // Brings the window up on the desktop and broadcasts "TaskbarCreated"
    // there. True when the window is there.
    bool Arrive();

    // How many requests with that code (NIM_ADD, NIM_DELETE, ...) came in,
    // and the window that sent the last one.
    int Requests(DWORD code) const;
    HWND LastSender() const { return lastSender_.load(); }

private:
    static DWORD WINAPI ThreadMain(void* self);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(HWND sender, const COPYDATASTRUCT* data);

    HDESK desktop_;
    Answer answer_;
    HWND realTaskbar_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
    std::atomic<HWND> window_{nullptr};
    std::atomic<HWND> lastSender_{nullptr};
    std::atomic<int> requests_[8] = {};
};

}  // namespace e2e
