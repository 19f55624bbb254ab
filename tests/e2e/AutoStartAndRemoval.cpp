// The two commands that change how the starter starts with Windows: the
// auto-start of Quellmar, switched on only with the user's consent and
// off without a question, and "&Remove Starter", which takes the starter
// out of the first Run key and ends it.
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr const char* kLaunchEntry = "Launch Quellmar (Normal Mode)";
constexpr const char* kCloseEntry = "Close Quellmar (Running)";

constexpr const char* kAutoStartQuestion =
    "Quellmar will now be automatically started at Windows start up so that you can use it to quickly play mp3 "
    "files and start any of the Halvane applications or to create your own skin. Do you agree ?";
constexpr const char* kRemoveQuestion =
    "Quellmar Starter needs hardly memory and allows you to quickly start Quellmar, the great tool to clean up "
    "your mp3 collection. Do you really want to remove Quellmar Starter ?";
constexpr const char* kReinstallNotice = "To reinstall Quellmar Starter just start it once again manually.";
constexpr const char* kDeclinedNotice = "Good boy.";

class AutoStartAndRemoval : public StarterTest {
protected:
    HWND StartIdleStarter(StartedProcess& starter) {
        HWND icon = StartStarterWithIcon(starter);
        if (icon) {
            EXPECT_TRUE(starter.WaitUntilIdle());
        }
        return icon;
    }

    // Waits for the starter's message box and checks its text and buttons.
    HWND ExpectMessageBox(const StartedProcess& starter, const std::string& text,
                          const std::vector<std::string>& buttons) {
        HWND box = WaitForMessageBox(starter);
        EXPECT_NE(box, nullptr) << "no message box \"" << text << "\"";
        if (!box) return nullptr;
        EXPECT_EQ(DialogMessage(box), text);
        EXPECT_EQ(DialogButtons(box), buttons);
        return box;
    }

    static RegistryValue AutoStartValue() {
        return ReadRegistryValue(HKEY_LOCAL_MACHINE, kAutoStartKey, kAutoStartValue);
    }

    std::string QuotedStarterPath() const { return "\"" + starterPath() + "\""; }
};

const std::vector<std::string> kYesNo{"Yes", "No"};
const std::vector<std::string> kOk{"OK"};

TEST_F(AutoStartAndRemoval, AutoStartSwitchedOnWithYesLaunchesQuellmarAtTheNextStart) {
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(OpenMenuLookingLike(icon, starter, StarterMenuLook(kLaunchEntry, false)), nullptr);

    PressKey('A');  // "&Auto Start Quellmar"
    HWND question = ExpectMessageBox(starter, kAutoStartQuestion, kYesNo);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(PressDialogButton(question, "Yes"));
    RegistryValue stored;
    EXPECT_TRUE(WaitUntil([&] { return (stored = AutoStartValue()).data == "True"; }))
        << "the setting holds \"" << stored.data << "\"";
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(job().TotalProcesses(), 1u) << "switching on launched something";

    // The menu shows the setting by its check mark; "&Close Starter".
    ASSERT_NE(OpenMenuLookingLike(icon, starter, StarterMenuLook(kLaunchEntry, true)), nullptr);
    PressKey('C');
    ASSERT_TRUE(starter.WaitForExit());
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(icon); }));

    // Started again, it launches Quellmar by itself.
    StartedProcess again;
    ASSERT_NE(StartStarterWithIcon(again), nullptr);
    ASSERT_NE(WaitForJobWindow(kCaptionNormal), nullptr) << "Quellmar was not launched at start-up";
    std::vector<StandinStart> starts = standinStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, "\"" + targetPath() + "\"");
    EXPECT_TRUE(again.Running());
}

