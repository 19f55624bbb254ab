// The starter's window work against real windows that the tests make:
// finding and controlling Quellmar by its captions, the subclassing engine,
// the popup menu as PrepareMenu leaves it, and the wait for a late taskbar.
#include "core/Mfrm.h"
#include "core/TargetApp.h"
#include "subclass/KZSubClassmod.h"
#include "tray/MENUfrm.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The windows' own procedure answers WM_USER with wParam * 10 and notes the wParam.
WPARAM ownSaw = 0;
LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_USER) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return static_cast<LRESULT>((ownSaw = wParam) * 10);
}
[[maybe_unused]] const ATOM kClass = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnProc;
    wc.lpszClassName = "QuellmarStarterTests";
    return RegisterClassA(&wc);
}();

struct Window : KZSubClassSource {
    explicit Window(const char* caption)
        : handle(CreateWindowExA(0, "QuellmarStarterTests", caption, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr)) {}
    ~Window() { DestroyWindow(handle); }
    HWND hwnd() const override { return handle; }
    HWND handle;
};

// A menu entry as the user sees it: its caption, and whether it is greyed or checked.
constexpr UINT kGrey = MF_GRAYED, kCheck = MF_CHECKED;
std::pair<std::string, UINT> Item(HMENU menu, int position) {
    char text[100] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return {text, GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & (kGrey | kCheck)};
}

// Quellmar's captions and their search order; restore and close reaching
// the window (the minimised flag shows in the menu's first entry): a caption
// mistyped, modes swapped, a longer caption taken for Quellmar, an unknown
// action that acts.
TEST(Windows, TargetCaptionsStatesAndControl) {
    const std::vector<const char*> rows[] = {
        {"Quellmar - song.mp3", "Quellmar Starter"}, {"Quellmar (extended help mode)"},
        {"Quellmar (extended help mode)", "FastSort - Quellmar"}, {"FastSort - Quellmar", "FastRead - Quellmar"},
        {"FastRead - Quellmar", "Quellmar"}};
    const TargetState states[] = {TargetNotRunning, TargetExtendedHelpMode, TargetFastSortMode, TargetFastReadMode,
                                  TargetNormalMode};
    for (int i = 0; i < 5; ++i) {
        std::vector<std::unique_ptr<Window>> windows;
        for (const char* caption : rows[i]) windows.push_back(std::make_unique<Window>(caption));
        HWND found = nullptr;
        Boolean minimised = False;
        EXPECT_EQ(states[i], GetTargetState(found, minimised)) << rows[i].back();
        EXPECT_EQ(i == 0 ? nullptr : windows.back()->handle, found);
    }
    EXPECT_EQ(False, ControlTarget(TargetActionRestore));
    Window quellmar("Quellmar");
    struct Step { int show; std::int16_t action; Boolean result; BOOL(WINAPI* check)(HWND); bool after; } steps[] = {
        {SW_MINIMIZE, TargetActionRestore, True, IsIconic, false}, {SW_MAXIMIZE, 0, False, IsZoomed, true},
        {SW_MAXIMIZE, 3, False, IsZoomed, true}, {SW_MAXIMIZE, TargetActionRestore, True, IsZoomed, false},
        {SW_SHOW, TargetActionClose, True, IsWindow, false}};
    for (const Step& step : steps) {
        ShowWindow(quellmar.handle, step.show);
        EXPECT_EQ(step.result, ControlTarget(step.action)) << step.action;
        EXPECT_EQ(step.after, step.check(quellmar.handle) != 0) << step.action;
    }
}

// A target of the subclassing engine that runs the test's handler on WM_USER.
struct Target : KZSubClassTarget {
    std::function<void(WPARAM&, LRESULT&, bool&)> handle = [](WPARAM&, LRESULT&, bool&) {};
    void KZSubClassWindowProc(std::string&, HWND&, UINT& msg, WPARAM& wParam, LPARAM&, LRESULT& result,
                              bool& used) override {
        if (msg == WM_USER) handle(wParam, result, used);
    }
};

