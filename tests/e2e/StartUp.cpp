// Start-up as the user meets it, installed at a path of 250 characters (its
// instance name must still make a mutex): an icon with its image and its
// tooltip and nothing else on screen, both Run entries holding the
// starter's quoted path, the menu as it first opens, a second start that
// ends while the first stays. A busy shell, at log-on and after a restart
// (the icon taken away from outside), refuses the icon for a while: only a
// starter that tries again until it is there, and then takes one click for
// one menu, passes.
#include "Driver.h"

// Captions, grey entries and the check mark of the first opening: nothing
// runs, no companion is listed, auto-start is off.
const Lines kFirstMenu = {
    "Launch Quellmar (Normal Mode)", "-", "Launch Quellmar (Special Modes)...", "> Extended Help",
    "Launch Halvane Application...", "> [not defined] [grey]", "> [not defined] [grey]", "> [not defined] [grey]",
    "> [not defined] [grey]", "> [not defined] [grey]", "-", "Visit &Homepage", "-", "&Auto Start Quellmar", "-",
    "&Close Starter", "&Remove Starter"};

TEST_F(Journey, StartUp) {
    const std::string deep = dir_ + std::string(250 - dir_.size() - 20, 'd') + "\\QuellmarStarter.exe";
    ASSERT_TRUE(PlantProgram(deep) && CopyFileA(E2E_STARTER, deep.c_str(), FALSE));
    quoted_ = "\"" + deep + "\"";
    // One click opens one menu, and the starter runs on.
    auto onceAndRunning = [&] {
        EXPECT_TRUE(Choose("!", 0, "Launch Quellmar (Normal Mode)"));
        EXPECT_FALSE(Wait([&] { return Find("#32768", nullptr, starter_.get().dwProcessId); }, 1000)) << "a second menu";
        EXPECT_EQ(WaitForSingleObject(starter_.get().hProcess, 0), DWORD{WAIT_TIMEOUT});
    };
    // At log-on the shell is busy: it refuses the icon for a while, and its first refusal came after the
    // icon got through. The starter tries again until the icon is there (a modify finds it), then goes on.
    BusyTray atLogOn(2500, true);
    ASSERT_TRUE(Start());
    // A wrong value name, or the path without its quotes, in either entry.
    for (const char* run : {kRun, kRunNt})
        EXPECT_EQ(Wait([&] { return Reg(HKEY_LOCAL_MACHINE, run, "Quellmar Starter") == quoted_; }), true) << run;
    EXPECT_GE(atLogOn.Refused(), 1);
    onceAndRunning();
    EXPECT_EQ(Tooltip(), "Quellmar Starter");
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        EXPECT_FALSE(IsWindowVisible(w) && Pid(w) == starter_.get().dwProcessId) << "a window of the starter shows";
    EXPECT_TRUE(Choose("!"));
    EXPECT_EQ(shown_, kFirstMenu);

    // A second start ends by itself; the first runs on with its one icon.
    EXPECT_EQ(WaitForSingleObject(Run(quoted_).get().hProcess, 15000), WAIT_OBJECT_0) << "the second starter runs on";
    EXPECT_EQ(Icons(), std::vector<HWND>{icon_});

    // The shell restarts without the icon and is busy for a while: the icon comes back, with one registration.
    NOTIFYICONDATAA icon{sizeof icon, FindWindowA(nullptr, "Quellmar Starter v1.0"), 1};
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon) && Wait([&] { return !IsWindow(icon_); })) << "the icon stayed";
    const std::vector<HWND> before = Icons();
    BusyTray restarted(2500, false);
    PostMessageA(icon.hWnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_TRUE(icon_ = NewIcon(before)) << "the icon did not come back";
    EXPECT_GE(restarted.Refused(), 1);
    onceAndRunning();
}
