// The menu's commands for Quellmar, chosen the way a user chooses them:
// the first entry launches, restores or closes Quellmar as its caption
// says, "Extended Help" launches it in that mode, and a missing Quellmar
// is reported in a message box.
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr const char* kLaunchEntry = "Launch Quellmar (Normal Mode)";
constexpr const char* kRestoreEntry = "Restore Quellmar (Minimized)";
constexpr const char* kCloseEntry = "Close Quellmar (Running)";

class MenuCommands : public StarterTest {
protected:
    // The starter, started and idle with its icon; null when that failed.
    HWND StartIdleStarter(StartedProcess& starter) {
        HWND icon = StartStarterWithIcon(starter);
        if (icon) {
            EXPECT_TRUE(starter.WaitUntilIdle());
        }
        return icon;
    }

    // Quellmar started by the user before the starter looks at it, with
    // its window shown in the state the control file asks for.
    HWND StartQuellmarByHand(StartedProcess& quellmar, const char* caption = kCaptionNormal) {
        quellmar = job().Start("\"" + targetPath() + "\"", folder());
        EXPECT_TRUE(quellmar) << targetPath();
        if (!quellmar) return nullptr;
        HWND window = WaitForTopLevel(nullptr, caption, quellmar.pid());
        EXPECT_NE(window, nullptr) << "the stand-in showed no window \"" << caption << "\"";
        return window;
    }

    // The first entry, the special modes' only visible entry.
    static void ChooseFirstEntry() { PressKeys({VK_DOWN, VK_RETURN}); }
    static void ChooseExtendedHelp() { PressKeys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}); }
};

TEST_F(MenuCommands, LaunchStartsQuellmarOnceByItsQuotedPath) {
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(OpenMenuLookingLike(icon, starter, StarterMenuLook(kLaunchEntry, false)), nullptr);

    ChooseFirstEntry();
    HWND window = WaitForJobWindow(kCaptionNormal);
    ASSERT_NE(window, nullptr) << "Quellmar was not launched";
    ASSERT_TRUE(starter.WaitUntilIdle());

    std::vector<StandinStart> starts = standinStarts();
    ASSERT_EQ(starts.size(), 1u);
    // The path alone, quoted as it holds blanks, without a switch.
    EXPECT_EQ(starts[0].commandLine, "\"" + targetPath() + "\"");
    EXPECT_EQ(job().TotalProcesses(), 2u) << "the starter started something besides Quellmar";
    EXPECT_TRUE(starter.Running());
    EXPECT_TRUE(IsWindow(icon));
}

TEST_F(MenuCommands, RestoreBringsBackAMinimisedQuellmar) {
    ASSERT_TRUE(SetStandinControl(folder(), kStartMinimized, true));
    StartedProcess quellmar;
    HWND window = StartQuellmarByHand(quellmar);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; })) << "the stand-in did not start minimised";

    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(OpenMenuLookingLike(icon, starter, StarterMenuLook(kRestoreEntry, false)), nullptr);

    ChooseFirstEntry();
    EXPECT_TRUE(WaitUntil([&] { return standinEvents() == std::vector<std::string>{"restored"}; }))
        << "events: " << ::testing::PrintToString(standinEvents());
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_TRUE(IsWindow(window)) << "restoring closed Quellmar";
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(standinStarts().size(), 1u) << "Quellmar was launched once more";
    EXPECT_TRUE(starter.Running());
}

struct CloseCase {
    const char* controlFile;  // how Quellmar's window is shown: nullptr normal
    std::vector<std::string> events;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << (c.controlFile ? c.controlFile : "normal window");
}

class CloseQuellmar : public MenuCommands, public ::testing::WithParamInterface<CloseCase> {};