// The engine's promises: the window's own result when no target decides, a
// target's result otherwise, seen by later targets too; a changed wParam
// passed on; a nested message with its own result; UnSubClassAll, called
// from inside a handler, giving the window its procedure back.
TEST(Windows, SubclassingRoutesResultsAndRestores) {
    Window window("engine");
    Target first, second;
    KZSubClass(window, "engine", second, True, nullptr, False);
    KZSubClass(window, "engine", first, True, nullptr, True);
    WPARAM secondSaw = 0;
    second.handle = [&](WPARAM& wParam, LRESULT&, bool&) { secondSaw = wParam; };
    first.handle = [](WPARAM& wParam, LRESULT&, bool&) { wParam = 5; };
    EXPECT_EQ(50, SendMessageA(window.handle, WM_USER, 4, 0));
    EXPECT_EQ(5u, secondSaw);
    first.handle = [&](WPARAM& wParam, LRESULT& result, bool& used) {
        if (wParam == 1) { EXPECT_EQ(7, SendMessageA(window.handle, WM_USER, 2, 0)); }
        if (wParam == 2) result = 7, used = true;
    };
    second.handle = [](WPARAM& wParam, LRESULT& result, bool& used) { EXPECT_EQ(wParam == 2, result == 7 && used); };
    EXPECT_EQ(10, SendMessageA(window.handle, WM_USER, 1, 0));
    EXPECT_EQ(1u, ownSaw);
    first.handle = [](WPARAM&, LRESULT&, bool&) { UnSubClassAll(); };
    SendMessageA(window.handle, WM_USER, 1, 0);
    first.handle = [](WPARAM&, LRESULT&, bool&) { ADD_FAILURE() << "a target after UnSubClassAll"; };
    EXPECT_EQ(30, SendMessageA(window.handle, WM_USER, 3, 0));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OwnProc), GetWindowLongPtrA(window.handle, GWLP_WNDPROC));
    EXPECT_EQ(0, GetWindowLongPtrA(window.handle, GWLP_USERDATA));
}

// The menu as the user meets it after PrepareMenu: a caption of the layout
// or of the first entry mistyped, the special modes not greyed while
// Quellmar runs, the auto-start check mark wrong, companion captions or
// "[not defined]" lost, or not greyed.
TEST(Windows, MenuAfterPrepareMenu) {
    struct Scratch { ~Scratch() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quellmar Starter Tests"); } } scratch;
    const std::string product = "Software\\Quellmar Starter Tests\\Menu\\";
    const char* const values[][2] = {{"file type1", "1"}, {"application name1", "E:\\Tools\\My Player.exe"},
                                     {"file type2", "2"}, {"application name2", "E:\\Music\\"}, {"file type3", "3"},
                                     {"file type4", "1"}, {"application name4", "player.exe"}};
    for (const auto& [name, data] : values)
        RegSetKeyValueA(HKEY_CURRENT_USER, (product + "KZHalvane").c_str(), name, REG_SZ, data, lstrlenA(data) + 1);
    Mfrm main;
    ASSERT_TRUE(main.Create());
    main.Companions.SetUpCompanionList(HKEY_CURRENT_USER, product, "", 0, "", 0);
    const char* const quellmars[] = {nullptr, "FastSort - Quellmar", "Quellmar"};
    const char* const firsts[] = {"Launch Quellmar (Normal Mode)", "Restore Quellmar (Minimized)", "Close Quellmar (Running)"};
    for (int opening = 0; opening < 3; ++opening) {
        std::unique_ptr<Window> quellmar(quellmars[opening] ? new Window(quellmars[opening]) : nullptr);
        if (quellmar) ShowWindow(quellmar->handle, opening == 1 ? SW_MINIMIZE : SW_SHOW);
        main.AutoStartTarget = opening == 1 ? False : True;
        for (std::int16_t menu = 1; menu <= 3; ++menu) main.PrepareMenu(menu);
        const HMENU popup = GetSubMenu(main.Menu().MenuBar(), 0), modes = GetSubMenu(popup, 2);
        const std::string layout[] = {firsts[opening], "", "Launch Quellmar (Special Modes)...",
            "Launch Halvane Application...", "", "Visit &Homepage", "", "&Auto Start Quellmar", "", "&Close Starter",
            "&Remove Starter"};
        ASSERT_EQ(11, GetMenuItemCount(popup));
        for (int i = 0; i < 11; ++i) EXPECT_EQ(layout[i], Item(popup, i).first) << i;
        EXPECT_EQ(opening != 1 ? kCheck : 0u, Item(popup, 7).second);
        EXPECT_EQ(1, GetMenuItemCount(modes));
        EXPECT_EQ(std::make_pair(std::string("Extended Help"), opening != 0 ? kGrey : 0u), Item(modes, 0));
        // Kind 3 keeps its caption: "[not defined]" from the first opening on, enabled after it.
        const std::string captions[] = {"My Player", "Music", "[not defined]", "[not defined]", "[not defined]"};
        const bool greyed[] = {false, false, opening == 0, true, true};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(std::make_pair(captions[i], greyed[i] ? kGrey : 0u), Item(GetSubMenu(popup, 3), i)) << i;
    }
}

// The wait for a taskbar that isn't there yet: it ends when "TaskbarCreated"
// arrives, and at its timeout when nothing comes (a late announcement then
// shows whether the timeout was kept).
TEST(Windows, TaskbarWaitEndsOnTheAnnouncementOrTheTimeout) {
    Mfrm main;
    ASSERT_TRUE(main.Create());
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    const auto announce = [=](DWORD afterMs) {
        return std::thread([=] { Sleep(afterMs); PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0); });
    };
    std::thread soon = announce(100);
    EXPECT_TRUE(main.WaitForTaskbar(30000));
    soon.join();
    std::thread late = announce(3000);
    EXPECT_FALSE(main.WaitForTaskbar(300));
    late.join();
}

}  // namespace
