// The companion applications of the Halvane suite, launched from the
// submenu "Launch Halvane Application...": a program starts in its own
// folder, a folder opens with the browse application, a missing program
// is reported, and a missing browse application is asked for in the
// input box "Error during browsing" and stored when the user names one.
// The programs the starter starts here are copies of the start reporter,
// which write down how they were started.
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr const char* kInputBoxTitle = "Error during browsing";
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

class Companions : public StarterTest {
protected:
    void SetUp() override {
        StarterTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(CreateDirectoryA(musicFolder().c_str(), nullptr)) << musicFolder();
    }

    std::string toolPath() const { return JoinPath(folder(), "Halvane\\tool.exe"); }
    std::string browsePath() const { return JoinPath(folder(), "Browse\\browse.exe"); }
    std::string musicFolder() const { return JoinPath(folder(), "Music\\"); }

    static bool SetCompanion(int slot, const char* kind, const std::string& name) {
        const std::string n = std::to_string(slot);
        return WriteRegistryString(HKEY_LOCAL_MACHINE, kCompanionKey, ("file type" + n).c_str(), kind) &&
               WriteRegistryString(HKEY_LOCAL_MACHINE, kCompanionKey, ("application name" + n).c_str(), name);
    }
    static bool SetBrowseApplication(const std::string& command) {
        return WriteRegistryString(HKEY_LOCAL_MACHINE, kCompanionKey, "browse application", command);
    }
    static RegistryValue CompanionValue(const char* name) {
        return ReadRegistryValue(HKEY_LOCAL_MACHINE, kCompanionKey, name);
    }

    HWND StartIdleStarter(StartedProcess& starter) {
        HWND icon = StartStarterWithIcon(starter);
        if (icon) {
            EXPECT_TRUE(starter.WaitUntilIdle());
        }
        return icon;
    }

    // Opens the menu and chooses entry `slot` of the companions' submenu.
    void ChooseCompanion(HWND icon, const StartedProcess& starter, int slot) {
        ASSERT_NE(OpenMenu(icon, starter), nullptr);
        // "Launch Halvane Application..." is the third entry.
        PressKeys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT});
        for (int i = 1; i < slot; ++i) PressKey(VK_DOWN);
        PressKey(VK_RETURN);
    }

    // Waits until the reporter at path has logged that many starts.
    static std::vector<ReporterStart> WaitForStarts(const std::string& path, std::size_t count) {
        std::vector<ReporterStart> starts;
        WaitUntil([&] { return (starts = ReporterStarts(path)).size() >= count; });
        return starts;
    }

    HWND WaitForInputBox(const StartedProcess& starter) {
        HWND box = WaitForDialog(kInputBoxTitle, starter.pid());
        EXPECT_NE(box, nullptr) << "no input box \"" << kInputBoxTitle << "\"";
        return box;
    }

    static std::string PromptFor(const std::string& browseApplication) {
        return "Please enter path to browse application (" + browseApplication + " not found):";
    }
};

TEST_F(Companions, AProgramStartsInItsOwnFolderAndTheStarterReturnsToItsOwn) {
    ASSERT_TRUE(InstallReporter(toolPath()));
    ASSERT_TRUE(SetCompanion(1, "1", toolPath()));
    // The same program with an argument, quoted: its folder can't be made
    // current, so it starts in the starter's current directory.
    ASSERT_TRUE(SetCompanion(2, "1", "\"" + toolPath() + "\" -x"));
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);

    ASSERT_NO_FATAL_FAILURE(ChooseCompanion(icon, starter, 1));
    std::vector<ReporterStart> starts = WaitForStarts(toolPath(), 1);
    ASSERT_EQ(starts.size(), 1u) << "the companion was not started";
    EXPECT_EQ(WithoutProgramQuotes(starts[0].commandLine), toolPath());
    EXPECT_EQ(starts[0].currentDirectory, JoinPath(folder(), "Halvane"));
    EXPECT_EQ(starts[0].showCommand, kShowNormal);
    ASSERT_TRUE(starter.WaitUntilIdle());

    // After a companion start the starter's current directory is its own
    // folder, not the one it was started in.
    ASSERT_NO_FATAL_FAILURE(ChooseCompanion(icon, starter, 2));
    starts = WaitForStarts(toolPath(), 2);
    ASSERT_EQ(starts.size(), 2u) << "the second companion was not started";
    EXPECT_EQ(starts[1].commandLine, "\"" + toolPath() + "\" -x");
    EXPECT_EQ(starts[1].currentDirectory, folder());
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(FindDialog(kMessageBoxTitle, starter.pid()), nullptr);
    EXPECT_TRUE(starter.Running());
}

TEST_F(Companions, AFolderOpensWithTheBrowseApplicationInItsFolder) {
    ASSERT_TRUE(InstallReporter(browsePath()));
    ASSERT_TRUE(SetBrowseApplication(browsePath()));
    // Slot 1 is empty: the folder is the second entry.
    ASSERT_TRUE(SetCompanion(2, "2", musicFolder()));
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);

    ASSERT_NO_FATAL_FAILURE(ChooseCompanion(icon, starter, 2));
    std::vector<ReporterStart> starts = WaitForStarts(browsePath(), 1);
    ASSERT_EQ(starts.size(), 1u) << "the browse application was not started";
    EXPECT_EQ(WithoutProgramQuotes(starts[0].commandLine), browsePath() + " " + musicFolder());
    EXPECT_EQ(starts[0].currentDirectory, JoinPath(folder(), "Browse"));
    EXPECT_EQ(starts[0].showCommand, kShowNormal);

    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(FindDialog(kInputBoxTitle, starter.pid()), nullptr);
    // Only an answer in the input box rewrites the list.
    EXPECT_FALSE(CompanionValue("file type5").present);
    EXPECT_EQ(job().TotalProcesses(), 2u);
}

