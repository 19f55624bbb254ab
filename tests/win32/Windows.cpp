// The starter's window work against real windows that the test makes: the
// subclassing engine, another starter's claim and the tray icon's size at
// each DPI (the program's own icon and manifest
// are linked in). Finding Quellmar by its captions in their order, restoring
// and closing it, a hung one too, and the menu's entries in each state are
// the journeys' (tests/e2e), against the real tray.
#include "core/Mfrm.h"
#include "platform/AppRuntime.h"
#include "subclass/KZSubClassmod.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

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
    explicit Window(const char* caption)
        : handle(CreateWindowExA(0, kClass.lpszClassName, caption, WS_VISIBLE, 0, 0, 300, 200, {}, {}, {}, {})) {}
    ~Window() { DestroyWindow(handle); }
    HWND hwnd() const override { return handle; }
    void KZSubClassWindowProc(std::string&, HWND&, UINT& m, WPARAM& w, LPARAM&, LRESULT& result, bool& used) override {
        if (m == WM_USER) result = 7, used = w == 1;
    }
    HWND handle;
};

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

// One starter per program file, even beside an elevated one: a claim this
// process may not open (here an empty access list denies it to everyone)
// is another starter's.
TEST(Windows, AClaimThisProcessMayNotOpenIsAnotherStarters) {
    PSECURITY_DESCRIPTOR denyAll = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P", SDDL_REVISION_1, &denyAll, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, denyAll, FALSE};
    const platform::unique_handle other(CreateMutexA(&attributes, FALSE, "Local\\QuellmarStarterTests.denied"));
    LocalFree(denyAll);
    ASSERT_TRUE(other);
    EXPECT_TRUE(platform::PrevInstance("Local\\QuellmarStarterTests.denied"));
}

// The tray icon's life: loaded again at the small-icon size of each new DPI
// (the session runs at 96): WM_DPICHANGED left unhandled or its DPI not
// taken from wParam, a display change or a new taskbar not reading the
// window's own DPI.
TEST(Windows, TheTrayIconFollowsTheDpi) {
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
}

}  // namespace
