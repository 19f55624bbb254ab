#include "harness/PrivateDesktop.h"

#include "harness/DesktopWindows.h"
#include "harness/JobStart.h"
#include "harness/Wait.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace e2e {

bool AttachThreadToDesktop(HDESK desktop) {
    // The thread gets a handle of its own: Wine closes the handle that a
    // thread was given to SetThreadDesktop when the thread ends.
    HANDLE own = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), desktop, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return false;
    if (SetThreadDesktop(static_cast<HDESK>(own))) return true;
    CloseHandle(own);
    return false;
}

namespace {

struct RunRequest {
    HDESK desktop;
    const std::function<void()>* work;
    bool attached = false;
};

DWORD WINAPI RunOnDesktop(void* parameter) {
    auto* request = static_cast<RunRequest*>(parameter);
    // A new thread owns no window yet, so it may change its desktop.
    request->attached = AttachThreadToDesktop(request->desktop);
    if (request->attached) (*request->work)();
    return 0;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

PrivateDesktop::PrivateDesktop() {
    static LONG counter = 0;
    char name[96];
    std::snprintf(name, sizeof name, "QuellmarTests-%lu-%ld", static_cast<unsigned long>(GetCurrentProcessId()),
                  static_cast<long>(InterlockedIncrement(&counter)));
    name_ = name;
    desktop_ = CreateDesktopA(name_.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
}

PrivateDesktop::~PrivateDesktop() {
    if (desktop_) CloseDesktop(desktop_);
}

std::wstring PrivateDesktop::qualifiedName() const {
    return L"WinSta0\\" + std::wstring(name_.begin(), name_.end());
}

bool PrivateDesktop::Run(const std::function<void()>& work, DWORD timeoutMs) const {
    if (!desktop_) return false;
    RunRequest request{desktop_, &work};
    HANDLE thread = CreateThread(nullptr, 0, RunOnDesktop, &request, 0, nullptr);
    if (!thread) return false;
    bool ended = WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        // The request lives on this stack: the thread must not outlive it.
        TerminateThread(thread, 1);
        WaitForSingleObject(thread, INFINITE);
    }
    CloseHandle(thread);
    return ended && request.attached;
}

std::vector<HWND> PrivateDesktop::Windows() const {
    std::vector<HWND> windows;
    if (desktop_) EnumDesktopWindows(desktop_, Collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool PrivateDesktop::HasTaskbar() const {
    std::vector<HWND> windows = Windows();
    return std::any_of(windows.begin(), windows.end(), [](HWND w) { return ClassName(w) == "Shell_TrayWnd"; });
}

std::string TakeTaskbarAway(const PrivateDesktop& desktop, ProcessJob& job, const std::wstring& program) {
    if (!desktop) return "the desktop could not be made";
    StartedProcess helper = StartInJob(job, L"\"" + program + L"\"", desktop.qualifiedName());
    if (!helper) return "the program that brings the desktop up could not be started";
    if (!WaitUntil([&] { return desktop.HasTaskbar(); })) return "no notification area came up on the desktop";

    DWORD explorer = 0;
    for (DWORD pid : job.ProcessIds()) {
        std::string file = Lower(ProcessImagePath(pid));
        if (file.size() >= 13 && file.compare(file.size() - 13, 13, "\\explorer.exe") == 0) explorer = pid;
    }
    if (explorer == 0) return "the desktop's explorer is not among the test's processes";
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, explorer);
    if (!process) return "the desktop's explorer can't be opened";
    bool ended = TerminateProcess(process, 1) && WaitForSingleObject(process, kDefaultTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    if (!ended) return "the desktop's explorer did not end";
    if (!WaitUntil([&] { return !desktop.HasTaskbar(); })) return "the notification area stayed on the desktop";
    return std::string();
}

}  // namespace e2e
