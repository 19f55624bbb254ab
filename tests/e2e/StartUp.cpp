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
    ASSERT_TRUE(PlantProgram(deep) && CopyFileA(E2E_STARTER, deep.c_str(), FALSE) && PlantProgram(dir_ + "BusyTray.exe"));
    quoted_ = "\"" + deep + "\"";
    // A busy shell (the stand-in's busy tray) for 2.5 s, found before Wine's tray; once it stepped aside it
    // must have refused the starter, which runs on, and a click opens one menu (with Escape: no second).
    platform::unique_process_information busy;
    auto busyShell = [&](const char* how) {
        DeleteFileA((dir_ + "BusyTray.events.log").c_str()), busy = Run("\"" + dir_ + "BusyTray.exe\"" + how + " 2500");
        return Wait([&] { return Pid(FindWindowA("Shell_TrayWnd", nullptr)) == busy.get().dwProcessId; });
    };
    auto refusedOneMenuAndRunning = [&] {  // a click, and Escape
        return Choose("!") && WaitForSingleObject(busy.get().hProcess, 15000) == WAIT_OBJECT_0 &&
               !Log(dir_ + "BusyTray.events.log", 1).empty() && WaitForSingleObject(starter_.get().hProcess, 0) == WAIT_TIMEOUT &&
               !Wait([&] { return Find("#32768", nullptr, starter_.get().dwProcessId); }, 1000);
    };
    // At log-on, its first refusal came after the icon got through. The starter tries again until the
    // icon is there (a modify finds it), then goes on: a wrong value name, or the path without its quotes,
    // in either Run entry.
    ASSERT_TRUE(busyShell(" /PassFirst"));
    ASSERT_TRUE(Start());
    for (const char* run : {kRun, kRunNt})
        EXPECT_TRUE(Wait([&] { return Reg(HKEY_LOCAL_MACHINE, run, "Quellmar Starter") == quoted_; })) << run;
    EXPECT_TRUE(refusedOneMenuAndRunning());
    EXPECT_EQ(shown_, kFirstMenu);
    std::string tip;  // shown when the mouse comes onto the icon: away, and onto it (a new one may miss the first time)
    Wait([&] { return Mouse(Middle(GetDesktopWindow())), Mouse(Middle(icon_)),
                      Wait([&] { return !(tip = Text(Find("tooltips_class32", nullptr, 0))).empty(); }, 3000); });
    EXPECT_EQ(tip, "Quellmar Starter");
    EXPECT_FALSE(Find(nullptr, nullptr, starter_.get().dwProcessId)) << "a window of the starter shows";

    // A second start ends by itself; the first runs on with its one icon.
    EXPECT_EQ(WaitForSingleObject(Run(quoted_).get().hProcess, 15000), WAIT_OBJECT_0) << "the second starter runs on";
    EXPECT_EQ(Icons(), std::vector<HWND>{icon_});

    // The shell restarts without the icon, busy: the icon comes back, with one registration.
    NOTIFYICONDATAA icon{sizeof icon, FindWindowA(nullptr, "Quellmar Starter v1.0"), 1};
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon) && Wait([&] { return !IsWindow(icon_); })) << "the icon stayed";
    ASSERT_TRUE(busyShell(""));
    PostMessageA(icon.hWnd, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_TRUE(icon_ = NewIcon(iconsBefore_)) << "the icon did not come back";
    EXPECT_TRUE(refusedOneMenuAndRunning());
}
