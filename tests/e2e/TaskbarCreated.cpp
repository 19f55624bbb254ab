// The icon back after the taskbar restarts: with its icon taken away from
// outside, only a starter that adds it again on "TaskbarCreated" passes.
#include "Driver.h"

TEST_F(Journey, TaskbarCreated) {
    ASSERT_TRUE(Start());
    NOTIFYICONDATAA icon{sizeof icon, FindWindowA(nullptr, "Quellmar Starter v1.0"), 1};
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_TRUE(Wait([&] { return !IsWindow(icon_); })) << "the icon stayed";
    const std::vector<HWND> before = Icons();
    PostMessageA(icon.hWnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    icon_ = NewIcon(before);
    ASSERT_NE(icon_, nullptr) << "the icon did not come back";
    EXPECT_TRUE(Choose("!", 0, "Launch Quellmar (Normal Mode)"));
}
