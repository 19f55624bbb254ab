// Mouse and keyboard input as the user gives it: synthesised with
// SendInput, so it takes the same road through the system as real input
// (under Wine: through the wineserver to the window under the cursor, or
// to the focus window).
#pragma once

#include "platform/Win32Api.h"

#include <initializer_list>
#include <ostream>
#include <string>

namespace e2e {

enum class MouseButton { Left, Right };

inline void PrintTo(MouseButton button, std::ostream* os) {
    *os << (button == MouseButton::Left ? "left button" : "right button");
}

void MoveMouseTo(POINT at);
// Moves to the point, then presses and releases the button there.
void ClickAt(POINT at, MouseButton button = MouseButton::Left);

// Clicks the centre of a window after checking that it is what the user
// would hit there (the window itself or one of its children); false,
// without clicking, when another window covers that point.
bool ClickWindow(HWND hwnd, MouseButton button = MouseButton::Left);

// Presses and releases one key, or several one after another.
void PressKey(WORD virtualKey);
void PressKeys(std::initializer_list<WORD> virtualKeys);

// Types text (ANSI code page) character by character, as the keyboard
// would deliver it to the focus window.
void TypeText(const std::string& text);

}  // namespace e2e