// The window is restored before it is asked to close: a maximised one
// shows that as a restore.
TEST_P(CloseQuellmar, ClosesARunningQuellmarAndItsWindowGoes) {
    if (GetParam().controlFile) {
        ASSERT_TRUE(SetStandinControl(folder(), GetParam().controlFile, true));
    }
    StartedProcess quellmar;
    HWND window = StartQuellmarByHand(quellmar);
    ASSERT_NE(window, nullptr);

    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(OpenMenuLookingLike(icon, starter, StarterMenuLook(kCloseEntry, false)), nullptr);

    ChooseFirstEntry();
    EXPECT_TRUE(quellmar.WaitForExit()) << "Quellmar still runs";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(standinEvents(), GetParam().events);
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_TRUE(starter.Running());
    EXPECT_EQ(standinStarts().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(NormalAndMaximised, CloseQuellmar,
                         ::testing::Values(CloseCase{nullptr, {"closed"}},
                                           CloseCase{kStartMaximized, {"restored", "closed"}}),
                         [](const ::testing::TestParamInfo<CloseCase>& info) {
                             return std::string(info.param.controlFile ? "Maximised" : "Normal");
                         });

TEST_F(MenuCommands, ExtendedHelpStartsQuellmarInThatMode) {
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(OpenMenu(icon, starter), nullptr);

    ChooseExtendedHelp();
    ASSERT_NE(WaitForJobWindow(kCaptionExtendedHelp), nullptr) << "no Quellmar in extended help mode";
    std::vector<StandinStart> starts = standinStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(WithoutProgramQuotes(starts[0].commandLine), targetPath() + " /ExtendedHelp");
    EXPECT_TRUE(starter.Running());
}

// While Quellmar runs, in any mode, its special modes are greyed: choosing
// one starts nothing.
TEST_F(MenuCommands, ExtendedHelpCanNotBeChosenWhileQuellmarRuns) {
    StartedProcess quellmar;
    ASSERT_NE(StartQuellmarByHand(quellmar), nullptr);
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(OpenMenu(icon, starter), nullptr);

    ChooseExtendedHelp();
    // A greyed entry keeps the menu open; leave the submenu and the menu.
    PressKeys({VK_ESCAPE, VK_ESCAPE});
    ASSERT_TRUE(WaitForPopupMenusClosed(starter.pid()));
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(standinStarts().size(), 1u) << "Quellmar was launched although it runs";
    EXPECT_EQ(job().TotalProcesses(), 2u);
    EXPECT_EQ(FindTopLevel(nullptr, kCaptionExtendedHelp), nullptr);
}

struct MissingCase {
    const char* name;
    void (*choose)();
    const char* message;
};

void PrintTo(const MissingCase& c, std::ostream* os) { *os << c.name; }

class QuellmarMissing : public MenuCommands, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(QuellmarMissing, WarnsAndStartsNothing) {
    ASSERT_TRUE(DeleteFileA(targetPath().c_str()));
    StartedProcess starter;
    HWND icon = StartIdleStarter(starter);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(OpenMenu(icon, starter), nullptr);

    GetParam().choose();
    HWND box = WaitForMessageBox(starter);
    ASSERT_NE(box, nullptr) << "no warning was shown";
    EXPECT_EQ(DialogMessage(box), GetParam().message);
    EXPECT_EQ(DialogButtons(box), std::vector<std::string>{"OK"});
    ASSERT_TRUE(PressDialogButton(box, "OK"));

    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_TRUE(starter.Running());
    EXPECT_TRUE(IsWindow(icon));
    EXPECT_EQ(job().TotalProcesses(), 1u) << "the starter started a process";
    EXPECT_EQ(FindDialog(kMessageBoxTitle, starter.pid()), nullptr) << "a second box followed";
}

INSTANTIATE_TEST_SUITE_P(
    BothLaunches, QuellmarMissing,
    ::testing::Values(MissingCase{"Launch", [] { PressKeys({VK_DOWN, VK_RETURN}); },
                                  "Quellmar was not found in current directory  !"},
                      MissingCase{"ExtendedHelp", [] { PressKeys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}); },
                                  "Quellmar was not found in current directory, please move this program to the "
                                  "right location !"}),
    [](const ::testing::TestParamInfo<MissingCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
