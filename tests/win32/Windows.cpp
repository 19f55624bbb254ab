// The starter's window work against real windows that the test makes:
// finding and controlling Quellmar by its captions, the subclassing engine,
// the popup menu as PrepareMenu leaves it, the wait for a late taskbar and
// the tray icon's size at each DPI (the program's own icon and manifest are
// linked in).
#include "core/Mfrm.h"
#include "core/TargetApp.h"
#include "subclass/KZSubClassmod.h"
#include "tray/MENUfrm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The windows' own procedure answers WM_USER with wParam * 10.
LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return msg == WM_USER ? static_cast<LRESULT>(wParam * 10) : DefWindowProcA(hwnd, msg, wParam, lParam);
}
const WNDCLASSA kClass{0, OwnProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "QuellmarStarterTests"};
[[maybe_unused]] const ATOM kAtom = RegisterClassA(&kClass);

// A window of the test; as a target of the subclassing engine it offers 7
// as the result of WM_USER, and sets ReturnValueUsedFlag when wParam is 1.
struct Window : KZSubClassSource, KZSubClassTarget {
    explicit Window(const char* caption, DWORD style = 0)
        : handle(CreateWindowExA(0, kClass.lpszClassName, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE | style, 0, 0,
                                 300, 200, {}, {}, {}, {})) {}
    ~Window() { DestroyWindow(handle); }
    HWND hwnd() const override { return handle; }
    void KZSubClassWindowProc(std::string&, HWND&, UINT& m, WPARAM& w, LPARAM&, LRESULT& result, bool& used) override {
        if (m == WM_USER) result = 7, used = w == 1;
    }
    HWND handle;
};

// Quellmar's captions searched in their order (each window of the table
// outranks those above it), restore and close reaching it: a caption
// mistyped, two modes swapped, a longer caption taken for Quellmar, a
// minimised window left minimised or a window not closed.
TEST(Windows, QuellmarFoundByItsCaptionsRestoredAndClosed) {
    const std::pair<const char*, TargetState> rows[] = {{"Quellmar Starter", TargetNotRunning},
        {"Quellmar (extended help mode)", TargetExtendedHelpMode}, {"FastSort - Quellmar", TargetFastSortMode},
        {"FastRead - Quellmar", TargetFastReadMode}, {"Quellmar", TargetNormalMode}};
    std::vector<std::unique_ptr<Window>> windows;
    for (const auto& [caption, state] : rows) {
        windows.push_back(std::make_unique<Window>(caption));
        HWND found = nullptr;
        Boolean minimised = False;
        EXPECT_EQ(state, GetTargetState(found, minimised)) << caption;
        EXPECT_EQ(state == TargetNotRunning ? nullptr : windows.back()->handle, found) << caption;
    }
    const HWND quellmar = windows.back()->handle;
    ShowWindow(quellmar, SW_MINIMIZE);
    EXPECT_TRUE(ControlTarget(TargetActionRestore) && !IsIconic(quellmar));
    EXPECT_TRUE(ControlTarget(TargetActionClose) && !IsWindow(quellmar));
}

// The engine: a target's result taken without ReturnValueUsedFlag, or the
// window's own result dropped when it is set; UnSubClassAll not giving the
// window its own procedure back.
TEST(Windows, SubclassingTakesAResultOnlyWhenUsedAndRestores) {
    Window window("engine");
    KZSubClass(window, "engine", window, True, nullptr, False);
    EXPECT_EQ(7, SendMessageA(window.handle, WM_USER, 1, 0));
    EXPECT_EQ(20, SendMessageA(window.handle, WM_USER, 2, 0));
    UnSubClassAll();
    EXPECT_EQ(10, SendMessageA(window.handle, WM_USER, 1, 0));
}

// A menu's entries as the user sees them: "-" for a separator, "(grey) "
// or "(checked) " before a caption.
using Texts = std::vector<std::string>;
Texts EntriesOf(HMENU menu) {
    Texts entries;
    for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(menu)); ++i) {
        char text[100] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        entries.push_back(state & MF_SEPARATOR ? "-" : (state & MF_GRAYED ? "(grey) " : "") +
                                                           std::string(state & MF_CHECKED ? "(checked) " : "") + text);
    }
    return entries;
}

