// Control of the simulated desktop's user side (user32 and shell32), for
// native tests: windows and their states, the message queue, the cursor,
// message boxes and the input box, menus and the popup menu, the tray and
// icons. The starter's code never includes this header; it calls the Win32
// functions of SimWin32.h, which this world answers.
//
// The simulation has one thread, the starter's user-interface thread. Windows
// made with CreateWindowExA belong to it; CreateTopLevelWindow below makes
// windows that stand for other programs' windows (Quellmar's, say).
#pragma once

#include "platform/sim/SimWin32.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

// Back to an empty desktop: no window (the registered classes go too), an
// empty message queue, no menu, no icon, no tray icon, the taskbar present,
// the cursor at (0, 0), the module's icon resource 1 present, no record, no
// scripted answer and no hook.
void ResetUser();

// What the simulation throws when a test left something unscripted that a
// user would have had to answer: a question box or an input box without a
// scripted answer, a scripted answer that the box has no button for, or a
// message loop that would wait for ever. The exception ends the running test
// with this text.
struct UnscriptedInteraction : std::logic_error {
    using std::logic_error::logic_error;
};

// ---- windows ----

struct WindowState {
    HWND hwnd = nullptr;
    HWND parent = nullptr;
    std::string className;
    std::string caption;
    DWORD style = 0;    // with WS_VISIBLE, WS_DISABLED, WS_MINIMIZE, WS_MAXIMIZE as they stand
    DWORD exStyle = 0;
    RECT rect{};        // screen coordinates
    HMENU menu = nullptr;
    bool visible = false;    // WS_VISIBLE on the window itself
    bool enabled = true;
    bool minimized = false;
    bool maximized = false;
    bool otherProcess = false;  // made by CreateTopLevelWindow
};

// Every live window, top of the Z order first (FindWindowA's search order).
std::vector<HWND> Windows();
// The live windows whose parent is the desktop, top of the Z order first.
std::vector<HWND> TopLevelWindows();
std::size_t WindowCount();
// The state of a live window; false when hwnd is no window.
bool ReadWindow(HWND hwnd, WindowState& state);
// The caption of a live window ("" when hwnd is no window), read without
// sending it a message.
std::string WindowCaption(HWND hwnd);

// A plain top-level window of another program, captioned as given: the
// window of a running Quellmar, say. Its procedure records every message it
// receives and otherwise does what DefWindowProcA does, so WM_CLOSE destroys
// it - unless refuseClose is set, as with a program that asks "save
// changes?" and is told no.
struct TopLevelWindowOptions {
    int showCommand = SW_SHOWNORMAL;  // applied with ShowWindow after creation
    bool refuseClose = false;
    DWORD style = WS_OVERLAPPEDWINDOW;
    RECT rect{100, 100, 740, 580};
};
HWND CreateTopLevelWindow(const std::string& caption, const TopLevelWindowOptions& options = {});

struct ReceivedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
// What a window made by CreateTopLevelWindow received, oldest first; kept
// after the window is destroyed, until the next reset.
std::vector<ReceivedMessage> MessagesReceived(HWND hwnd);

// ---- the message queue ----

// Posted messages waiting in the thread's queue (WM_QUIT not counted).
std::size_t PendingMessageCount();
// Takes every posted message out of the queue and dispatches it, as a
// message loop would, until the queue is empty; a WM_QUIT stays where it
// is. Gives the number of messages dispatched.
int DispatchPendingMessages();
// Called when GetMessageA finds the queue empty and would wait: the test
// plays the user here (clicks the tray icon, posts a message ...). When the
// queue is still empty afterwards, or there is no hook, GetMessageA throws
// UnscriptedInteraction rather than wait for ever.
void SetIdleHook(std::function<void()> hook);

// ---- cursor and screen (the screen is 1280 x 1024, small icons 16 x 16) ----

void SetCursorPos(int x, int y);

// ---- message boxes ----

struct MessageBoxCall {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT style = 0;
    int answer = 0;  // the button the box gave
};
// Every MessageBoxA call since the reset, oldest first.
const std::vector<MessageBoxCall>& MessageBoxes();
void ClearMessageBoxes();
// Answers for the next boxes, one per box in order (appended to those not yet
// used). A box with no scripted answer left gives IDOK when OK is its only
// button; any other box then throws UnscriptedInteraction, and so does an
// answer that the box has no button for.
void AnswerMessageBoxes(std::vector<int> answers);
// Runs while each box is open, after the modal loop has dispatched the
// messages already posted (a box is modal: messages keep flowing under it).
void SetMessageBoxHook(std::function<void(const MessageBoxCall&)> hook);

