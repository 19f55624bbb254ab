// The programs the starter starts besides Quellmar, the menu opened with the
// right button. Companions and the input box: a program (a hidden one too)
// started in its own folder, a folder opened with the browse application, a
// missing program reported, and a missing browse application asked for, the
// box's field empty: Cancel writes nothing, an answer is stored and opens
// the folder asked for, though the slot changed meanwhile; a folder that is
// not there opens nothing and asks nothing. The home page and its fallbacks:
// the program that opens ".html" files, else (its program file gone, or no
// association) the Explorer, else a message with the address. What the
// starter starts runs in its own folder once a companion ran.
#include "Driver.h"

constexpr const char* kList = "Software\\Quellmar\\KZHalvane";
const Box kNoBrowser{
    kTitle, "Error starting Internet browser application, please go to www.quellmar.example manually !", 48};

TEST_F(Journey, Companions) {
    const std::string tool = dir_ + "Tool Box\\tool.exe", music = dir_ + "My Music\\", browse = dir_ + "Browse App\\browse.exe";
    // A program found on the search path (in the Windows folder), given by its name alone.
    const std::string qtool = "C:\\windows\\qtool", own = dir_.substr(0, dir_.size() - 1);  // own: the starter's folder
    DeleteFileA((qtool + ".starts.log").c_str());
    // Missing, with blanks in their paths: quoted whole, they must not start C:\Program.exe instead.
    const std::string gone = dir_ + "Gone\\gone.exe", noBrowse = dir_ + "Nowhere\\browse.exe";
    const Box kStartError{kTitle, "Error starting application '" + gone + "' !", 48};
    const Box kAskBrowse{"Error during browsing",  // an input box: OK and Cancel, its field empty
                         "Please enter path to browse application (" + noBrowse + " not found): []", 1};
    // A hidden program starts as any other.
    ASSERT_TRUE(PlantProgram(tool) && SetFileAttributesA(tool.c_str(), FILE_ATTRIBUTE_HIDDEN) && PlantProgram(browse) &&
                CreateDirectoryA(music.c_str(), nullptr) && PlantProgram(qtool + ".exe"));
    // A program with arguments and blanks in its path; a Greek name of 34 characters (63 bytes in UTF-8) in full.
    const std::string greek = "\u0391\u03B8\u03AE\u03BD\u03B1 \u03BA\u03B1\u03B9 \u03A0\u03B5\u03B9\u03C1\u03B1\u03B9\u03AC\u03C2 "
                              "\u03BC\u03B1\u03B6\u03AF \u03BC\u03B1\u03C2 \u03C3\u03AE\u03BC\u03B5\u03C1\u03B1";
    const std::pair<const char*, std::string> values[] = {
        {"file type1", "1"}, {"application name1", tool + " -x"}, {"file type2", "2"}, {"application name2", music},
        {"file type3", "1"}, {"application name3", gone}, {"file type4", "1"},
        {"application name4", "C:\\" + greek + ".exe"}, {"browse application", noBrowse}};
    for (const auto& [name, value] : values) ASSERT_TRUE(Plant(HKEY_LOCAL_MACHINE, kList, name, value.c_str()));
    ASSERT_TRUE(Start());
    button_ = MOUSEEVENTF_RIGHTDOWN;
    // A program's name without its extension, a folder's name, empty slots grey.
    ASSERT_TRUE(Choose("___>."));
    EXPECT_EQ(Lines(shown_.begin() + Line(M1Companions), shown_.begin() + Line(M1Companions) + 1 + kM3Entries),
              (Lines{"Launch Halvane Application...", "> tool", "> My Music", "> gone", "> " + greek, "> [not defined] [grey]"}));
    // Its start recorded before the next one's can come first.
    EXPECT_EQ(Log(dir_ + "Tool Box\\tool.starts.log", 1), Lines{"\"" + tool + "\" -x\t" + dir_ + "Tool Box"});
    // Lines that start their program as written start it from the menu too: the process start adds ".exe"
    // to "tool"; a name for the search path stays unquoted (its "folder" is none: it starts in the starter's).
    for (const auto& [name, value] : {std::pair<const char*, std::string>{"application name1", dir_ + "Tool Box\\tool -y"},
                                      {"file type5", "1"}, {"application name5", "qtool.exe C:\\Music\\a.txt"}})
        ASSERT_TRUE(Plant(HKEY_LOCAL_MACHINE, kList, name, value.c_str()));
    EXPECT_TRUE(Choose("___>."));
    EXPECT_EQ(Log(dir_ + "Tool Box\\tool.starts.log", 2),
              (Lines{"\"" + tool + "\" -x\t" + dir_ + "Tool Box", "\"" + dir_ + "Tool Box\\tool\" -y\t" + dir_ + "Tool Box"}));
    EXPECT_TRUE(Choose("___>____."));
    EXPECT_EQ(Log(qtool + ".starts.log", 1), Lines{"qtool.exe C:\\Music\\a.txt\t" + own});
    EXPECT_TRUE(Choose("___>__."));
    EXPECT_TRUE(Answer(kStartError, IDOK));

    EXPECT_TRUE(Choose("___>_."));
    EXPECT_TRUE(Answer(kAskBrowse, IDCANCEL));
    EXPECT_TRUE(Choose("___>_."));
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kList, "browse application"), noBrowse);
    // The menu, opened while the box is open, reads the slot anew: the browse keeps the folder it was asked
    // for. Then the slot's folder is not there: it opens nothing and asks nothing.
    ASSERT_TRUE(Wait([&] { return Find("#32770", "Error during browsing", starter_.get().dwProcessId); }) &&
                Plant(HKEY_LOCAL_MACHINE, kList, "application name2", (music + "Gone\\").c_str()));
    EXPECT_TRUE(Choose("!"));
    EXPECT_TRUE(Answer(kAskBrowse, IDOK, browse.c_str()));
    EXPECT_EQ(Log(dir_ + "Browse App\\browse.starts.log", 1), Lines{"\"" + browse + "\" " + music + "\t" + dir_ + "Browse App"});
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kList, "browse application"), browse);
    // A folder that is not there opens nothing and asks nothing, with the browse application missing again.
    ASSERT_TRUE(Plant(HKEY_LOCAL_MACHINE, kList, "browse application", noBrowse.c_str()));
    EXPECT_TRUE(Choose("___>_."));
    EXPECT_FALSE(Wait([&] { return Find("#32770", "Error during browsing", starter_.get().dwProcessId); }, 2000));

    // The home page: the ".html" program (with arguments) gets the address; the Explorer (a recorder named
    // explorer.exe beside the starter, where a program is looked for first) when that program was
    // uninstalled, and when there is no association at all; else a message with the address.
    const std::string browser = dir_ + "Web Browser\\browser.exe", explorer = dir_ + "explorer.exe";
    ASSERT_TRUE(PlantProgram(browser) && Plant(HKEY_CLASSES_ROOT, ".html", "", kPageType) &&
                Plant(HKEY_CLASSES_ROOT, std::string(kPageType) + "\\shell\\open\\command", "", ("\"" + browser + "\" -osint -url \"%1\"").c_str()));
    EXPECT_TRUE(Choose("H"));
    EXPECT_EQ(Log(dir_ + "Web Browser\\browser.starts.log", 1), Lines{"\"" + browser + "\" -osint -url www.quellmar.example\t" + own});
    ASSERT_TRUE(PlantProgram(explorer) && Wait([&] { return DeleteFileA(browser.c_str()); }));
    EXPECT_TRUE(Choose("H"));
    ASSERT_TRUE(Plant(HKEY_CLASSES_ROOT, ".html", "", nullptr));
    EXPECT_TRUE(Choose("H"));
    EXPECT_EQ(Log(dir_ + "explorer.starts.log", 2), Lines(2, "explorer.exe www.quellmar.example\t" + own));
    ASSERT_TRUE(Wait([&] { return !!(std::ofstream(explorer) << "no program"); })) << "explorer.exe runs on";
    EXPECT_TRUE(Choose("H"));
    EXPECT_TRUE(Answer(kNoBrowser, IDOK));
}
