// A desktop of the window station made for one test, on which programs can
// be started (StartInJob with desktop()). Under Wine every desktop gets
// its own explorer process, which owns the desktop window and the
// notification area ("Shell_TrayWnd") of that desktop.
//
// Windows are enumerated, found under the mouse and given input on the
// desktop of the calling thread, so a test looks at this desktop's windows
// and types into them from a thread attached to it (Run).
#pragma once

#include "harness/Processes.h"
#include "platform/Win32Api.h"

#include <functional>
#include <string>
#include <vector>

namespace e2e {

class PrivateDesktop {
public:
    PrivateDesktop();  // a fresh desktop with a name no other run uses
    ~PrivateDesktop();
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    explicit operator bool() const { return desktop_ != nullptr; }
    HDESK handle() const { return desktop_; }
    // "WinSta0\<name>", as STARTUPINFO names a desktop.
    std::wstring qualifiedName() const;

    // Runs work on a new thread attached to this desktop and waits for it
    // to end. False when the thread could not be attached or did not end
    // within timeoutMs.
    bool Run(const std::function<void()>& work, DWORD timeoutMs = 120000) const;

    // The top-level windows of this desktop.
    std::vector<HWND> Windows() const;
    // Whether a notification area window ("Shell_TrayWnd") is on it.
    bool HasTaskbar() const;

private:
    std::string name_;
    HDESK desktop_ = nullptr;
};

// Moves the calling thread, which must own no window yet, to desktop.
bool AttachThreadToDesktop(HDESK desktop);

// Leaves the desktop without a notification area, as a desktop is at
// log-on before the shell has started: starts program on it (so that Wine
// starts the desktop's explorer, which joins the job as the program's
// child), waits for the notification area, ends that explorer - a process
// of the job, not the session's own - and waits until the notification
// area has gone. The desktop window stays; no other explorer can take the
// desktop over afterwards. "" when done, else what went wrong.
std::string TakeTaskbarAway(const PrivateDesktop& desktop, ProcessJob& job, const std::wstring& program);

}  // namespace e2e