// ---- the input box (platform::InputBox) ----

struct InputBoxCall {
    std::string prompt;
    std::string title;
    std::string defaultText;
    std::string answer;  // what the box gave; "" is also what Cancel gives
};
const std::vector<InputBoxCall>& InputBoxes();
void ClearInputBoxes();
// The texts typed into the next input boxes, in order; "" stands for Cancel.
// An input box with no scripted answer left throws UnscriptedInteraction.
void AnswerInputBoxes(std::vector<std::string> answers);
void SetInputBoxHook(std::function<void(const InputBoxCall&)> hook);

// ---- menus ----

// Menus created and not yet destroyed (submenus count one each).
std::size_t MenuCount();

struct MenuItemSnapshot {
    std::string text;      // as set, "&" included; "" for a separator
    UINT flags = 0;        // MF_* type and state: MF_SEPARATOR, MF_POPUP, MF_GRAYED, MF_DISABLED, MF_CHECKED ...
    UINT id = 0;           // the command identifier (0 for a separator or a submenu entry)
    HMENU submenu = nullptr;
    std::vector<MenuItemSnapshot> items;  // the submenu's entries
};
// The entries of a live menu as they stand (empty for no menu).
std::vector<MenuItemSnapshot> MenuItems(HMENU menu);

// One TrackPopupMenu call that showed a menu.
struct PopupMenuShown {
    HMENU menu = nullptr;
    UINT flags = 0;
    int x = 0;
    int y = 0;
    HWND owner = nullptr;
    bool ownerWasForeground = false;
    std::vector<MenuItemSnapshot> items;  // as shown, submenus included
    UINT chosen = 0;            // the command chosen; 0 when the menu was dismissed
    bool choiceRefused = false; // the scripted command was missing, grayed or disabled: dismissed instead
};
const std::vector<PopupMenuShown>& PopupMenus();
void ClearPopupMenus();
// The user's next action in a popup menu, one per TrackPopupMenu in order:
// choose the entry with this command identifier (searched in the menu shown
// and its submenus), or dismiss the menu. With nothing scripted a menu is
// dismissed. A scripted entry that is missing, grayed or disabled can't be
// clicked: the menu is dismissed and the record says choiceRefused.
void ChoosePopupMenuItem(UINT commandId);
void DismissPopupMenu();
// Runs while each menu is open, after the modal loop has dispatched the
// messages already posted; EndMenu called here dismisses the menu.
void SetPopupMenuHook(std::function<void(const PopupMenuShown&)> hook);

// ---- the tray ----

// Without a taskbar (before the shell has started, or after it ended),
// every Shell_NotifyIconA call fails; taking the taskbar away drops its
// icons, as a restarting shell does.
void SetTaskbarPresent(bool present);

struct TrayIcon {
    HWND hwnd = nullptr;
    UINT uID = 0;
    UINT callbackMessage = 0;  // 0 when no NIF_MESSAGE was given
    HICON icon = nullptr;
    std::string tip;           // the tooltip: szTip up to its first zero byte
};
// The icons in the notification area, in the order they were added.
std::vector<TrayIcon> TrayIcons();

struct TrayCall {
    DWORD message = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE ...
    BOOL result = FALSE;
    NOTIFYICONDATAA data{};           // the record as passed
    std::vector<std::uint8_t> bytes;  // the record's first NOTIFYICONDATAA_V1_SIZE bytes, exactly as passed
};
// Every Shell_NotifyIconA call since the reset, oldest first.
const std::vector<TrayCall>& TrayCalls();
void ClearTrayCalls();

// The notification area reports a mouse action over an icon: the icon's
// callback message is sent to its window with wParam = uID and lParam =
// mouseMessage (WM_LBUTTONUP ...). False, and nothing sent, when there is no
// such icon, it has no callback message or its window is gone.
bool ClickTrayIcon(HWND hwnd, UINT uID, UINT mouseMessage);

// ---- icons ----

// Whether the program module has the icon resource with this identifier
// (resource 1, the program icon, is there after a reset).
void SetIconResource(WORD id, bool present);
// Icons loaded and not yet destroyed.
std::size_t IconCount();
struct IconInfo {
    HICON icon = nullptr;
    WORD resourceId = 0;
    int cx = 0;
    int cy = 0;
};
std::vector<IconInfo> Icons();

}  // namespace sim
