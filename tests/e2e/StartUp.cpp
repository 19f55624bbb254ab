// The starter's start-up as a user meets it: started from its installation
// folder, it shows its icon in the tray and no window, writes its Run
// entries, refuses to run twice, and launches Quellmar when the auto-start
// setting asks for it.
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace e2e {
namespace {

class StartUp : public StarterTest {
protected:
    // The stand-in's windows among the processes of this test.
    HWND WaitForStandinWindow(const char* caption) {
        HWND found = nullptr;
        WaitUntil([&] {
            for (DWORD pid : job().ProcessIds()) {
                if ((found = FindTopLevel(nullptr, caption, pid)) != nullptr) return true;
            }
            return false;
        });
        return found;
    }

    std::string QuotedStarterPath() const { return "\"" + starterPath() + "\""; }
};

TEST_F(StartUp, ShowsItsTrayIconWithItsTooltipAndNoWindow) {
    StartedProcess starter;
    HWND icon = StartStarterWithIcon(starter);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(ReadTrayTooltip(icon), kTooltip);

    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_TRUE(starter.Running());
    for (HWND seen : VisibleWindowsOf(starter.pid())) ADD_FAILURE() << "a window of the starter is seen: " << Describe(seen);
}

TEST_F(StartUp, WritesBothRunEntriesWithItsQuotedPathOverOldOnes) {
    // An earlier installation elsewhere left its path behind.
    ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, "\"C:\\Old\\QuellmarStarter.exe\""));
    ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue, "\"C:\\Old\\QuellmarStarter.exe\""));

    StartedProcess starter;
    ASSERT_NE(StartStarterWithIcon(starter), nullptr);
    for (const char* key : {kRunKey, kRunKeyNt}) {
        RegistryValue value;
        EXPECT_TRUE(WaitUntil([&] {
            value = ReadRegistryValue(HKEY_LOCAL_MACHINE, key, kRunValue);
            return value.data == QuotedStarterPath();
        })) << key << " holds \"" << value.data << "\"";
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << key;
    }
}

TEST_F(StartUp, ASecondStartEndsAtOnceAndTheFirstKeepsItsIcon) {
    StartedProcess first;
    HWND icon = StartStarterWithIcon(first);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(first.WaitUntilIdle());
    std::vector<HWND> iconsBefore = TrayIconWindows();

    StartedProcess second = StartStarter();
    ASSERT_TRUE(second);
    EXPECT_TRUE(second.WaitForExit()) << "the second starter keeps running";

    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindow(icon));
    EXPECT_EQ(TrayIconWindows(), iconsBefore) << "the second start changed the tray";
    EXPECT_EQ(ReadTrayTooltip(icon), kTooltip);
}

struct AutoStartCase {
    const char* text;  // nullptr: no setting at all
    bool launches;
};

void PrintTo(const AutoStartCase& c, std::ostream* os) {
    *os << (c.text ? "\"" + std::string(c.text) + "\"" : std::string("no setting"));
}

class AutoStart : public StartUp, public ::testing::WithParamInterface<AutoStartCase> {};

TEST_P(AutoStart, LaunchesQuellmarExactlyWhenTheSettingReadsTrue) {
    if (GetParam().text) {
        ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, kAutoStartKey, kAutoStartValue, GetParam().text));
    }
    StartedProcess starter;
    ASSERT_NE(StartStarterWithIcon(starter), nullptr);

    if (GetParam().launches) {
        ASSERT_NE(WaitForStandinWindow(kCaptionNormal), nullptr) << "Quellmar was not launched";
        std::vector<StandinStart> starts = standinStarts();
        ASSERT_EQ(starts.size(), 1u);
        // Its path alone, without a switch.
        EXPECT_EQ(WithoutProgramQuotes(starts[0].commandLine), targetPath());
    } else {
        // Start-up is over once the starter waits for input; a launch would
        // have created its process by then.
        ASSERT_TRUE(starter.WaitUntilIdle());
        EXPECT_EQ(job().TotalProcesses(), 1u) << "the starter started another process";
        EXPECT_TRUE(standinStarts().empty());
    }
    EXPECT_TRUE(starter.Running());
}

INSTANTIATE_TEST_SUITE_P(Settings, AutoStart,
                         ::testing::Values(AutoStartCase{"True", true}, AutoStartCase{"TRUE", true},
                                           AutoStartCase{"true", true}, AutoStartCase{"False", false},
                                           AutoStartCase{"1", false}, AutoStartCase{" True", false},
                                           AutoStartCase{"", false}, AutoStartCase{nullptr, false}));

TEST_F(StartUp, AutoStartWithoutQuellmarWarnsAndKeepsRunning) {
    ASSERT_TRUE(DeleteFileA(targetPath().c_str()));
    ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, kAutoStartKey, kAutoStartValue, "True"));

    StartedProcess starter;
    HWND icon = StartStarterWithIcon(starter);
    ASSERT_NE(icon, nullptr);
    HWND box = WaitForMessageBox(starter);
    ASSERT_NE(box, nullptr) << "no warning was shown";
    EXPECT_EQ(DialogMessage(box), "Quellmar was not found in current directory  !");
    EXPECT_EQ(DialogButtons(box), std::vector<std::string>{"OK"});
    EXPECT_TRUE(IsWindow(icon)) << "the tray icon must be there while the warning is open";

    ASSERT_TRUE(PressDialogButton(box, "OK"));
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_TRUE(starter.Running());
    EXPECT_TRUE(IsWindow(icon));
    EXPECT_EQ(job().TotalProcesses(), 1u);
}

// Installed in a drive root, the starter's own path has one backslash
// between the drive and the file name.
TEST_F(StartUp, FromADriveRootWritesTheRootPath) {
    const std::string rootCopy = "C:\\QuellmarStarter.exe";
    ASSERT_TRUE(CopyFileTo(starterPath(), rootCopy));
    std::vector<HWND> before = TrayIconWindows();
    StartedProcess starter = job().Start("\"" + rootCopy + "\"");
    ASSERT_TRUE(starter);
    EXPECT_NE(WaitForNewTrayIcon(before), nullptr);

    RegistryValue value;
    EXPECT_TRUE(WaitUntil([&] {
        value = ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
        return value.data == "\"C:\\QuellmarStarter.exe\"";
    })) << "the Run entry holds \"" << value.data << "\"";

    job().EndAll();
    EXPECT_TRUE(DeleteFileA(rootCopy.c_str()));
}

}  // namespace
}  // namespace e2e
