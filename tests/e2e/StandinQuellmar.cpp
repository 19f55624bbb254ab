// The stand-in Quellmar, which the end-to-end tests and the run command use
// in place of the real one: the captions of its modes, the trace of its
// starts and reactions, and the control files that change how it starts
// and whether it closes.
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <string>

namespace e2e {
namespace {

class StandinQuellmar : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = JoinPath(kTestsRoot, CurrentTestName());
        ASSERT_TRUE(MakeFreshFolder(folder_));
        ASSERT_TRUE(CopyFileTo(ToWindowsPath(E2E_STANDIN_EXE), path()));
    }
    void TearDown() override { job_.EndAll(); }

    std::string path() const { return JoinPath(folder_, kTargetFile); }

    // Starts it and waits for its window with that caption.
    HWND StartWithWindow(const std::string& commandLine, const char* caption, StartedProcess& process) {
        process = job_.Start(commandLine, kTestsRoot);
        EXPECT_TRUE(process) << commandLine;
        if (!process) return nullptr;
        HWND window = WaitForTopLevel(nullptr, caption, process.pid());
        EXPECT_NE(window, nullptr) << "no window \"" << caption << "\" for " << commandLine;
        return window;
    }

    std::string folder_;
    ProcessJob job_;
};

struct ModeCase {
    const char* switchText;
    const char* caption;
};

class StandinModes : public StandinQuellmar, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StandinModes, ShowsTheCaptionOfItsModeAndLogsTheStart) {
    std::string commandLine = "\"" + path() + "\"" + GetParam().switchText;
    StartedProcess process;
    HWND window = StartWithWindow(commandLine, GetParam().caption, process);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));

    std::vector<StandinStart> starts = StandinStarts(folder_);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, commandLine);
    EXPECT_EQ(starts[0].currentDirectory, kTestsRoot);
}

INSTANTIATE_TEST_SUITE_P(AllModes, StandinModes,
                         ::testing::Values(ModeCase{"", kCaptionNormal}, ModeCase{" /FastRead", kCaptionFastRead},
                                           ModeCase{" /FastSort", kCaptionFastSort},
                                           ModeCase{" /ExtendedHelp", kCaptionExtendedHelp}));

// The starter starts Quellmar by its path without quotes; in a folder with
// blanks that must still reach the program, with the switch after it.
TEST_F(StandinQuellmar, StartsFromAnUnquotedPathWithBlanksAndLogsEachStart) {
    StartedProcess first;
    StartedProcess second;
    ASSERT_NE(StartWithWindow(path(), kCaptionNormal, first), nullptr);
    ASSERT_NE(StartWithWindow(path() + " /FastRead", kCaptionFastRead, second), nullptr);

    std::vector<StandinStart> starts = StandinStarts(folder_);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(WithoutProgramQuotes(starts[0].commandLine), path());
    EXPECT_EQ(WithoutProgramQuotes(starts[1].commandLine), path() + " /FastRead");
}

TEST_F(StandinQuellmar, ClosesOnWmCloseAndSaysSo) {
    StartedProcess process;
    HWND window = StartWithWindow("\"" + path() + "\"", kCaptionNormal, process);
    ASSERT_NE(window, nullptr);

    // A restore of a window that is neither minimised nor maximised is no
    // restore: nothing is logged for it.
    ShowWindow(window, SW_RESTORE);
    SendMessageA(window, WM_CLOSE, 0, 0);

    EXPECT_TRUE(process.WaitForExit());
    EXPECT_EQ(StandinEvents(folder_), std::vector<std::string>{"closed"});
}

TEST_F(StandinQuellmar, RefusesToCloseWhileItsControlFileIsThere) {
    ASSERT_TRUE(SetStandinControl(folder_, kRefuseClose, true));
    StartedProcess process;
    HWND window = StartWithWindow("\"" + path() + "\"", kCaptionNormal, process);
    ASSERT_NE(window, nullptr);

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(process.Running());
    EXPECT_EQ(StandinEvents(folder_), std::vector<std::string>{"close refused"});

    // Looked up at each WM_CLOSE: without the file the next one closes it.
    ASSERT_TRUE(SetStandinControl(folder_, kRefuseClose, false));
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process.WaitForExit());
    EXPECT_EQ(StandinEvents(folder_), (std::vector<std::string>{"close refused", "closed"}));
}

struct SizeCase {
    const char* controlFile;
    BOOL(WINAPI* inState)(HWND);
};

class StandinStartStates : public StandinQuellmar, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(StandinStartStates, StartsAsAskedAndLogsTheRestore) {
    ASSERT_TRUE(SetStandinControl(folder_, GetParam().controlFile, true));
    StartedProcess process;
    HWND window = StartWithWindow("\"" + path() + "\"", kCaptionNormal, process);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GetParam().inState(window) != FALSE; }));
    EXPECT_TRUE(StandinEvents(folder_).empty());

    ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(WaitUntil([&] { return StandinEvents(folder_) == std::vector<std::string>{"restored"}; }))
        << "events: " << ::testing::PrintToString(StandinEvents(folder_));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_FALSE(IsZoomed(window));
}

INSTANTIATE_TEST_SUITE_P(MinimisedAndMaximised, StandinStartStates,
                         ::testing::Values(SizeCase{kStartMinimized, IsIconic}, SizeCase{kStartMaximized, IsZoomed}));

}  // namespace
}  // namespace e2e
