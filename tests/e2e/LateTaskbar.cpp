// A starter that starts before the taskbar: at log-on the programs of the
// Run key can be quicker than the shell. The starter then finds no
// notification area, keeps running, and adds its icon when the taskbar
// announces itself; only after that does it write its Run entries. When
// the arriving taskbar refuses the icon too, the starter ends without a
// trace in the registry.
//
// The starter runs on a desktop of its own whose explorer has been ended,
// so it really has no notification area; the taskbar that arrives later
// hands the icon on to the tray of the test's desktop (see
// harness/LateTaskbar.h), where it is clicked like any icon. The popup
// menu opens on the starter's desktop, so the menu is looked for and typed
// into from a thread on that desktop.
#include "harness/JobStart.h"
#include "harness/LateTaskbar.h"
#include "harness/PrivateDesktop.h"
#include "harness/StarterTest.h"
#include "harness/TaskbarEvents.h"
#include "harness/WideText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {
namespace {

class LateTaskbarTest : public StarterTest {
protected:
    void SetUp() override {
        StarterTest::SetUp();
        if (HasFatalFailure()) return;
        std::string problem = TakeTaskbarAway(desktop_, job(), WideFromAnsi(targetPath()));
        ASSERT_EQ(problem, "") << "no desktop without a notification area could be made";
    }

    void TearDown() override {
        // An icon handed on to the test's tray must not outlive the test.
        if (mainWindow_) DeleteTrayIconOf(mainWindow_, 1);
        StarterTest::TearDown();
    }

    // Starts the starter on the desktop without a notification area and
    // waits until it idles in its wait for the taskbar.
    void StartWaitingStarter(StartedProcess& starter) {
        starter = StartInJob(job(), L"\"" + WideFromAnsi(starterPath()) + L"\"", desktop_.qualifiedName());
        ASSERT_TRUE(starter) << "could not start " << starterPath() << ", error " << GetLastError();
        ASSERT_TRUE(starter.WaitUntilIdle()) << "the starter did not come to wait";
        ASSERT_TRUE(starter.Running()) << "the starter ended without a notification area";
        desktop_.Run([&] { mainWindow_ = FindStarterMainWindow(starter.pid()); });
        ASSERT_NE(mainWindow_, nullptr) << "no window \"" << kMainWindowCaption << "\" on the starter's desktop";
    }

    bool RunEntryWritten() const {
        return ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).present ||
               ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue).present;
    }

    PrivateDesktop desktop_;
    HWND mainWindow_ = nullptr;
};

TEST_F(LateTaskbarTest, TheStarterWaitsAndShowsItsIconWhenTheTaskbarArrives) {
    std::vector<HWND> before = TrayIconWindows();
    StartedProcess starter;
    ASSERT_NO_FATAL_FAILURE(StartWaitingStarter(starter));
    EXPECT_EQ(TrayIconWindows(), before) << "an icon appeared without a notification area";
    EXPECT_FALSE(RunEntryWritten()) << "the Run entries come only after the icon";

    LateTaskbar taskbar(desktop_.handle(), LateTaskbar::Answer::PassOn);
    ASSERT_TRUE(taskbar.Arrive());
    HWND icon = WaitForNewTrayIcon(before);
    ASSERT_NE(icon, nullptr) << "no icon after the taskbar arrived; the starter "
                             << (starter.Running() ? "still runs" : "has ended");
    EXPECT_EQ(taskbar.Requests(NIM_ADD), 1);
    EXPECT_EQ(taskbar.LastSender(), mainWindow_);

    // Start-up went on: both Run entries hold the quoted path.
    for (const char* key : {kRunKey, kRunKeyNt}) {
        RegistryValue value;
        EXPECT_TRUE(WaitUntil([&] {
            value = ReadRegistryValue(HKEY_LOCAL_MACHINE, key, kRunValue);
            return value.data == "\"" + starterPath() + "\"";
        })) << key << " holds \"" << value.data << "\"";
    }

    // A real click on the icon opens the menu on the starter's desktop;
    // "&Close Starter" ends the starter, which takes its icon away.
    ASSERT_TRUE(ClickTrayIcon(icon)) << "the icon can't be clicked: " << Describe(icon);
    HWND menu = nullptr;
    ASSERT_TRUE(desktop_.Run([&] {
        menu = WaitForPopupMenu(starter.pid());
        if (menu) PressKey('C');
    }));
    ASSERT_NE(menu, nullptr) << "no popup menu of the starter opened";
    EXPECT_TRUE(starter.WaitForExit()) << "the starter is still running";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(icon); })) << "its icon stayed in the tray";
    EXPECT_EQ(taskbar.Requests(NIM_DELETE), 1);
}

TEST_F(LateTaskbarTest, TheStarterEndsWhenTheArrivingTaskbarRefusesItsIcon) {
    std::vector<HWND> before = TrayIconWindows();
    StartedProcess starter;
    ASSERT_NO_FATAL_FAILURE(StartWaitingStarter(starter));

    LateTaskbar taskbar(desktop_.handle(), LateTaskbar::Answer::Refuse);
    ASSERT_TRUE(taskbar.Arrive());
    EXPECT_TRUE(starter.WaitForExit()) << "the starter keeps running without its icon";
    EXPECT_EQ(taskbar.Requests(NIM_ADD), 1) << "the starter tries once more, not again and again";
    EXPECT_FALSE(RunEntryWritten()) << "a starter without its icon writes no Run entry";
    EXPECT_EQ(TrayIconWindows(), before);
}

}  // namespace
}  // namespace e2e
