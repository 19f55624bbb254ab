// The way into the starter: a click on its tray icon opens its popup menu
// at the mouse, with either button; the menu can be left without a choice,
// and "&Close Starter" ends the starter and takes its icon away.
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {
namespace {

class TrayMenu : public StarterTest, public ::testing::WithParamInterface<MouseButton> {
protected:
    // Windows of the starter that the user could see, its menus apart.
    std::vector<HWND> SeenWindowsBesidesMenus(DWORD pid) {
        std::vector<HWND> seen;
        for (HWND hwnd : VisibleWindowsOf(pid)) {
            if (ClassName(hwnd) != "#32768") seen.push_back(hwnd);
        }
        return seen;
    }
};

TEST_P(TrayMenu, OpensAtTheMouseAndClosesWithoutAChoice) {
    StartedProcess starter;
    HWND icon = StartStarterWithIcon(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(starter.WaitUntilIdle());

    HWND menu = OpenMenu(icon, starter, GetParam());
    ASSERT_NE(menu, nullptr);
    // The menu's upper left corner lies at the point of the click (the
    // platform moves it only to keep it on the screen).
    POINT clicked = CentreOf(WindowRect(icon));
    RECT at = WindowRect(menu);
    EXPECT_EQ(at.left, clicked.x) << Describe(menu);
    EXPECT_EQ(at.top, clicked.y) << Describe(menu);
    for (HWND seen : SeenWindowsBesidesMenus(starter.pid()))
        ADD_FAILURE() << "a window of the starter is seen beside its menu: " << Describe(seen);

    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForPopupMenusClosed(starter.pid())) << "Esc did not close the menu";
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_TRUE(starter.Running());
    EXPECT_TRUE(IsWindow(icon));
    for (HWND seen : VisibleWindowsOf(starter.pid())) ADD_FAILURE() << "a window of the starter is seen: " << Describe(seen);

    // And it opens again on the next click.
    ASSERT_NE(OpenMenu(icon, starter, GetParam()), nullptr);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForPopupMenusClosed(starter.pid()));
}

TEST_P(TrayMenu, CloseStarterEndsItAndTakesItsIconAway) {
    StartedProcess starter;
    HWND icon = StartStarterWithIcon(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(starter.WaitUntilIdle());
    ASSERT_NE(OpenMenu(icon, starter, GetParam()), nullptr);

    PressKey('C');  // "&Close Starter"
    EXPECT_TRUE(starter.WaitForExit()) << "the starter is still running";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(icon); })) << "its icon stayed in the tray";
}

INSTANTIATE_TEST_SUITE_P(LeftAndRightButton, TrayMenu,
                         ::testing::Values(MouseButton::Left, MouseButton::Right),
                         [](const ::testing::TestParamInfo<MouseButton>& info) {
                             return std::string(info.param == MouseButton::Left ? "Left" : "Right");
                         });

}  // namespace
}  // namespace e2e
