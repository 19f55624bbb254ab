// Message boxes and the input box, found and answered from outside: a
// dialog is a top-level window of class "#32770" with the given caption;
// its message is the text of its static controls, its buttons are "Button"
// controls pressed with a real mouse click.
#pragma once

#include "harness/Wait.h"
#include "platform/Win32Api.h"

#include <string>
#include <vector>

namespace e2e {

HWND FindDialog(const char* caption, DWORD pid = 0);
HWND WaitForDialog(const char* caption, DWORD pid = 0, DWORD timeoutMs = kDefaultTimeoutMs);

// The texts of the dialog's static controls that have one, joined by "\n".
std::string DialogMessage(HWND dialog);

// The captions of its visible buttons, with the "&" markers taken out
// ("&Yes" gives "Yes"), in the order of the controls.
std::vector<std::string> DialogButtons(HWND dialog);

// Clicks the button with that caption (compared without "&" markers) and
// waits until the dialog has gone. False when there is no such button, it
// is covered, or the dialog stays.
bool PressDialogButton(HWND dialog, const std::string& caption, DWORD timeoutMs = kDefaultTimeoutMs);

// Types text into the dialog's edit field in place of what it holds (a
// click into the field, select all, typing). True when the field then
// holds exactly that text.
bool FillEditField(HWND dialog, const std::string& text);

}  // namespace e2e
