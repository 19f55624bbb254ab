// The notification area and popup menus as the probe watches them under
// Wine on a display without a tray of its own: Wine's explorer shows every
// icon as a child window of class "__winex11_tray_icon" in a top-level
// window of class "__winex11_standalone_tray". The icon windows belong to
// explorer, not to the program that added the icon, so a program's icon
// is told by its arrival: the one that was not there before its start.
//
// A popup menu is a top-level window of class "#32768" of the process that
// opened it; it counts as shown once it is visible.
#pragma once

#include <windows.h>

#include <vector>

namespace bench {

std::vector<HWND> TrayIconWindows();

// An icon window that is not among before; null when there is none (yet).
HWND NewTrayIcon(const std::vector<HWND>& before);

// A visible popup menu window of the process; null when there is none.
HWND VisibleMenuOf(DWORD pid);

// Moves the mouse over the centre of the window, checking that the window
// is what lies under that point; false, without moving, when it is not.
bool PointAt(HWND hwnd);

// A click of the left button where the mouse is: press and release, as one
// input, the way the user's click reaches the system.
void ClickLeft();

// Esc, to the foreground window (the open menu's owner).
void PressEscape();

}  // namespace bench
