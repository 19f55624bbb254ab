// What the taskbar does to a program's tray icon, done from outside: a
// taskbar that restarts has lost every icon, and announces itself with the
// registered message "TaskbarCreated" to every top-level window; a program
// that wants its icon back adds it again on that message.
#pragma once

#include "harness/Wait.h"
#include "platform/Win32Api.h"

namespace e2e {

inline constexpr const char* kMainWindowCaption = "Quellmar Starter v1.0";

// The starter's main window: the top-level window of its process with that
// caption, hidden for the whole run. Null when there is none (yet).
HWND FindStarterMainWindow(DWORD pid);
HWND WaitForStarterMainWindow(DWORD pid, DWORD timeoutMs = kDefaultTimeoutMs);

// The number of the registered message "TaskbarCreated".
UINT TaskbarCreatedMessage();

// Takes the icon (owner, id) out of the notification area, as the
// notification area itself loses it. True when the notification area
// removed it.
bool DeleteTrayIconOf(HWND owner, UINT id);

}  // namespace e2e
