// The icon after a restart of the taskbar: a restarting taskbar has lost
// every icon and announces itself with "TaskbarCreated"; the starter then
// puts its icon back, and the icon works as before. An announcement while
// the icon is still shown leaves one icon that opens one menu.
#include "harness/StarterTest.h"
#include "harness/TaskbarEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr UINT kIconId = 1;

class TaskbarRestart : public StarterTest {
protected:
    // The starter with its icon, idle, and its main window; false when
    // that failed (the test has then failed).
    bool StartIdleStarter(StartedProcess& starter, HWND& icon, HWND& mainWindow) {
        icon = StartStarterWithIcon(starter);
        if (!icon) return false;
        EXPECT_TRUE(starter.WaitUntilIdle());
        mainWindow = WaitForStarterMainWindow(starter.pid());
        EXPECT_NE(mainWindow, nullptr) << "no window \"" << kMainWindowCaption << "\" of the starter";
        return mainWindow != nullptr;
    }

    // The icon windows that were not in the tray before the test.
    std::vector<HWND> IconsBesides(const std::vector<HWND>& before) {
        std::vector<HWND> fresh;
        for (HWND icon : TrayIconWindows()) {
            if (std::find(before.begin(), before.end(), icon) == before.end()) fresh.push_back(icon);
        }
        return fresh;
    }

    static std::string TooltipOf(HWND icon) { return ReadTrayTooltip(icon); }

    void OpenAndCloseMenu(HWND icon, const StartedProcess& starter) {
        ASSERT_NE(OpenMenu(icon, starter), nullptr);
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitForPopupMenusClosed(starter.pid())) << "Esc did not close the menu";
        ASSERT_TRUE(starter.WaitUntilIdle());
    }
};

TEST_F(TaskbarRestart, TheIconComesBackWithEachAnnouncementAndStillWorks) {
    std::vector<HWND> foreign = TrayIconWindows();
    StartedProcess starter;
    HWND icon = nullptr;
    HWND mainWindow = nullptr;
    ASSERT_TRUE(StartIdleStarter(starter, icon, mainWindow));

    // Three restarts in a row: each one must bring the icon back.
    for (int restart = 1; restart <= 3; ++restart) {
        SCOPED_TRACE(testing::Message() << "restart " << restart);
        ASSERT_TRUE(DeleteTrayIconOf(mainWindow, kIconId)) << "the tray holds no icon (starter window, 1)";
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(icon); })) << "the icon stayed in the tray";
        ASSERT_TRUE(starter.WaitUntilIdle());
        EXPECT_TRUE(IconsBesides(foreign).empty()) << "an icon of the starter is still in the tray";
        EXPECT_TRUE(starter.Running());

        std::vector<HWND> before = TrayIconWindows();
        ASSERT_TRUE(PostMessageA(mainWindow, TaskbarCreatedMessage(), 0, 0));
        icon = WaitForNewTrayIcon(before);
        ASSERT_NE(icon, nullptr) << "the icon did not come back";
        ASSERT_TRUE(starter.WaitUntilIdle());
        EXPECT_EQ(IconsBesides(foreign).size(), 1u) << "the starter shows more than one icon";
        EXPECT_EQ(TooltipOf(icon), kTooltip);

        // A real click on the icon that came back opens the menu.
        OpenAndCloseMenu(icon, starter);
    }

    // The icon that came back is the one the starter takes away at its end.
    ASSERT_NE(OpenMenu(icon, starter), nullptr);
    PressKey('C');  // "&Close Starter"
    EXPECT_TRUE(starter.WaitForExit()) << "the starter is still running";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(icon); })) << "its icon stayed in the tray";
}

TEST_F(TaskbarRestart, AnAnnouncementWhileTheIconIsShownKeepsOneIconAndOneMenu) {
    std::vector<HWND> foreign = TrayIconWindows();
    StartedProcess starter;
    HWND icon = nullptr;
    HWND mainWindow = nullptr;
    ASSERT_TRUE(StartIdleStarter(starter, icon, mainWindow));

    for (int i = 0; i < 3; ++i) ASSERT_TRUE(PostMessageA(mainWindow, TaskbarCreatedMessage(), 0, 0));
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(IconsBesides(foreign), std::vector<HWND>{icon}) << "the icon was replaced or doubled";
    EXPECT_TRUE(starter.Running());

    // One click, one menu: after Esc no second menu follows, as it would if
    // the tray's notifications reached the starter twice.
    OpenAndCloseMenu(icon, starter);
    EXPECT_TRUE(VisiblePopupMenus(starter.pid()).empty()) << "a second menu opened after the first";
    for (HWND seen : VisibleWindowsOf(starter.pid())) ADD_FAILURE() << "a window of the starter is seen: " << Describe(seen);
}

}  // namespace
}  // namespace e2e
