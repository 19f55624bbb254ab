// The Quellmar commands: launch by its quoted path, restore when minimised,
// close when running (a hung Quellmar left alone, a busy one waited for),
// Extended Help with its switch, and the two warnings
// when Quellmar.exe is missing beside the starter.
#include "Driver.h"

const Box kNotFound{kTitle, "Quellmar was not found in current directory  !", 48};
const Box kModeNotFound{
    kTitle, "Quellmar was not found in current directory, please move this program to the right location !", 48};

TEST_F(Journey, QuellmarCommands) {
    const std::string starts = dir_ + "Quellmar.starts.log", events = dir_ + "Quellmar.events.log";
    const std::string quellmar = "\"" + dir_ + "Quellmar.exe\"", minimized = dir_ + "Quellmar.start-minimized";
    ASSERT_TRUE(std::ofstream(minimized));
    ASSERT_TRUE(Start());
    // The first entry follows Quellmar's state; the special modes are grey while it runs.
    EXPECT_TRUE(Choose("_.", 0, "Launch Quellmar (Normal Mode)"));
    EXPECT_EQ(Log(starts, 1), Lines{quellmar + "\tC:\\"});
    ASSERT_TRUE(Wait([&] { return IsIconic(Find(nullptr, "Quellmar", 0)); })) << "no minimised Quellmar";
    ASSERT_TRUE(DeleteFileA(minimized.c_str()));
    ASSERT_TRUE(Choose("_."));
    EXPECT_EQ(Lines(shown_.begin(), shown_.begin() + 4),
              (Lines{"Restore Quellmar (Minimized)", "-", "Launch Quellmar (Special Modes)...", "> Extended Help [grey]"}));
    EXPECT_EQ(Log(events, 1), Lines{"restored"});
    EXPECT_TRUE(Choose("_.", 0, "Close Quellmar (Running)"));
    EXPECT_EQ(Log(events, 2), (Lines{"restored", "closed"}));

    // Extended Help: the quoted path, then the switch.
    EXPECT_TRUE(Choose("__>."));
    EXPECT_EQ(Log(starts, 2).at(1), quellmar + " /ExtendedHelp\tC:\\");
    const HWND help = Wait([&] { return Find(nullptr, "Quellmar (extended help mode)", 0); });
    ASSERT_TRUE(help);
    // Hung, it is left alone, and the starter goes on taking commands.
    ASSERT_TRUE(std::ofstream(dir_ + "Quellmar.hang"));
    ASSERT_TRUE(Wait([&] { return IsHungAppWindow(help); }));
    EXPECT_TRUE(Choose("_.", 0, "Close Quellmar (Running)"));
    EXPECT_TRUE(Choose("A"));
    EXPECT_TRUE(Answer(kAsk, IDNO));
    ASSERT_TRUE(DeleteFileA((dir_ + "Quellmar.hang").c_str()));
    ASSERT_TRUE(Wait([&] { return !IsHungAppWindow(help); }));
    // Busy for 3 s over the starter's question is not hung: it is closed once it answers.
    ASSERT_TRUE(std::ofstream(dir_ + "Quellmar.busy"));
    EXPECT_TRUE(Choose("_.", 0, "Close Quellmar (Running)"));
    EXPECT_EQ(Log(events, 5), (Lines{"restored", "closed", "hanging", "busy", "closed"}));

    // Without Quellmar.exe each launch has its own warning, and starts nothing.
    ASSERT_TRUE(Wait([&] { return DeleteFileA((dir_ + "Quellmar.exe").c_str()); }));
    EXPECT_TRUE(Choose("_."));
    EXPECT_TRUE(Answer(kNotFound, IDOK));
    EXPECT_TRUE(Choose("__>."));
    EXPECT_TRUE(Answer(kModeNotFound, IDOK));
    EXPECT_EQ(Log(starts, 0).size(), 2u);
}
