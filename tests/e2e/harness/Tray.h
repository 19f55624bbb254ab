// The notification area as Wine shows it on a display without a tray of
// its own (the tests' Xvfb): a top-level window "Wine System Tray" of class
// "__winex11_standalone_tray", with one child window of class
// "__winex11_tray_icon" per icon, 20x20 pixels, in a row from the left.
// The icon windows belong to Wine's explorer.exe, not to the program that
// added the icon, so a test tells its program's icon by its arrival: the
// icon windows before the start are remembered, and the new one is the
// program's. Each icon window keeps its handle for the icon's life and
// goes away when the icon is deleted, or when its program ends.
//
// A mouse click on an icon window is what the user does: the tray sends
// the program its callback message with WM_LBUTTONDOWN, WM_LBUTTONUP
// (or the right-button pair) in lParam. Hovering shows the icon's tooltip
// in a "tooltips_class32" window, whose text WM_GETTEXT gives.
//
// A popup menu is a top-level window of class "#32768" of the menu's
// process. Its entries can't be read from another process, so the tests
// work it with the keyboard, as a user can: the arrow keys, Enter, Esc, and
// the letters marked with "&" in the captions.
#pragma once

#include "harness/Input.h"
#include "harness/Wait.h"
#include "platform/Win32Api.h"

#include <string>
#include <vector>

namespace e2e {

// Every tray icon window on the desktop, in tray order.
std::vector<HWND> TrayIconWindows();

// Waits for an icon window that is not among those before; null on timeout.
HWND WaitForNewTrayIcon(const std::vector<HWND>& before, DWORD timeoutMs = kDefaultTimeoutMs);

// Hovers over the icon until its tooltip shows, and gives the tooltip's
// text ("" when none showed within the time).
std::string ReadTrayTooltip(HWND icon, DWORD timeoutMs = 3000);  // per hover, up to three

// Clicks the icon; the tray window is first put above all other windows,
// as the taskbar is on Windows, so that no program's window covers it.
bool ClickTrayIcon(HWND icon, MouseButton button = MouseButton::Left);

// The visible popup menu windows of a process (pid 0: of any process).
std::vector<HWND> VisiblePopupMenus(DWORD pid = 0);
HWND WaitForPopupMenu(DWORD pid = 0, DWORD timeoutMs = kDefaultTimeoutMs);
bool WaitForPopupMenusClosed(DWORD pid = 0, DWORD timeoutMs = kDefaultTimeoutMs);

}  // namespace e2e
