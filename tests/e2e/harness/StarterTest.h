// The base of every test that drives the real starter. Each test gets:
//
//   - a fresh installation folder "C:\Program Files\Quellmar Tests\<test>\"
//     holding copies of QuellmarStarter.exe and the stand-in Quellmar.exe
//     (a blank in the path, as in a real installation);
//   - a registry without anything the starter writes (before and after);
//   - a job that holds every process the test starts, ended afterwards;
//   - a screenshot of the desktop in the build tree when it failed.
//
// The programs' paths come from the build (E2E_STARTER_EXE,
// E2E_STANDIN_EXE: the build tree's host paths, reached through Wine's Z:).
#pragma once

#include "harness/DesktopWindows.h"
#include "harness/Dialogs.h"
#include "harness/Files.h"
#include "harness/Input.h"
#include "harness/MenuLook.h"
#include "harness/Processes.h"
#include "harness/Registry.h"
#include "harness/Reporter.h"
#include "harness/Screenshot.h"
#include "harness/Standin.h"
#include "harness/Tray.h"
#include "harness/Wait.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {

inline constexpr const char* kTestsRoot = "C:\\Program Files\\Quellmar Tests";
inline constexpr const char* kStarterFile = "QuellmarStarter.exe";
inline constexpr const char* kTargetFile = "Quellmar.exe";
inline constexpr const char* kTooltip = "Quellmar Starter";
inline constexpr const char* kMessageBoxTitle = "Quellmar Starter";

// The name of the running test, usable as a folder or file name.
std::string CurrentTestName();

class StarterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::string& folder() const { return folder_; }
    std::string starterPath() const { return JoinPath(folder_, kStarterFile); }
    std::string targetPath() const { return JoinPath(folder_, kTargetFile); }
    ProcessJob& job() { return job_; }

    // Starts the starter from its folder. The working directory is the
    // test program's own, not that folder: the starter must find Quellmar
    // beside its program file, wherever it was started from.
    StartedProcess StartStarter();

    // Starts the starter and waits for its new tray icon; null when none
    // came (the test has then failed).
    HWND StartStarterWithIcon(StartedProcess& starter);

    // Clicks the icon and waits for the popup menu of the starter's
    // process; null when none opened (the test has then failed).
    HWND OpenMenu(HWND icon, const StartedProcess& starter, MouseButton button = MouseButton::Left);

    // Opens the menu as OpenMenu does and checks that it shows exactly the
    // expected entries (MenuLook.h); the reference is drawn first, as only
    // one menu can be open at a time.
    HWND OpenMenuLookingLike(HWND icon, const StartedProcess& starter, const std::vector<MenuItemLook>& expected);

    // Waits for a message box of the starter (title "Quellmar Starter").
    HWND WaitForMessageBox(const StartedProcess& starter, DWORD timeoutMs = kDefaultTimeoutMs);

    // A visible top-level window with that caption of one of the test's
    // processes (Quellmar as the starter started it); null on timeout.
    HWND WaitForJobWindow(const char* caption, DWORD timeoutMs = kDefaultTimeoutMs);

    std::vector<StandinStart> standinStarts() const { return StandinStarts(folder_); }
    std::vector<std::string> standinEvents() const { return StandinEvents(folder_); }

private:
    std::string folder_;
    std::vector<HWND> iconsBefore_;
    ProcessJob job_;
};

}  // namespace e2e
