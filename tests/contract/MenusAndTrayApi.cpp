// Menus, the popup menu's modal loop, the notification area, icons and the
// screen's metrics as the starter uses them. The same cases run against the
// simulated desktop and, under Wine, against the real one.
#include "platform/Handles.h"
#include "platform/Win32Api.h"
#include "support/DesktopTest.h"

#ifndef _WIN32
#include "platform/sim/SimDesktop.h"
#endif

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using platform::unique_hmenu;
using platform::unique_hwnd;
using namespace testsupport;

namespace {

class MenusAndTrayApi : public DesktopTest {};


constexpr UINT kFirst = 101;
constexpr UINT kSecond = 102;
constexpr UINT kDeep = 201;
constexpr UINT kMissing = 999;

// A popup menu: "&First", a separator, "Second" (grayed, checked) and "Sub"
// opening a submenu with "Deep".
struct SampleMenu {
    unique_hmenu popup{CreatePopupMenu()};
    HMENU sub = CreatePopupMenu();
    SampleMenu() {
        AppendMenuA(popup.get(), MF_STRING, kFirst, "&First");
        AppendMenuA(popup.get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuA(popup.get(), MF_STRING | MF_GRAYED | MF_CHECKED, kSecond, "Second");
        AppendMenuA(sub, MF_STRING, kDeep, "Deep");
        AppendMenuA(popup.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");
    }
};

std::string MenuString(HMENU menu, UINT item, UINT flags) {
    char text[64] = "?";
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

// ---- menus ----

TEST_F(MenusAndTrayApi, ItemsAreFoundByPositionAndByCommandInSubmenusToo) {
    SampleMenu m;
    HMENU popup = m.popup.get();
    EXPECT_EQ(GetMenuItemCount(popup), 4);
    EXPECT_EQ(GetMenuItemCount(m.sub), 1);
    EXPECT_EQ(GetMenuItemID(popup, 0), kFirst);
    EXPECT_EQ(GetMenuItemID(popup, 1), 0u);                    // separator
    EXPECT_EQ(GetMenuItemID(popup, 3), static_cast<UINT>(-1));  // opens a submenu
    EXPECT_EQ(GetMenuItemID(popup, 4), static_cast<UINT>(-1));  // no such position
    EXPECT_EQ(GetSubMenu(popup, 3), m.sub);
    EXPECT_EQ(GetSubMenu(popup, 0), nullptr);
    EXPECT_EQ(GetSubMenu(popup, 9), nullptr);

    EXPECT_EQ(MenuString(popup, kFirst, MF_BYCOMMAND), "&First");
    EXPECT_EQ(MenuString(popup, 3, MF_BYPOSITION), "Sub");
    EXPECT_EQ(MenuString(popup, kDeep, MF_BYCOMMAND), "Deep");
    EXPECT_EQ(GetMenuStringA(popup, kFirst, nullptr, 0, MF_BYCOMMAND), 6);
    char text[16] = "?";
    EXPECT_EQ(GetMenuStringA(popup, kMissing, text, sizeof text, MF_BYCOMMAND), 0);
}

TEST_F(MenusAndTrayApi, MenuStateShowsTypeAndStateAndASubmenusSize) {
    SampleMenu m;
    HMENU popup = m.popup.get();
    EXPECT_EQ(GetMenuState(popup, kFirst, MF_BYCOMMAND), 0u);
    EXPECT_EQ(GetMenuState(popup, kSecond, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED | MF_CHECKED));
    // A separator counts as grayed and disabled.
    EXPECT_EQ(GetMenuState(popup, 1, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR | MF_GRAYED | MF_DISABLED));
    // An entry that opens a submenu: the submenu's item count in the high byte.
    EXPECT_EQ(GetMenuState(popup, 3, MF_BYPOSITION), static_cast<UINT>((1 << 8) | MF_POPUP));
    EXPECT_EQ(GetMenuState(popup, kDeep, MF_BYCOMMAND), 0u);
    EXPECT_EQ(GetMenuState(popup, kMissing, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuState(popup, 4, MF_BYPOSITION), static_cast<UINT>(-1));
}

TEST_F(MenusAndTrayApi, EnableAndCheckGiveThePreviousStateOrMinusOne) {
    SampleMenu m;
    HMENU popup = m.popup.get();
    EXPECT_EQ(EnableMenuItem(popup, kFirst, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(EnableMenuItem(popup, kFirst, MF_BYCOMMAND | MF_GRAYED), MF_GRAYED);
    EXPECT_EQ(EnableMenuItem(popup, kFirst, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(GetMenuState(popup, kFirst, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED), 0u);
    EXPECT_EQ(EnableMenuItem(popup, kMissing, MF_BYCOMMAND | MF_GRAYED), -1);
    EXPECT_EQ(EnableMenuItem(popup, 0, MF_BYPOSITION | MF_DISABLED), MF_ENABLED);
    EXPECT_EQ(GetMenuState(popup, kFirst, MF_BYCOMMAND), static_cast<UINT>(MF_DISABLED));

    // By command, the search goes into the submenu.
    EXPECT_EQ(EnableMenuItem(popup, kDeep, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(GetMenuState(m.sub, 0, MF_BYPOSITION), static_cast<UINT>(MF_GRAYED));

    EXPECT_EQ(CheckMenuItem(popup, kFirst, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(popup, kFirst, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(popup, kFirst, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(popup, kMissing, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));
}

TEST_F(MenusAndTrayApi, ModifyReplacesAnItemWhereverItIs) {
    SampleMenu m;
    HMENU popup = m.popup.get();
    EXPECT_TRUE(ModifyMenuA(popup, kDeep, MF_BYCOMMAND | MF_STRING | MF_GRAYED, kDeep, "Deeper"));
    EXPECT_EQ(MenuString(m.sub, 0, MF_BYPOSITION), "Deeper");
    EXPECT_EQ(GetMenuState(popup, kDeep, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
    EXPECT_TRUE(ModifyMenuA(popup, kSecond, MF_BYCOMMAND | MF_STRING, kSecond, "Second again"));
    EXPECT_EQ(GetMenuState(popup, kSecond, MF_BYCOMMAND), 0u);  // the new flags replace the old state
    EXPECT_TRUE(ModifyMenuA(popup, 0, MF_BYPOSITION | MF_STRING, 111, "Renumbered"));
    EXPECT_EQ(GetMenuItemID(popup, 0), 111u);
    EXPECT_FALSE(ModifyMenuA(popup, kMissing, MF_BYCOMMAND | MF_STRING, kMissing, "x"));
    EXPECT_EQ(GetMenuItemCount(popup), 4);
}

TEST_F(MenusAndTrayApi, DestroyingAMenuDestroysItsSubmenus) {
    SampleMenu m;
    HMENU popup = m.popup.release();
    EXPECT_TRUE(DestroyMenu(popup));
    EXPECT_FALSE(IsMenu(popup));
    EXPECT_FALSE(IsMenu(m.sub));
    EXPECT_EQ(GetMenuItemCount(popup), -1);
    EXPECT_FALSE(DestroyMenu(popup));
}

TEST_F(MenusAndTrayApi, AWindowsMenuGoesWithTheWindow) {
    HWND hwnd = CreateRecordingWindow("menu bar", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0});
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetMenu(hwnd), nullptr);
    HMENU bar = CreateMenu();
    HMENU dropDown = CreatePopupMenu();
    AppendMenuA(dropDown, MF_STRING, kFirst, "First");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(dropDown), "[M1]");
    EXPECT_TRUE(SetMenu(hwnd, bar));
    EXPECT_EQ(GetMenu(hwnd), bar);
    EXPECT_EQ(GetSubMenu(GetMenu(hwnd), 0), dropDown);
    DestroyWindow(hwnd);
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_FALSE(IsMenu(dropDown));

    // A menu taken off its window before stays.
    unique_hwnd other(CreateRecordingWindow("menu bar 2", WS_POPUP));
    unique_hmenu kept(CreateMenu());
    SetMenu(other.get(), kept.get());
    SetMenu(other.get(), nullptr);
    other.reset();
    EXPECT_TRUE(IsMenu(kept.get()));
}

// ---- the popup menu ----

TEST_F(MenusAndTrayApi, TrackPopupMenuFailsForNoMenuOrNoOwner) {
    SampleMenu m;
    unique_hwnd owner(CreateRecordingWindow("owner", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0}));
    HWND gone = CreateRecordingWindow("gone", WS_POPUP);
    DestroyWindow(gone);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(TrackPopupMenu(m.popup.get(), TPM_RIGHTBUTTON, 10, 10, 0, gone, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    HMENU destroyed = CreatePopupMenu();
    DestroyMenu(destroyed);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(TrackPopupMenu(destroyed, TPM_RIGHTBUTTON, 10, 10, 0, owner.get(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
}

// The owner is hidden and of no size, as the starter's menu form is. A
// message posted before the menu opens is dispatched by the menu's modal
// loop; its handler closes the menu as a click elsewhere would.
constexpr UINT kCloseMenu = WM_USER + 50;

bool CloseMenuOnRequest(HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != kCloseMenu) return false;
    EndMenu();
    result = 0;
    return true;
}

TEST_F(MenusAndTrayApi, APopupMenuRunsAModalLoopAndTellsItsOwner) {
    SampleMenu m;
    unique_hwnd owner(CreateRecordingWindow("owner", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0}));
    ASSERT_TRUE(owner);
    PumpMessages();
    WatchMessages({WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, kCloseMenu, WM_UNINITMENUPOPUP, WM_MENUSELECT,
                   WM_EXITMENULOOP, WM_COMMAND});
    AnswerMessages(CloseMenuOnRequest);
    const WPARAM menu = reinterpret_cast<WPARAM>(m.popup.get());

    PostMessageA(owner.get(), kCloseMenu, 0, 0);
    EXPECT_EQ(TrackPopupMenu(m.popup.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD, 10, 10, 0, owner.get(), nullptr), 0);
    EXPECT_SEQUENCE(TakeLog(), {{WM_ENTERMENULOOP, true, TRUE},
                                {WM_INITMENU, true, menu},
                                {WM_INITMENUPOPUP, true, menu},
                                {kCloseMenu},
                                {WM_UNINITMENUPOPUP, true, menu},
                                {WM_MENUSELECT, true, MAKEWPARAM(0, 0xFFFF)},
                                {WM_EXITMENULOOP, true, TRUE}});

    // Without TPM_RETURNCMD a dismissed menu still succeeds, and no command follows.
    PostMessageA(owner.get(), kCloseMenu, 0, 0);
    EXPECT_TRUE(TrackPopupMenu(m.popup.get(), TPM_RIGHTBUTTON, 10, 10, 0, owner.get(), nullptr));
    PumpMessages();
    const std::vector<LoggedMessage> log = TakeLog();
    for (const LoggedMessage& msg : log) EXPECT_NE(msg.message, static_cast<UINT>(WM_COMMAND));

    // TPM_NONOTIFY keeps back all but the closing notifications.
    PostMessageA(owner.get(), kCloseMenu, 0, 0);
    EXPECT_EQ(TrackPopupMenu(m.popup.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, 0, owner.get(),
                             nullptr),
              0);
    EXPECT_SEQUENCE(TakeLog(), {{kCloseMenu}, {WM_MENUSELECT}, {WM_EXITMENULOOP}});
}

// ---- the notification area ----

NOTIFYICONDATAA TrayRecord(HWND hwnd, UINT id, UINT callback, const char* tip) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = hwnd;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callback;
    data.hIcon = nullptr;
    std::strncpy(data.szTip, tip, sizeof data.szTip - 1);
    return data;
}

TEST_F(MenusAndTrayApi, TrayIconsAreKeyedByWindowAndIdentifier) {
    unique_hwnd hwnd(CreateRecordingWindow("tray owner", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0}));
    ASSERT_TRUE(hwnd);
    NOTIFYICONDATAA one = TrayRecord(hwnd.get(), 1, WM_USER + 60, "Quellmar Starter Test");
    NOTIFYICONDATAA two = TrayRecord(hwnd.get(), 2, WM_USER + 60, "Second icon");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &one)) << "no notification area on this desktop";
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &one));  // there already
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &two));   // another identifier
    std::strcpy(one.szTip, "Changed tip");
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &one));
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &one));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &one));  // gone
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &one));
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &two));
}

// ---- icons, cursor and screen ----

TEST_F(MenusAndTrayApi, AModuleWithoutIconResourcesGivesNoIcon) {
#ifndef _WIN32
    // The test programs carry no resources; the simulated module is made alike.
    sim::SetIconResource(1, false);
#endif
    SetLastError(0xdeadbeef);
    HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                             GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    EXPECT_EQ(icon, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
    EXPECT_FALSE(DestroyIcon(static_cast<HICON>(icon)));
}

TEST_F(MenusAndTrayApi, ScreenAndIconMetricsAndTheCursor) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMICON), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    POINT point{-1, -1};
    EXPECT_TRUE(GetCursorPos(&point));
    EXPECT_GE(point.x, 0);
    EXPECT_GE(point.y, 0);
    EXPECT_LT(point.x, 1280);
    EXPECT_LT(point.y, 1024);
}

}  // namespace
