// Looking at the windows of the desktop from outside, as a user sees them:
// top-level windows by caption, class and owning process, their texts and
// their controls. Texts of other processes' windows are asked for with
// WM_GETTEXT (GetWindowText would give only the caption stored by the
// system, never a control's text).
#pragma once

#include "harness/Wait.h"
#include "platform/Win32Api.h"

#include <string>
#include <vector>

namespace e2e {

std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);
DWORD ProcessOf(HWND hwnd);

// "0x1234 class "X" caption "Y" pid 56 visible 0,0-10x10": for messages of failed checks.
std::string Describe(HWND hwnd);

std::vector<HWND> TopLevelWindows();
std::vector<HWND> ChildWindows(HWND parent);

// The first top-level window that matches every given criterion; a null
// className or caption, or a pid of 0, matches anything.
HWND FindTopLevel(const char* className, const char* caption, DWORD pid = 0, bool visibleOnly = true);
HWND WaitForTopLevel(const char* className, const char* caption, DWORD pid = 0,
                     DWORD timeoutMs = kDefaultTimeoutMs);

// The first child control of that class (and, when given, that text).
HWND FindChild(HWND parent, const char* className, const char* text = nullptr);

// Windows of the process that the user could see: visible, with a size
// other than zero. The starter must never have one outside its menu and
// its message boxes.
std::vector<HWND> VisibleWindowsOf(DWORD pid);

RECT WindowRect(HWND hwnd);
POINT CentreOf(const RECT& r);

}  // namespace e2e
