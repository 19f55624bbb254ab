// What a popup menu shows, checked from outside. The entries of another
// process's menu can't be read, but they can be seen: the test draws a
// reference menu with the entries it expects in its own process, the way
// the system draws every popup menu, and compares the two pictures pixel
// by pixel. Captions, check marks, greyed entries and submenu arrows all
// have to agree.
#pragma once

#include "harness/Screenshot.h"
#include "harness/Wait.h"
#include "platform/Win32Api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {

struct MenuItemLook {
    std::string caption;  // "-" is a separator
    bool grayed = false;
    bool checked = false;
    bool submenu = false;  // opens a submenu (shows an arrow)
};

// The starter's main popup menu as it should look: firstEntry is the
// caption of the launch / restore / close entry.
std::vector<MenuItemLook> StarterMenuLook(const std::string& firstEntry, bool autoStartChecked);

// The window as it is on the screen once it has finished drawing: the same
// picture in several captures in a row (the system shows a window's
// drawing with a short delay). An empty capture when it did not settle.
ScreenCapture CaptureSettledWindow(HWND hwnd, DWORD timeoutMs = 5000);

// Shows a popup menu with those entries in this process at the point,
// captures it settled, and closes it again. Nothing of the starter may
// have a menu open meanwhile. An empty capture when that failed.
ScreenCapture CaptureReferenceMenu(const std::vector<MenuItemLook>& items, POINT at);

// Same size and same pixels (where on the screen they were taken does not
// matter).
bool SameImage(const ScreenCapture& a, const ScreenCapture& b);

// Compares a menu's picture with its reference; when they differ both are
// saved into the output folder as <name>.shown.bmp and <name>.expected.bmp
// for a look, and the message names them.
::testing::AssertionResult MenuLooksLike(const ScreenCapture& shown, const ScreenCapture& expected,
                                         const std::string& name);

}  // namespace e2e
