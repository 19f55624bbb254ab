// The simulated desktop's user side, inside: the state that the User*.cpp
// files share. One thread, so no locks; every function that calls a window
// procedure must look its window up again afterwards, as the procedure may
// have destroyed it (or anything else).
#pragma once

#include "platform/sim/SimUser.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sim::user {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int cbWndExtra = 0;
    HINSTANCE instance = nullptr;
    ATOM atom = 0;
};

struct Window {
    HWND handle = nullptr;
    std::string className;
    LONG_PTR proc = 0;
    LONG_PTR userData = 0;
    std::vector<unsigned char> extra;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
    HWND parent = nullptr;  // nullptr: the desktop
    bool messageOnly = false;
    HMENU menu = nullptr;
    HINSTANCE instance = nullptr;
    RECT rect{};
    RECT normalRect{};       // where SW_RESTORE puts a minimised or maximised window
    bool restoreToMaximized = false;
    bool otherProcess = false;
    bool refuseClose = false;
    bool destroying = false;
};

struct MenuItem {
    UINT type = 0;   // MF_SEPARATOR, MF_POPUP, MF_MENUBREAK ...
    UINT state = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MF_DEFAULT
    UINT id = 0;
    std::string text;
    HMENU submenu = nullptr;
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

struct PopupChoice {
    bool dismiss = true;
    UINT id = 0;
};

struct State {
    // windows
    std::map<std::string, WindowClass> classes;  // key: lower-case name
    std::map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> zOrder;                     // top-level windows, top first
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND foreground = nullptr;
    std::map<HWND, std::vector<ReceivedMessage>> received;
    ATOM nextAtom = 0xC100;
    std::map<std::string, UINT> registeredMessages;  // key: lower-case name

    // the queue and the timers (by window and identifier: the interval)
    std::deque<MSG> queue;
    std::map<std::pair<HWND, UINT_PTR>, UINT> timers;
    bool quitPosted = false;
    int quitCode = 0;
    DWORD tick = 1000;
    std::function<void()> idleHook;

    // cursor
    POINT cursor{0, 0};

    // message and input boxes
    std::vector<MessageBoxCall> messageBoxes;
    std::deque<int> messageBoxAnswers;
    std::function<void(const MessageBoxCall&)> messageBoxHook;
    std::vector<InputBoxCall> inputBoxes;
    std::deque<std::string> inputBoxAnswers;
    std::function<void(const InputBoxCall&)> inputBoxHook;

    // menus
    std::map<HMENU, Menu> menus;
    std::vector<PopupMenuShown> popupMenus;
    std::deque<PopupChoice> popupChoices;
    std::function<void(const PopupMenuShown&)> popupMenuHook;
    bool trackingMenu = false;
    bool endMenuRequested = false;

    // tray
    bool taskbarPresent = true;
    std::vector<TrayIcon> trayIcons;
    std::vector<TrayCall> trayCalls;

    // icons
    std::map<WORD, bool> iconResources{{1, true}};  // the program icon
    std::map<HICON, IconInfo> icons;
};

State& S();

// A new handle value, never used before in this process.
std::uintptr_t NewHandleValue();

Window* FindWindowPtr(HWND hwnd);
// Looks hwnd up; sets ERROR_INVALID_WINDOW_HANDLE when it is no window.
Window* CheckWindow(HWND hwnd);
Menu* FindMenuPtr(HMENU menu);
Menu* CheckMenu(HMENU menu);

// The window's top-level ancestor (itself for a top-level window).
HWND TopLevelOf(HWND hwnd);

// Calls the window's current procedure; 0 when hwnd is no window.
LRESULT Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The modal loop of a message box, menu or input box: dispatches the posted
// messages waiting in the queue; stops at WM_QUIT, which stays queued.
void PumpModalLoop();

// Activation: makes hwnd (a top-level window, or nullptr) the active and
// foreground window, with WM_ACTIVATE to this thread's windows.
void Activate(HWND hwnd);
// Takes activation and focus off a window that is being hidden, minimised,
// disabled or destroyed.
void Deactivate(HWND hwnd);

// Called when a window's menu is destroyed with the window.
void DestroyMenuTree(HMENU menu);
// Removes every posted message for the window.
void PurgeQueue(HWND hwnd);

std::string Lower(const std::string& text);

}  // namespace sim::user
