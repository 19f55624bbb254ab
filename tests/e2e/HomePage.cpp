// The home page and its fallbacks, the menu opened with the right button:
// the program that opens ".html" files, else (its program file gone, or no
// association) the Explorer (a recorder named explorer.exe beside the
// starter, where a program is looked for first), else a message with the
// address.
#include "Driver.h"

const Box kNoBrowser{
    kTitle, "Error starting Internet browser application, please go to www.quellmar.example manually !", 48};

TEST_F(Journey, HomePage) {
    const std::string browser = dir_ + "Web Browser\\browser.exe", explorer = dir_ + "explorer.exe";
    ASSERT_TRUE(PlantProgram(browser));
    ASSERT_TRUE(Plant(HKEY_CLASSES_ROOT, ".html", "", kPageType));
    ASSERT_TRUE(Plant(HKEY_CLASSES_ROOT, std::string(kPageType) + "\\shell\\open\\command", "", ("\"" + browser + "\" -osint -url \"%1\"").c_str()));
    ASSERT_TRUE(Start());
    button_ = MOUSEEVENTF_RIGHTDOWN;
    EXPECT_TRUE(Choose("H"));
    EXPECT_EQ(Log(dir_ + "Web Browser\\browser.starts.log", 1), Lines{"\"" + browser + "\" -osint -url www.quellmar.example\tC:\\"});

    // The Explorer, when the ".html" program was uninstalled, and when there is no association at all.
    ASSERT_TRUE(PlantProgram(explorer) && Wait([&] { return DeleteFileA(browser.c_str()); }));
    EXPECT_TRUE(Choose("H"));
    ASSERT_TRUE(Plant(HKEY_CLASSES_ROOT, ".html", "", nullptr));
    EXPECT_TRUE(Choose("H"));
    EXPECT_EQ(Log(dir_ + "explorer.starts.log", 2), Lines(2, "explorer.exe www.quellmar.example\tC:\\"));

    ASSERT_TRUE(Wait([&] { return !!(std::ofstream(explorer) << "no program"); })) << "explorer.exe runs on";
    EXPECT_TRUE(Choose("H"));
    EXPECT_TRUE(Answer(kNoBrowser, IDOK));
}
