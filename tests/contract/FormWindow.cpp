// The forms' window: an unseen popup tool window of the form's own class,
// the form object in its extra bytes, the form's properties, and a window
// that is destroyed exactly once whichever road ends it.
#include "platform/FormWindow.h"
#include "platform/Win32Api.h"
#include "subclass/KZSubClassmod.h"
#include "support/RecordingWindow.h"

#ifndef _WIN32
#include "platform/sim/SimDesktop.h"
#endif

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A form that counts what its window procedure sees.
class CountingForm : public platform::FormWindow {
public:
    explicit CountingForm(const char* caption = "Counting Form")
        : FormWindow("QuellmarStarterTestForm", caption) {}

    int ncCreates = 0;
    int destroys = 0;
    int ncDestroys = 0;
    HWND hwndAtNcCreate = nullptr;
    std::vector<UINT> users;

protected:
    LRESULT FormProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NCCREATE) {
            ++ncCreates;
            hwndAtNcCreate = hwnd();
        }
        if (msg == WM_DESTROY) ++destroys;
        if (msg == WM_NCDESTROY) ++ncDestroys;
        if (msg >= WM_USER && msg < WM_USER + 100) {
            users.push_back(msg);
            return 300 + static_cast<LRESULT>(msg - WM_USER);
        }
        return FormWindow::FormProc(msg, wParam, lParam);
    }
};

class FormWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::FreshDesktop();
#ifndef _WIN32
        // The test programs carry no resources; the simulated module is made alike.
        sim::SetIconResource(1, false);
#endif
    }
};

TEST_F(FormWindowTest, CreateMakesAnUnseenPopupToolWindowOfNoSize) {
    CountingForm form("Quellmar Starter Test Form");
    EXPECT_EQ(form.hwnd(), nullptr);
    ASSERT_TRUE(form.Create());
    HWND hwnd = form.hwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(FindWindowA("QuellmarStarterTestForm", "Quellmar Starter Test Form"), hwnd);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_VISIBLE));
    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(form.Width(), 0);
    EXPECT_EQ(form.Height(), 0);
    EXPECT_FALSE(form.Visible());
    // The object sits in the extra bytes; the user-data slot is left free.
    EXPECT_EQ(GetWindowLongPtrA(hwnd, 0), reinterpret_cast<LONG_PTR>(&form));
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 0);
    // The form's procedure ran from WM_NCCREATE on, with its window known.
    EXPECT_EQ(form.ncCreates, 1);
    EXPECT_EQ(form.hwndAtNcCreate, hwnd);
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 4, 0, 0), 304);

    EXPECT_TRUE(form.Create());  // a second time changes nothing
    EXPECT_EQ(form.hwnd(), hwnd);
    EXPECT_EQ(form.ncCreates, 1);
}

TEST_F(FormWindowTest, TwoFormsOfOneClassEachHaveTheirWindow) {
    CountingForm first("first form");
    CountingForm second("second form");
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    EXPECT_NE(first.hwnd(), second.hwnd());
    SendMessageA(second.hwnd(), WM_USER + 1, 0, 0);
    EXPECT_TRUE(first.users.empty());
    EXPECT_EQ(second.users, std::vector<UINT>{WM_USER + 1});
}

TEST_F(FormWindowTest, VisibleAtZeroSizeEnabledAndFocused) {
    CountingForm form;
    ASSERT_TRUE(form.Create());
    form.SetEnabled(false);
    EXPECT_FALSE(form.Enabled());
    form.SetWidth(0);
    form.SetHeight(0);
    form.SetEnabled(true);
    form.SetVisible(true);
    EXPECT_TRUE(form.Enabled());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Width(), 0);
    EXPECT_EQ(form.Height(), 0);
    form.Focus();
    EXPECT_EQ(GetFocus(), form.hwnd());
    EXPECT_EQ(GetForegroundWindow(), form.hwnd());
    form.SetVisible(false);
    form.SetEnabled(false);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Enabled());
    EXPECT_NE(GetFocus(), form.hwnd());

    form.SetWidth(120);
    form.SetHeight(30);
    EXPECT_EQ(form.Width(), 120);
    EXPECT_EQ(form.Height(), 30);
}

TEST_F(FormWindowTest, AModuleWithoutTheProgramIconGivesAFormWithoutIcon) {
    CountingForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(form.Icon(), nullptr);
}

TEST_F(FormWindowTest, TheFormsMenuGoesWithItsWindow) {
    HMENU bar = CreateMenu();
    {
        CountingForm form;
        ASSERT_TRUE(form.Create());
        EXPECT_TRUE(form.SetMenu(bar));
        EXPECT_EQ(GetMenu(form.hwnd()), bar);
    }
    EXPECT_FALSE(IsMenu(bar));
}

TEST_F(FormWindowTest, TheWindowIsDestroyedOnceWhicheverRoadEndsIt) {
    HWND hwnd = nullptr;
    {
        CountingForm form;
        ASSERT_TRUE(form.Create());
        hwnd = form.hwnd();
        form.Destroy();
        EXPECT_EQ(form.hwnd(), nullptr);
        EXPECT_FALSE(IsWindow(hwnd));
        form.Destroy();
        EXPECT_EQ(form.destroys, 1);
        EXPECT_EQ(form.ncDestroys, 1);
    }
    {
        // Closed from outside: the default handling destroys the window; the
        // form lets go of it and doesn't destroy it again.
        CountingForm form;
        ASSERT_TRUE(form.Create());
        hwnd = form.hwnd();
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(form.hwnd(), nullptr);
        EXPECT_EQ(form.ncDestroys, 1);
        EXPECT_TRUE(form.Create());  // a new window for the same form
        EXPECT_NE(form.hwnd(), nullptr);
        hwnd = form.hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));  // the form's end ends its window
}

// A target that would notice being called for the window of a form that is
// going away.
class WatchingTarget : public KZSubClassTarget {
public:
    int calls = 0;
    void KZSubClassWindowProc(std::string&, HWND&, UINT&, WPARAM&, LPARAM&, LRESULT&, bool&) override { ++calls; }
};

TEST_F(FormWindowTest, ASubclassedFormEndsWithoutCallingItsTargets) {
    WatchingTarget target;
    HWND hwnd = nullptr;
    {
        CountingForm form;
        ASSERT_TRUE(form.Create());
        hwnd = form.hwnd();
        KZSubClass(form, "FormWindowTest", target, True, nullptr, False);
        SendMessageA(hwnd, WM_USER + 2, 0, 0);
        EXPECT_EQ(target.calls, 1);
        EXPECT_EQ(form.users, std::vector<UINT>{WM_USER + 2});  // through the engine to the form
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(target.calls, 1);
    UnSubClassAll();  // the window is gone: restoring it has no effect
}

}  // namespace