TEST_F(Companions, AMissingProgramIsReportedAndNothingStarts) {
    const std::string missing = JoinPath(folder(), "Missing\\gone.exe");
    ASSERT_TRUE(SetCompanion(1, "1", missing));
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);

    ASSERT_NO_FATAL_FAILURE(ChooseCompanion(icon, starter, 1));
    HWND box = WaitForMessageBox(starter);
    ASSERT_NE(box, nullptr) << "no error was shown";
    EXPECT_EQ(DialogMessage(box), "Error starting application '" + missing + "' !");
    EXPECT_EQ(DialogButtons(box), std::vector<std::string>{"OK"});
    ASSERT_TRUE(PressDialogButton(box, "OK"));

    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_TRUE(starter.Running());
    EXPECT_EQ(FindDialog(kMessageBoxTitle, starter.pid()), nullptr) << "a second box followed";
    EXPECT_EQ(job().TotalProcesses(), 1u);
}

TEST_F(Companions, AMissingBrowseApplicationIsAskedForStoredAndStarted) {
    const std::string missing = JoinPath(folder(), "NoBrowser\\browse.exe");
    ASSERT_TRUE(InstallReporter(browsePath()));
    ASSERT_TRUE(SetBrowseApplication(missing));
    ASSERT_TRUE(SetCompanion(1, "2", musicFolder()));
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);

    ASSERT_NO_FATAL_FAILURE(ChooseCompanion(icon, starter, 1));
    HWND box = WaitForInputBox(starter);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogMessage(box), PromptFor(missing));
    EXPECT_EQ(WindowText(FindChild(box, "Edit")), "");
    EXPECT_EQ(DialogButtons(box), (std::vector<std::string>{"OK", "Cancel"}));
    ASSERT_TRUE(FillEditField(box, browsePath()));
    ASSERT_TRUE(PressDialogButton(box, "OK"));

    std::vector<ReporterStart> starts = WaitForStarts(browsePath(), 1);
    ASSERT_EQ(starts.size(), 1u) << "the named browse application was not started";
    EXPECT_EQ(WithoutProgramQuotes(starts[0].commandLine), browsePath() + " " + musicFolder());
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(FindDialog(kInputBoxTitle, starter.pid()), nullptr) << "the input box came again";

    // Stored with the whole list, every value as text.
    RegistryValue stored = CompanionValue("browse application");
    EXPECT_EQ(stored.data, browsePath());
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(CompanionValue("file type1").data, "2");
    EXPECT_EQ(CompanionValue("application name1").data, musicFolder());
    RegistryValue emptySlot = CompanionValue("file type5");
    EXPECT_TRUE(emptySlot.present) << "the list was not written whole";
    EXPECT_EQ(emptySlot.data, "0");
}

TEST_F(Companions, ACancelledInputBoxStoresNothingAndTheNextTryAsksAgain) {
    const std::string missing = JoinPath(folder(), "NoBrowser\\browse.exe");
    ASSERT_TRUE(SetBrowseApplication(missing));
    ASSERT_TRUE(SetCompanion(1, "2", musicFolder()));
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);

    ASSERT_NO_FATAL_FAILURE(ChooseCompanion(icon, starter, 1));
    HWND box = WaitForInputBox(starter);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(FillEditField(box, "typed, then cancelled"));
    ASSERT_TRUE(PressDialogButton(box, "Cancel"));
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(FindDialog(kInputBoxTitle, starter.pid()), nullptr) << "the input box came again";
    EXPECT_EQ(CompanionValue("browse application").data, missing);
    EXPECT_FALSE(CompanionValue("file type5").present) << "the list was written";
    EXPECT_EQ(job().TotalProcesses(), 1u);

    // The next opening of the menu reads the stored browse application again.
    ASSERT_NO_FATAL_FAILURE(ChooseCompanion(icon, starter, 1));
    box = WaitForInputBox(starter);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogMessage(box), PromptFor(missing));
    ASSERT_TRUE(PressDialogButton(box, "Cancel"));
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_TRUE(starter.Running());
}

// Every answer is stored before it is tried; one that can't be started
// either brings the box back, naming it.
TEST_F(Companions, AnAnswerThatCanNotBeStartedIsStoredAndAskedAgain) {
    const std::string missing = JoinPath(folder(), "NoBrowser\\browse.exe");
    const std::string alsoMissing = JoinPath(folder(), "Elsewhere\\browse.exe");
    ASSERT_TRUE(SetBrowseApplication(missing));
    ASSERT_TRUE(SetCompanion(1, "2", musicFolder()));
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);

    ASSERT_NO_FATAL_FAILURE(ChooseCompanion(icon, starter, 1));
    HWND box = WaitForInputBox(starter);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(FillEditField(box, alsoMissing));
    ASSERT_TRUE(PressDialogButton(box, "OK"));

    HWND again = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        again = FindDialog(kInputBoxTitle, starter.pid());
        return again != nullptr && DialogMessage(again) == PromptFor(alsoMissing);
    })) << "no input box naming " << alsoMissing;
    EXPECT_EQ(CompanionValue("browse application").data, alsoMissing);
    ASSERT_TRUE(PressDialogButton(again, "Cancel"));
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(CompanionValue("browse application").data, alsoMissing);
    EXPECT_EQ(job().TotalProcesses(), 1u);
}

}  // namespace
}  // namespace e2e
