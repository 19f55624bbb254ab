#include "harness/StarterTest.h"

#include <algorithm>
#include <cstdio>

namespace e2e {

std::string CurrentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "outside-tests";
    for (char& c : name) {
        if (std::string("\\/:*?\"<>| ").find(c) != std::string::npos) c = '_';
    }
    return name;
}

void StarterTest::SetUp() {
    ClearStarterRegistry();
    iconsBefore_ = TrayIconWindows();
    folder_ = JoinPath(kTestsRoot, CurrentTestName());
    ASSERT_TRUE(MakeFreshFolder(folder_)) << folder_;
    ASSERT_TRUE(CopyFileTo(ToWindowsPath(E2E_STARTER_EXE), starterPath())) << E2E_STARTER_EXE;
    ASSERT_TRUE(CopyFileTo(ToWindowsPath(E2E_STANDIN_EXE), targetPath())) << E2E_STANDIN_EXE;
}

void StarterTest::TearDown() {
    if (HasFailure()) {
        std::string shot = SaveScreenshot(CurrentTestName() + ".bmp");
        std::printf("screenshot of the failed test: %s\n", shot.empty() ? "(could not be taken)" : shot.c_str());
        for (HWND hwnd : TopLevelWindows()) {
            if (IsWindowVisible(hwnd)) std::printf("  window %s\n", Describe(hwnd).c_str());
        }
    }
    job_.EndAll();
    // The icons of ended programs go with them; waiting for that keeps the
    // next test from taking a leftover icon for a new one.
    WaitUntil(
        [&] {
            for (HWND icon : TrayIconWindows()) {
                if (std::find(iconsBefore_.begin(), iconsBefore_.end(), icon) == iconsBefore_.end()) return false;
            }
            return true;
        },
        5000);
    ClearStarterRegistry();
}

StartedProcess StarterTest::StartStarter() {
    return job_.Start("\"" + starterPath() + "\"");
}

HWND StarterTest::StartStarterWithIcon(StartedProcess& starter) {
    std::vector<HWND> before = TrayIconWindows();
    starter = StartStarter();
    EXPECT_TRUE(starter) << "could not start " << starterPath() << ", error " << GetLastError();
    if (!starter) return nullptr;
    HWND icon = WaitForNewTrayIcon(before);
    EXPECT_NE(icon, nullptr) << "no tray icon appeared; the starter "
                             << (starter.Running() ? "still runs" : "has ended");
    return icon;
}

HWND StarterTest::OpenMenu(HWND icon, const StartedProcess& starter, MouseButton button) {
    EXPECT_TRUE(ClickTrayIcon(icon, button)) << "the tray icon can't be clicked: " << Describe(icon);
    HWND menu = WaitForPopupMenu(starter.pid());
    EXPECT_NE(menu, nullptr) << "no popup menu of the starter opened";
    return menu;
}

HWND StarterTest::OpenMenuLookingLike(HWND icon, const StartedProcess& starter,
                                      const std::vector<MenuItemLook>& expected) {
    // Away from the tray and from where the starter's menu opens.
    const POINT referenceAt{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 3};
    ScreenCapture reference = CaptureReferenceMenu(expected, referenceAt);
    HWND menu = OpenMenu(icon, starter);
    if (menu) {
        EXPECT_TRUE(MenuLooksLike(CaptureSettledWindow(menu), reference, CurrentTestName()));
    }
    return menu;
}

HWND StarterTest::WaitForJobWindow(const char* caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (DWORD pid : job_.ProcessIds()) {
                if ((found = FindTopLevel(nullptr, caption, pid)) != nullptr) return true;
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND StarterTest::WaitForMessageBox(const StartedProcess& starter, DWORD timeoutMs) {
    return WaitForDialog(kMessageBoxTitle, starter.pid(), timeoutMs);
}

}  // namespace e2e