TEST_F(AutoStartAndRemoval, AutoStartQuestionAnsweredNoChangesNothing) {
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(OpenMenu(icon, starter), nullptr);

    PressKey('A');
    HWND question = ExpectMessageBox(starter, kAutoStartQuestion, kYesNo);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(PressDialogButton(question, "No"));
    ASSERT_TRUE(starter.WaitUntilIdle());

    EXPECT_FALSE(AutoStartValue().present) << "the setting was written: \"" << AutoStartValue().data << "\"";
    EXPECT_EQ(FindDialog(kMessageBoxTitle, starter.pid()), nullptr) << "another box followed";
    ASSERT_NE(OpenMenuLookingLike(icon, starter, StarterMenuLook(kLaunchEntry, false)), nullptr);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForPopupMenusClosed(starter.pid()));
    EXPECT_EQ(job().TotalProcesses(), 1u);
}

TEST_F(AutoStartAndRemoval, AutoStartSwitchedOffWithoutAQuestion) {
    ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, kAutoStartKey, kAutoStartValue, "True"));
    // Saving re-creates the key: nothing else in it survives.
    ASSERT_TRUE(WriteRegistryString(HKEY_LOCAL_MACHINE, kAutoStartKey, "left over", "x"));
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(WaitForJobWindow(kCaptionNormal), nullptr) << "the setting did not launch Quellmar";
    ASSERT_TRUE(starter.WaitUntilIdle());
    ASSERT_NE(OpenMenuLookingLike(icon, starter, StarterMenuLook(kCloseEntry, true)), nullptr);

    PressKey('A');
    RegistryValue stored;
    EXPECT_TRUE(WaitUntil([&] { return (stored = AutoStartValue()).data == "False"; }))
        << "the setting holds \"" << stored.data << "\"";
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(FindDialog(kMessageBoxTitle, starter.pid()), nullptr) << "switching off asked a question";
    EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kAutoStartKey, "left over").present);

    ASSERT_NE(OpenMenuLookingLike(icon, starter, StarterMenuLook(kCloseEntry, false)), nullptr);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForPopupMenusClosed(starter.pid()));
    EXPECT_EQ(standinStarts().size(), 1u);
}

TEST_F(AutoStartAndRemoval, RemoveAnsweredNoSaysGoodBoyAndKeepsEverything) {
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).data, QuotedStarterPath());
    ASSERT_NE(OpenMenu(icon, starter), nullptr);

    PressKey('R');  // "&Remove Starter"
    HWND question = ExpectMessageBox(starter, kRemoveQuestion, kYesNo);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(PressDialogButton(question, "No"));
    HWND notice = ExpectMessageBox(starter, kDeclinedNotice, kOk);
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(PressDialogButton(notice, "OK"));

    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_TRUE(starter.Running());
    EXPECT_TRUE(IsWindow(icon));
    EXPECT_EQ(FindDialog(kMessageBoxTitle, starter.pid()), nullptr);
    for (const char* key : {kRunKey, kRunKeyNt}) {
        EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, key, kRunValue).data, QuotedStarterPath()) << key;
    }
}

TEST_F(AutoStartAndRemoval, RemoveAnsweredYesTellsFirstThenDeletesTheFirstRunValueAndEnds) {
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).data, QuotedStarterPath());
    ASSERT_NE(OpenMenu(icon, starter), nullptr);

    PressKey('R');
    HWND question = ExpectMessageBox(starter, kRemoveQuestion, kYesNo);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(PressDialogButton(question, "Yes"));
    HWND notice = ExpectMessageBox(starter, kReinstallNotice, kOk);
    ASSERT_NE(notice, nullptr);
    // While the notice is open nothing has been removed yet.
    EXPECT_TRUE(starter.Running());
    EXPECT_TRUE(IsWindow(icon));
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).data, QuotedStarterPath());

    ASSERT_TRUE(PressDialogButton(notice, "OK"));
    EXPECT_TRUE(starter.WaitForExit()) << "the starter still runs";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(icon); })) << "its icon stayed in the tray";
    EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).present);
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue).data, QuotedStarterPath());
}

}  // namespace
}  // namespace e2e
