// What the user sees of the starter: its tray icon, its menu while it is
// open, and nothing else. Screenshots of the desktop with the menu open
// and closed are kept in the build tree's e2e output folder.
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {
namespace {

class Screen : public StarterTest {
protected:
    // The mouse away from the tray and the menu, and no tooltip shown, so
    // that two pictures of the desktop can be compared.
    static bool MouseAwayAndNoTooltip() {
        MoveMouseTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5});
        return WaitUntil(
            [] {
                for (HWND hwnd : TopLevelWindows()) {
                    if (IsWindowVisible(hwnd) && ClassName(hwnd) == "tooltips_class32") return false;
                }
                return true;
            },
            5000);
    }

    static ScreenCapture Part(const ScreenCapture& whole, const RECT& area) {
        ScreenCapture part;
        part.area = area;
        for (LONG y = area.top; y < area.bottom; ++y) {
            for (LONG x = area.left; x < area.right; ++x) part.pixels.push_back(whole.At(x, y));
        }
        return part;
    }

    static bool Within(const RECT& inner, const RECT& outer) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }
};

TEST_F(Screen, NothingButTheIconAndWhileOpenTheMenuIsSeen) {
    StartedProcess starter;
    HWND icon = StartStarterWithIcon(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(starter.WaitUntilIdle());
    ASSERT_TRUE(MouseAwayAndNoTooltip());
    ScreenCapture before = CaptureWholeScreen();
    ASSERT_FALSE(before.pixels.empty()) << "the screen can't be read";
    for (HWND seen : VisibleWindowsOf(starter.pid())) ADD_FAILURE() << "a window of the starter is seen: " << Describe(seen);

    HWND menu = OpenMenu(icon, starter);
    ASSERT_NE(menu, nullptr);
    ScreenCapture menuShown = CaptureSettledWindow(menu);
    ASSERT_FALSE(menuShown.pixels.empty()) << "the menu did not finish drawing";
    EXPECT_FALSE(SaveScreenshot(CurrentTestName() + ".menu-open.bmp").empty());
    const RECT menuArea = WindowRect(menu);
    ASSERT_TRUE(Within(menuArea, before.area)) << Describe(menu);
    EXPECT_FALSE(SameImage(menuShown, Part(before, menuArea))) << "the menu is not on the screen";
    // Its main form, shown at zero size while the menu is open, can't be seen.
    for (HWND seen : VisibleWindowsOf(starter.pid())) {
        if (ClassName(seen) != "#32768") ADD_FAILURE() << "a window of the starter is seen beside its menu: " << Describe(seen);
    }

    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForPopupMenusClosed(starter.pid()));
    ASSERT_TRUE(starter.WaitUntilIdle());
    ASSERT_TRUE(MouseAwayAndNoTooltip());
    // Where the menu was, the desktop is as it was before: nothing stays.
    ScreenCapture after;
    EXPECT_TRUE(WaitUntil([&] {
        after = CaptureWholeScreen();
        return !after.pixels.empty() && SameImage(Part(after, menuArea), Part(before, menuArea));
    })) << "the menu left a trace; see " << OutputPath(CurrentTestName() + ".menu-closed.bmp");
    EXPECT_TRUE(SaveBmp(after, OutputPath(CurrentTestName() + ".menu-closed.bmp")));
    for (HWND seen : VisibleWindowsOf(starter.pid())) ADD_FAILURE() << "a window of the starter is seen: " << Describe(seen);
    EXPECT_TRUE(IsWindowVisible(icon));
    EXPECT_EQ(WindowFromPoint(CentreOf(WindowRect(icon))), icon) << "the tray icon is covered";
}

}  // namespace
}  // namespace e2e