// The menu after PrepareMenu, for Quellmar not running, minimised and
// running, its form sent WM_CLOSE first (a destroyed form takes the menu's
// commands with it): a caption mistyped, the first entry wrong for
// Quellmar's state, the special modes not greyed while Quellmar runs, the
// auto-start check mark wrong, a companion caption or "[not defined]" lost
// or not greyed (a kind-3 slot keeps its caption from the opening before).
TEST(Windows, MenuAfterPrepareMenu) {
    struct Scratch { ~Scratch() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quellmar Starter Tests"); } } scratch;
    const std::string product = "Software\\Quellmar Starter Tests\\Menu\\";
    for (const auto& [name, data] : {std::pair{"file type1", "1"}, {"application name1", "E:\\Tools\\My Player.exe"},
                                     {"file type2", "2"}, {"application name2", "E:\\Music\\"}, {"file type3", "3"}})
        RegSetKeyValueA(HKEY_CURRENT_USER, (product + "KZHalvane").c_str(), name, REG_SZ, data, lstrlenA(data) + 1);
    Mfrm main;
    ASSERT_TRUE(main.Create());
    main.Companions.SetUpCompanionList(HKEY_CURRENT_USER, product, "", 0, "", 0);
    SendMessageA(main.Menu().hwnd(), WM_CLOSE, 0, 0);
    const struct { const char* quellmar; DWORD style; const char* first; Boolean autoStart; } openings[] = {
        {nullptr, 0, "Launch Quellmar (Normal Mode)", True},
        {"FastSort - Quellmar", WS_MINIMIZE, "Restore Quellmar (Minimized)", False},
        {"Quellmar", 0, "Close Quellmar (Running)", True}};
    for (const auto& o : openings) {
        const std::unique_ptr<Window> quellmar(o.quellmar ? new Window(o.quellmar, o.style) : nullptr);
        main.AutoStartTarget = o.autoStart;
        for (std::int16_t menu = 1; menu <= 3; ++menu) main.PrepareMenu(menu);
        const HMENU popup = GetSubMenu(main.Menu().MenuBar(), 0);
        const std::string autoStart = o.autoStart ? "(checked) &Auto Start Quellmar" : "&Auto Start Quellmar";
        EXPECT_EQ(EntriesOf(popup), (Texts{o.first, "-", "Launch Quellmar (Special Modes)...",
                                           "Launch Halvane Application...", "-", "Visit &Homepage", "-", autoStart,
                                           "-", "&Close Starter", "&Remove Starter"}));
        EXPECT_EQ(EntriesOf(GetSubMenu(popup, 2)), Texts{o.quellmar ? "(grey) Extended Help" : "Extended Help"});
        const std::string undefined = "(grey) [not defined]";
        EXPECT_EQ(EntriesOf(GetSubMenu(popup, 3)),
                  (Texts{"My Player", "Music", o.quellmar ? "[not defined]" : undefined, undefined, undefined}));
    }
    EXPECT_TRUE(IsWindow(main.Menu().hwnd()));
}

// The tray icon's life: loaded again at the small-icon size of each new DPI
// (the session runs at 96): WM_DPICHANGED left unhandled or its DPI not
// taken from wParam, a display change or a new taskbar not reading the
// window's own DPI; then the wait for a taskbar that isn't there yet not
// ended when "TaskbarCreated" arrives, or not at its timeout.
TEST(Windows, TheTrayIconFollowsTheDpiAndWaitsForTheTaskbar) {
    Mfrm form;
    ASSERT_TRUE(form.Create() && form.AddTrayIcon(form, form, "Quellmar Starter"));
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    const struct { UINT msg; WORD dpi; LONG width; } rows[] = {{WM_DPICHANGED, 144, 24}, {WM_DISPLAYCHANGE, 0, 16},
        {WM_DPICHANGED, 120, 20}, {taskbarCreated, 0, 16}};
    for (const auto& row : rows) {
        RECT suggested{};
        SendMessageA(form.hwnd(), row.msg, MAKEWPARAM(row.dpi, row.dpi), reinterpret_cast<LPARAM>(&suggested));
        ICONINFO info{};
        BITMAP bitmap{};
        ASSERT_TRUE(GetIconInfo(form.Icon(), &info));
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
        EXPECT_EQ(row.width, bitmap.bmWidth) << std::hex << row.msg << std::dec << " " << row.dpi;
    }
    EXPECT_TRUE(form.RemoveTrayIcon(form, form));
    std::thread announce([=] {
        for (int i = 0; i < 2; ++i) Sleep(1000), PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
    });
    EXPECT_TRUE(form.WaitForTaskbar(30000));
    EXPECT_FALSE(form.WaitForTaskbar(300));  // over long before the second announcement
    announce.join();
}

}  // namespace
