// The Quellmar commands and the menu in each of Quellmar's states: launched
// at the start when auto-start is on, then launched, restored and closed
// from the first entry and started with Extended Help, with either button
// and with keys or the mouse; a hung Quellmar left alone, a busy one waited
// for; and a Quellmar.exe that is hidden, a system file or gone, which each
// launch reports as missing.
#include "Driver.h"

const Box kNotFound{kTitle, "Quellmar was not found in current directory  !", 48};
const Box kModeNotFound{
    kTitle, "Quellmar was not found in current directory, please move this program to the right location !", 48};
constexpr DWORD kLeft = MOUSEEVENTF_LEFTDOWN, kRight = MOUSEEVENTF_RIGHTDOWN;

TEST_F(Journey, QuellmarCommands) {
    const std::string starts = dir_ + "Quellmar.starts.log", events = dir_ + "Quellmar.events.log";
    const std::string quellmar = "\"" + dir_ + "Quellmar.exe\"", minimized = dir_ + "Quellmar.start-minimized";
    ASSERT_TRUE(std::ofstream(minimized) && Plant(HKEY_LOCAL_MACHINE, kAutoStartKey, kAutoStartValue, "True"));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Wait([&] { return IsIconic(Find(nullptr, "Quellmar", 0)); }) && DeleteFileA(minimized.c_str())) << "no minimised Quellmar";

    // Each state as the menu shows it: the first entry, Extended Help (grey while Quellmar runs) and the
    // check mark of Auto Start. The journey may start Quellmar in a mode itself, and waits for the windows
    // of those captions, and for the menu to show the state: a command picked just before, posted to the
    // starter, is carried out after a click on the icon that came first. Then the menu opens with the
    // button, and the keys, or a click on the first entry ('*' left, '^' right), give the command:
    // restore, close, auto-start off, launch, Extended Help. Of several Quellmar windows the first of its
    // captions' order is the one closed: the next row finds the others.
    const std::string help = "Quellmar (extended help mode)", read = "FastRead - Quellmar", sort = "FastSort - Quellmar";
    const Lines running{"Close Quellmar (Running)", "> Extended Help [grey]", "&Auto Start Quellmar"};
    const struct { const char* run; Lines shows; DWORD button; const char* keys; Lines menu; } rows[] = {
        {nullptr, {}, kLeft, "_.", {"Restore Quellmar (Minimized)", "> Extended Help [grey]", "&Auto Start Quellmar [x]"}},
        {nullptr, {}, kRight, "*", {"Close Quellmar (Running)", "> Extended Help [grey]", "&Auto Start Quellmar [x]"}},
        {nullptr, {}, kRight, "A", {"Launch Quellmar (Normal Mode)", "> Extended Help", "&Auto Start Quellmar [x]"}},
        {nullptr, {}, kLeft, "_.", {"Launch Quellmar (Normal Mode)", "> Extended Help", "&Auto Start Quellmar"}},
        {" /FastRead", {"Quellmar", read}, kLeft, "^", running},
        {" /FastSort", {read, sort}, kRight, "_.", running},
        {" /ExtendedHelp", {sort, help}, kLeft, "*", running},
        {nullptr, {help}, kRight, "_.", running},
        {nullptr, {}, kLeft, "__>.", {"Launch Quellmar (Normal Mode)", "> Extended Help", "&Auto Start Quellmar"}}};
    auto state = [&] { return Lines{shown_.at(Line(M1Target)), shown_.at(Line(M1SpecialModes) + 1), shown_.at(Line(M1AutoStart))}; };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.menu[0] + " " + ::testing::PrintToString(row.shows));
        if (row.run) Run(quellmar + row.run);
        for (const std::string& caption : row.shows) ASSERT_TRUE(Wait([&] { return Find(nullptr, caption.c_str(), 0); })) << caption;
        button_ = row.button;
        ASSERT_TRUE(Wait([&] { return Choose("!") && state() == row.menu; })) << ::testing::PrintToString(shown_);
        EXPECT_TRUE(Choose(row.keys));
    }
    // Each start by its quoted path, a mode's switch after it, one Extended Help the starter's; sorted, as
    // a start of the journey's own may cross the starter's last one.
    Lines started = Log(starts, 6);
    std::sort(started.begin(), started.end());
    EXPECT_EQ(started, (Lines{quellmar + "\tC:\\", quellmar + "\tC:\\", quellmar + " /ExtendedHelp\tC:\\",
                              quellmar + " /ExtendedHelp\tC:\\", quellmar + " /FastRead\tC:\\", quellmar + " /FastSort\tC:\\"}));

    // Hung, it is left alone, and the starter goes on taking commands.
    const HWND helping = Wait([&] { return Find(nullptr, help.c_str(), 0); });
    ASSERT_TRUE(std::ofstream(dir_ + "Quellmar.hang") && Wait([&] { return IsHungAppWindow(helping); }));
    EXPECT_TRUE(Choose("_.", 0, "Close Quellmar (Running)"));
    EXPECT_TRUE(Choose("A"));
    EXPECT_TRUE(Answer(kAsk, IDNO));
    ASSERT_TRUE(DeleteFileA((dir_ + "Quellmar.hang").c_str()) && Wait([&] { return !IsHungAppWindow(helping); }));
    // Busy for 3 s over the starter's question is not hung: it is closed once it answers.
    ASSERT_TRUE(std::ofstream(dir_ + "Quellmar.busy"));
    EXPECT_TRUE(Choose("_.", 0, "Close Quellmar (Running)"));
    EXPECT_EQ(Log(events, 9), (Lines{"restored", "closed", "closed", "closed", "closed", "closed", "hanging", "busy", "closed"}));

    // A Quellmar.exe that is hidden, a system file or gone is missing: each launch warns and starts nothing.
    const std::string exe = dir_ + "Quellmar.exe";
    for (const DWORD attribute : std::initializer_list<DWORD>{FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, 0}) {
        ASSERT_TRUE(attribute ? SetFileAttributesA(exe.c_str(), attribute) && GetFileAttributesA(exe.c_str()) & attribute
                              : Wait([&] { return DeleteFileA(exe.c_str()); })) << attribute;
        EXPECT_TRUE(Choose("_."));
        EXPECT_TRUE(Answer(kNotFound, IDOK));
        EXPECT_TRUE(Choose("__>."));
        EXPECT_TRUE(Answer(kModeNotFound, IDOK));
    }
    EXPECT_EQ(Log(starts, 0).size(), 6u);
}
