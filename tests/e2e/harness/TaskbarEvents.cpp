#include "harness/TaskbarEvents.h"

#include "harness/DesktopWindows.h"

#include <cstring>

namespace e2e {

HWND FindStarterMainWindow(DWORD pid) {
    return FindTopLevel(nullptr, kMainWindowCaption, pid, false);
}

HWND WaitForStarterMainWindow(DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindStarterMainWindow(pid)) != nullptr; }, timeoutMs);
    return found;
}

UINT TaskbarCreatedMessage() {
    return RegisterWindowMessageA("TaskbarCreated");
}

bool DeleteTrayIconOf(HWND owner, UINT id) {
    NOTIFYICONDATAA record;
    std::memset(&record, 0, sizeof record);
    record.cbSize = sizeof record;
    record.hWnd = owner;
    record.uID = id;
    return Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

}  // namespace e2e
