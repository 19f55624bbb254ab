// Finding, launching, restoring and closing Quellmar.
#include "StarterFixture.h"

#include "core/TargetApp.h"

namespace {

bool Received(HWND window, UINT message) {
    for (const sim::ReceivedMessage& m : sim::MessagesReceived(window))
        if (m.message == message) return true;
    return false;
}

}  // namespace

TEST_F(StarterTest, TargetStateFollowsTheCaptionsInSearchOrder) {
    HWND window = nullptr;
    Boolean minimised = True;
    EXPECT_EQ(GetTargetState(window, minimised), TargetNotRunning);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(minimised, False);

    // A caption with more behind it is not Quellmar's.
    sim::CreateTopLevelWindow("Quellmar - Collection.mp3");
    EXPECT_EQ(GetTargetState(window, minimised), TargetNotRunning);

    HWND fastRead = sim::CreateTopLevelWindow("FastRead - Quellmar");
    EXPECT_EQ(GetTargetState(window, minimised), TargetFastReadMode);
    EXPECT_EQ(window, fastRead);

    // Any program's window captioned exactly "Quellmar" counts, and the
    // normal mode is searched first.
    HWND normal = sim::CreateTopLevelWindow("Quellmar");
    EXPECT_EQ(GetTargetState(window, minimised), TargetNormalMode);
    EXPECT_EQ(window, normal);
}

TEST_F(StarterTest, EachModeCaptionGivesItsStateAndTheMinimisedFlag) {
    const struct { const char* caption; TargetState state; } modes[] = {
        {"FastSort - Quellmar", TargetFastSortMode},
        {"Quellmar (extended help mode)", TargetExtendedHelpMode},
    };
    for (const auto& mode : modes) {
        sim::Reset();
        sim::TopLevelWindowOptions options;
        options.showCommand = SW_MINIMIZE;
        HWND created = sim::CreateTopLevelWindow(mode.caption, options);
        HWND window = nullptr;
        Boolean minimised = False;
        EXPECT_EQ(GetTargetState(window, minimised), mode.state) << mode.caption;
        EXPECT_EQ(window, created);
        EXPECT_EQ(minimised, True);
    }
}

TEST_F(StarterTest, RestoreBringsAMaximisedQuellmarBackToNormalSize) {
    sim::TopLevelWindowOptions options;
    options.showCommand = SW_MAXIMIZE;
    HWND window = sim::CreateTopLevelWindow("Quellmar", options);
    EXPECT_EQ(ControlTarget(TargetActionRestore), True);
    sim::WindowState state;
    ASSERT_TRUE(sim::ReadWindow(window, state));
    EXPECT_FALSE(state.maximized);
    EXPECT_FALSE(state.minimized);
    EXPECT_TRUE(state.visible);
}

TEST_F(StarterTest, CloseRestoresTheWindowFirstThenAsksItToClose) {
    sim::TopLevelWindowOptions options;
    options.showCommand = SW_MINIMIZE;
    HWND window = sim::CreateTopLevelWindow("FastRead - Quellmar", options);
    EXPECT_EQ(ControlTarget(TargetActionClose), True);
    EXPECT_FALSE(IsWindow(window));
    // SW_RESTORE arrived before WM_CLOSE.
    const auto received = sim::MessagesReceived(window);
    std::size_t restored = received.size(), closed = received.size();
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (received[i].message == WM_SIZE && restored == received.size()) restored = i;
        if (received[i].message == WM_CLOSE) closed = i;
    }
    EXPECT_LT(restored, closed);
}

TEST_F(StarterTest, AQuellmarThatRefusesToCloseIsLeftAsItIs) {
    sim::TopLevelWindowOptions options;
    options.refuseClose = true;
    HWND window = sim::CreateTopLevelWindow("Quellmar", options);
    EXPECT_EQ(ControlTarget(TargetActionClose), True);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(Received(window, WM_CLOSE));
}

TEST_F(StarterTest, UnknownActionsAndAMissingQuellmarDoNothing) {
    EXPECT_EQ(ControlTarget(TargetActionRestore), False);
    EXPECT_EQ(ControlTarget(TargetActionClose), False);
    HWND window = sim::CreateTopLevelWindow("Quellmar");
    const std::size_t before = sim::MessagesReceived(window).size();
    EXPECT_EQ(ControlTarget(0), False);
    EXPECT_EQ(ControlTarget(3), False);
    EXPECT_EQ(sim::MessagesReceived(window).size(), before);
}

TEST_F(StarterTest, LaunchStartsTheQuotedTargetPathWithANormalWindow) {
    // "C:\Program.exe" exists: an unquoted path with blanks would start it.
    sim::AddProgram("C:\\Program.exe");
    InstallQuellmar();
    LaunchTarget();
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].program, kTargetPath);
    EXPECT_EQ(sim::Processes()[0].commandLine, std::string("\"") + kTargetPath + "\"");
    EXPECT_EQ(sim::Processes()[0].showCommand, SW_SHOWNORMAL);
    EXPECT_TRUE(sim::MessageBoxes().empty());
    EXPECT_EQ(sim::OpenHandleCount(), 0u);
}

TEST_F(StarterTest, AHiddenSystemOrFolderQuellmarCountsAsMissing) {
    const DWORD attributes[] = {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM};
    for (DWORD attribute : attributes) {
        sim::Reset();
        sim::AddFile(kTargetPath, attribute, true);
        LaunchTarget();
        EXPECT_TRUE(sim::Processes().empty());
        ASSERT_EQ(sim::MessageBoxes().size(), 1u);
        EXPECT_EQ(sim::MessageBoxes()[0].text, "Quellmar was not found in current directory  !");
        EXPECT_EQ(sim::MessageBoxes()[0].style, 48u);
    }
    sim::Reset();
    sim::AddFolder(kTargetPath);
    LaunchTarget();
    EXPECT_TRUE(sim::Processes().empty());
    EXPECT_EQ(sim::MessageBoxes().size(), 1u);
}

TEST_F(StarterTest, AQuellmarThatCannotBeStartedIsReportedAndTheStarterGoesOn) {
    sim::AddFile(kTargetPath, FILE_ATTRIBUTE_ARCHIVE, false);  // not a program
    ASSERT_TRUE(Load());
    ASSERT_TRUE(Choose(1, 1));
    EXPECT_TRUE(sim::Processes().empty());
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_EQ(sim::MessageBoxes()[0].text, std::string("Error starting application '") + kTargetPath + "' !");
    EXPECT_EQ(sim::MessageBoxes()[0].style, 48u);
    EXPECT_EQ(sim::TrayIcons().size(), 1u);
    EXPECT_TRUE(ClickIcon());
}
