// The window manager as the starter uses it: window classes and creation,
// the procedure slot, user data and extra bytes, default handling, sent and
// posted messages and their order, FindWindowA, show states, enabling,
// focus and foreground, placement, registered messages. The same cases run
// against the simulated desktop and, under Wine, against the real one.
#include "platform/Handles.h"
#include "platform/Win32Api.h"
#include "support/DesktopTest.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

using platform::unique_hwnd;
using namespace testsupport;

namespace {

class WindowsApi : public DesktopTest {};


std::string Caption(HWND hwnd) {
    char text[256] = "?";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// A caption no other window on the desktop has.
std::string UniqueCaption(const char* what) {
    static int n = 0;
    return std::string("QuellmarStarterTest ") + what + " " + std::to_string(++n);
}

// The error of a call that changes a window that doesn't exist: Windows
// reports ERROR_INVALID_WINDOW_HANDLE; Wine, for DestroyWindow and
// SetWindowLongPtrA, ERROR_ACCESS_DENIED (it takes an unknown handle for
// another process's window).
void ExpectNoWindowError(DWORD error) {
    EXPECT_TRUE(error == ERROR_INVALID_WINDOW_HANDLE || error == ERROR_ACCESS_DENIED) << error;
}

LRESULT CALLBACK ReturnsSeven(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_USER + 7 ? 7 : 0;
}

// ---- classes and creation ----

TEST_F(WindowsApi, ClassRegisteredTwiceFailsAndUnknownClassCreatesNothing) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuellmarStarterTestTwiceClass";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(RegisterClassExA(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_TRUE(UnregisterClassA("QuellmarStarterTestTwiceClass", GetModuleHandleA(nullptr)));

    SetLastError(0xdeadbeef);
    EXPECT_EQ(CreateWindowExA(0, "QuellmarStarterTestNoSuchClass", "x", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr),
              nullptr);
    // Windows reports ERROR_CANNOT_FIND_WND_CLASS, Wine ERROR_CLASS_DOES_NOT_EXIST.
    const DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_CANNOT_FIND_WND_CLASS || error == ERROR_CLASS_DOES_NOT_EXIST) << error;
}

TEST_F(WindowsApi, CreationAndDestructionSendTheirMessagesInOrder) {
    WatchMessages({WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW, WM_DESTROY, WM_NCDESTROY});
    HWND hwnd = CreateRecordingWindow("order", WS_POPUP);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_SEQUENCE(TakeLog(), {{WM_NCCREATE}, {WM_CREATE}});
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_SEQUENCE(TakeLog(), {{WM_DESTROY}, {WM_NCDESTROY}});
    EXPECT_FALSE(IsWindow(hwnd));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(DestroyWindow(hwnd));
    ExpectNoWindowError(GetLastError());
}

TEST_F(WindowsApi, VisibleStyleShowsTheWindowAfterCreation) {
    WatchMessages({WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW});
    unique_hwnd hwnd(CreateRecordingWindow("visible", WS_POPUP | WS_VISIBLE));
    ASSERT_TRUE(hwnd);
    EXPECT_SEQUENCE(TakeLog(), {{WM_NCCREATE}, {WM_CREATE}, {WM_SHOWWINDOW, true, TRUE}});
    EXPECT_TRUE(IsWindowVisible(hwnd.get()));
}

TEST_F(WindowsApi, FalseFromNcCreateOrMinusOneFromCreateFailsTheCreation) {
    WatchMessages({WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY});
    AnswerMessages([](HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_NCCREATE) return false;
        result = FALSE;
        return true;
    });
    EXPECT_EQ(CreateRecordingWindow("refused", WS_POPUP), nullptr);
    EXPECT_SEQUENCE(TakeLog(), {{WM_NCCREATE}, {WM_NCDESTROY}});

    AnswerMessages([](HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_CREATE) return false;
        result = -1;
        return true;
    });
    EXPECT_EQ(CreateRecordingWindow("refused", WS_POPUP), nullptr);
    EXPECT_SEQUENCE(TakeLog(), {{WM_NCCREATE}, {WM_CREATE}, {WM_NCDESTROY}});
}

TEST_F(WindowsApi, CreateParameterArrivesInTheCreateStruct) {
    int marker = 0;
    void* seenAtNcCreate = nullptr;
    std::string nameAtNcCreate;
    AnswerMessages([&](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
        if (msg == WM_NCCREATE) {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            seenAtNcCreate = cs->lpCreateParams;
            nameAtNcCreate = cs->lpszName ? cs->lpszName : "";
        }
        return false;
    });
    unique_hwnd hwnd(CreateWindowExA(0, RecordingClassName(), "with parameter", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), &marker));
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(seenAtNcCreate, &marker);
    EXPECT_EQ(nameAtNcCreate, "with parameter");
}

// ---- the window's slots ----

TEST_F(WindowsApi, ProcedureSlotGivesThePreviousProcedureAndCallWindowProcCallsIt) {
    unique_hwnd hwnd(CreateRecordingWindow("slots", WS_POPUP));
    ASSERT_TRUE(hwnd);
    const LONG_PTR own = GetWindowLongPtrA(hwnd.get(), GWLP_WNDPROC);
    EXPECT_NE(own, 0);
    const LONG_PTR previous = SetWindowLongPtrA(hwnd.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ReturnsSeven));
    EXPECT_EQ(previous, own);
    EXPECT_EQ(SendMessageA(hwnd.get(), WM_USER + 7, 0, 0), 7);
    EXPECT_EQ(CallWindowProcA(reinterpret_cast<WNDPROC>(previous), hwnd.get(), WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(SetWindowLongPtrA(hwnd.get(), GWLP_WNDPROC, own), reinterpret_cast<LONG_PTR>(&ReturnsSeven));
    EXPECT_EQ(SendMessageA(hwnd.get(), WM_USER + 7, 0, 0), 0);
}

TEST_F(WindowsApi, UserDataAndExtraBytesStartAtZeroAndKeepWhatIsSet) {
    unique_hwnd hwnd(CreateRecordingWindow("slots", WS_POPUP));
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(GetWindowLongPtrA(hwnd.get(), GWLP_USERDATA), 0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd.get(), 0), 0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd.get(), sizeof(LONG_PTR)), 0);

    // A previous value of 0 leaves the last error as it was.
    SetLastError(0xdeadbeef);
    EXPECT_EQ(SetWindowLongPtrA(hwnd.get(), GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(GetLastError(), 0xdeadbeefu);
    EXPECT_EQ(SetWindowLongPtrA(hwnd.get(), GWLP_USERDATA, 0), 1234);

    const LONG_PTR big = static_cast<LONG_PTR>(-2);
    EXPECT_EQ(SetWindowLongPtrA(hwnd.get(), sizeof(LONG_PTR), big), 0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd.get(), sizeof(LONG_PTR)), big);
    EXPECT_EQ(GetWindowLongPtrA(hwnd.get(), 0), 0);

    // Past the class's extra bytes.
    SetLastError(0xdeadbeef);
    EXPECT_EQ(GetWindowLongPtrA(hwnd.get(), 2 * sizeof(LONG_PTR)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(SetWindowLongPtrA(hwnd.get(), 2 * sizeof(LONG_PTR) - 1, 1), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

TEST_F(WindowsApi, SlotsOfNoWindowFailWithInvalidHandle) {
    HWND gone = CreateRecordingWindow("gone", WS_POPUP);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(GetWindowLongPtrA(gone, GWLP_USERDATA), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(SetWindowLongPtrA(gone, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ReturnsSeven)), 0);
    ExpectNoWindowError(GetLastError());
    SetLastError(0xdeadbeef);
    EXPECT_EQ(SendMessageA(gone, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowsApi, StyleSlotShowsTheWindowsState) {
    unique_hwnd hwnd(CreateRecordingWindow("style", WS_POPUP, WS_EX_TOOLWINDOW));
    ASSERT_TRUE(hwnd);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd.get(), GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_DISABLED), static_cast<DWORD>(WS_POPUP));
    EXPECT_TRUE(GetWindowLongPtrA(hwnd.get(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    ShowWindow(hwnd.get(), SW_SHOWNA);
    EnableWindow(hwnd.get(), FALSE);
    EXPECT_EQ(GetWindowLongPtrA(hwnd.get(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED), WS_VISIBLE | WS_DISABLED);
}

// ---- default handling and text ----

TEST_F(WindowsApi, CaptionIsSetByTheDefaultNcCreate) {
    unique_hwnd plain(CreateRecordingWindow("Caption Text", WS_POPUP));
    ASSERT_TRUE(plain);
    EXPECT_EQ(Caption(plain.get()), "Caption Text");

    // A procedure that answers WM_NCCREATE itself leaves the window without text.
    AnswerMessages([](HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_NCCREATE) return false;
        result = TRUE;
        return true;
    });
    unique_hwnd bare(CreateRecordingWindow("Caption Text", WS_POPUP));
    AnswerMessages(nullptr);
    ASSERT_TRUE(bare);
    EXPECT_EQ(Caption(bare.get()), "");
}

TEST_F(WindowsApi, TextGoesThroughSetTextAndGetText) {
    WatchMessages({WM_SETTEXT, WM_GETTEXT});
    unique_hwnd hwnd(CreateRecordingWindow("before", WS_POPUP));
    ASSERT_TRUE(hwnd);
    EXPECT_TRUE(SetWindowTextA(hwnd.get(), "after"));
    char text[4] = "xxx";
    EXPECT_EQ(GetWindowTextA(hwnd.get(), text, sizeof text), 3);
    EXPECT_STREQ(text, "aft");
    EXPECT_SEQUENCE(TakeLog(), {{WM_SETTEXT}, {WM_GETTEXT, true, 4}});
    EXPECT_EQ(SendMessageA(hwnd.get(), WM_GETTEXTLENGTH, 0, 0), 5);
}

TEST_F(WindowsApi, CloseDestroysTheWindowThroughTheDefaultProcedure) {
    WatchMessages({WM_CLOSE, WM_DESTROY, WM_NCDESTROY});
    HWND hwnd = CreateRecordingWindow("closing", WS_POPUP);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(SendMessageA(hwnd, WM_CLOSE, 0, 0), 0);
    EXPECT_SEQUENCE(TakeLog(), {{WM_CLOSE}, {WM_DESTROY}, {WM_NCDESTROY}});
    EXPECT_FALSE(IsWindow(hwnd));

    // A window that answers WM_CLOSE itself stays.
    unique_hwnd stays(CreateRecordingWindow("staying", WS_POPUP));
    AnswerMessages([](HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
        result = 0;
        return msg == WM_CLOSE;
    });
    SendMessageA(stays.get(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(stays.get()));
}

// ---- sent and posted messages ----

TEST_F(WindowsApi, SentMessagesAreHandledAtOnceAndMayNest) {
    WatchMessages({WM_USER + 1, WM_USER + 2, WM_USER + 3});
    unique_hwnd hwnd(CreateRecordingWindow("nested", WS_POPUP));
    ASSERT_TRUE(hwnd);
    AnswerMessages([](HWND h, UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg == WM_USER + 1) {
            result = 100 + SendMessageA(h, WM_USER + 2, 0, 0);
            return true;
        }
        if (msg == WM_USER + 2) {
            SendMessageA(h, WM_USER + 3, 0, 0);
            result = 20;
            return true;
        }
        return false;
    });
    EXPECT_EQ(SendMessageA(hwnd.get(), WM_USER + 1, 0, 0), 120);
    EXPECT_SEQUENCE(TakeLog(), {{WM_USER + 1}, {WM_USER + 2}, {WM_USER + 3}});
}

TEST_F(WindowsApi, PostedMessagesWaitInTheQueueInOrder) {
    WatchMessages({WM_USER + 1, WM_USER + 2, WM_USER + 3});
    unique_hwnd hwnd(CreateRecordingWindow("queue", WS_POPUP));
    ASSERT_TRUE(hwnd);
    PumpMessages();
    EXPECT_TRUE(PostMessageA(hwnd.get(), WM_USER + 1, 11, 0));
    EXPECT_TRUE(PostMessageA(hwnd.get(), WM_USER + 2, 22, 0));
    EXPECT_TRUE(PostMessageA(nullptr, WM_USER + 3, 33, 0));  // a thread message
    EXPECT_TRUE(TakeLog().empty());

    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, hwnd.get(), WM_USER + 2, WM_USER + 2, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
    ASSERT_TRUE(PeekMessageA(&msg, hwnd.get(), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(msg.hwnd, hwnd.get());
    EXPECT_EQ(msg.wParam, 11u);
    DispatchMessageA(&msg);
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));  // thread messages only
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 3));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(DispatchMessageA(&msg), 0);  // a thread message reaches no window
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
    DispatchMessageA(&msg);
    EXPECT_SEQUENCE(TakeLog(), {{WM_USER + 1, true, 11}, {WM_USER + 2, true, 22}});
}

TEST_F(WindowsApi, QuitComesAfterThePostedMessages) {
    unique_hwnd hwnd(CreateRecordingWindow("quit", WS_POPUP));
    ASSERT_TRUE(hwnd);
    PumpMessages();
    PostQuitMessage(3);
    PostMessageA(hwnd.get(), WM_USER + 5, 0, 0);
    MSG msg{};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowsApi, PostingToNoWindowFailsAndADestroyedWindowsMessagesAreDropped) {
    HWND hwnd = CreateRecordingWindow("dropped", WS_POPUP);
    ASSERT_NE(hwnd, nullptr);
    PumpMessages();
    EXPECT_TRUE(PostMessageA(hwnd, WM_USER + 9, 0, 0));
    DestroyWindow(hwnd);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 9, WM_USER + 9, PM_REMOVE));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER + 9, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

// ---- finding windows ----

TEST_F(WindowsApi, FindWindowMatchesTheCaptionWithoutRegardToCase) {
    const std::string caption = UniqueCaption("Find Me");
    unique_hwnd hwnd(CreateRecordingWindow(caption, WS_POPUP));  // hidden windows count
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(FindWindowA(nullptr, caption.c_str()), hwnd.get());
    std::string upper = caption;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(FindWindowA(nullptr, upper.c_str()), hwnd.get());
    EXPECT_EQ(FindWindowA(nullptr, (caption + " ").c_str()), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, caption.substr(1).c_str()), nullptr);
    EXPECT_EQ(FindWindowA(RecordingClassName(), caption.c_str()), hwnd.get());
    EXPECT_EQ(FindWindowA("QuellmarStarterTestOtherClass", caption.c_str()), nullptr);
}

TEST_F(WindowsApi, FindWindowSeesNoDestroyedWindowAndPrefersTheTopOne) {
    const std::string caption = UniqueCaption("Twice");
    unique_hwnd first(CreateRecordingWindow(caption, WS_POPUP));
    unique_hwnd second(CreateRecordingWindow(caption, WS_POPUP));
    ASSERT_TRUE(first && second);
    SetWindowPos(first.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(FindWindowA(nullptr, caption.c_str()), first.get());
    SetWindowPos(second.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(FindWindowA(nullptr, caption.c_str()), second.get());
    second.reset();
    EXPECT_EQ(FindWindowA(nullptr, caption.c_str()), first.get());
    first.reset();
    EXPECT_EQ(FindWindowA(nullptr, caption.c_str()), nullptr);
}

// ---- show states ----

struct ShowState {
    bool visible;
    bool iconic;
    bool zoomed;
};

ShowState StateOf(HWND hwnd) {
    return ShowState{IsWindowVisible(hwnd) != FALSE, IsIconic(hwnd) != FALSE, IsZoomed(hwnd) != FALSE};
}

// From a state reached by the commands in `before`, `command` leads to `after`.
struct ShowCase {
    const char* name;
    std::vector<int> before;
    int command;
    bool wasVisible;
    ShowState after;
};

TEST_F(WindowsApi, ShowWindowCommandsLeadToTheirStates) {
    const ShowCase cases[] = {
        {"hidden, SW_SHOW", {}, SW_SHOW, false, {true, false, false}},
        {"hidden, SW_SHOWNA", {}, SW_SHOWNA, false, {true, false, false}},
        {"hidden, SW_SHOWNORMAL", {}, SW_SHOWNORMAL, false, {true, false, false}},
        {"hidden, SW_SHOWMINIMIZED", {}, SW_SHOWMINIMIZED, false, {true, true, false}},
        {"hidden, SW_MINIMIZE", {}, SW_MINIMIZE, false, {true, true, false}},
        {"hidden, SW_SHOWMAXIMIZED", {}, SW_SHOWMAXIMIZED, false, {true, false, true}},
        {"hidden, SW_RESTORE", {}, SW_RESTORE, false, {true, false, false}},
        {"shown, SW_HIDE", {SW_SHOW}, SW_HIDE, true, {false, false, false}},
        {"minimised, SW_RESTORE", {SW_SHOW, SW_MINIMIZE}, SW_RESTORE, true, {true, false, false}},
        {"minimised, SW_SHOW", {SW_SHOW, SW_MINIMIZE}, SW_SHOW, true, {true, true, false}},
        {"minimised, SW_SHOWNORMAL", {SW_SHOW, SW_MINIMIZE}, SW_SHOWNORMAL, true, {true, false, false}},
        {"minimised, SW_SHOWNOACTIVATE", {SW_SHOW, SW_MINIMIZE}, SW_SHOWNOACTIVATE, true, {true, false, false}},
        {"maximised, SW_RESTORE", {SW_SHOWMAXIMIZED}, SW_RESTORE, true, {true, false, false}},
        {"maximised, SW_SHOW", {SW_SHOWMAXIMIZED}, SW_SHOW, true, {true, false, true}},
        {"maximised, SW_MINIMIZE", {SW_SHOWMAXIMIZED}, SW_MINIMIZE, true, {true, true, false}},
        {"maximised then minimised, SW_RESTORE", {SW_SHOWMAXIMIZED, SW_MINIMIZE}, SW_RESTORE, true, {true, false, true}},
        {"maximised then minimised, SW_SHOWNORMAL", {SW_SHOWMAXIMIZED, SW_MINIMIZE}, SW_SHOWNORMAL, true,
         {true, false, true}},
        {"maximised then minimised, restored twice", {SW_SHOWMAXIMIZED, SW_MINIMIZE, SW_RESTORE}, SW_RESTORE, true,
         {true, false, false}},
        {"minimised and hidden, SW_RESTORE", {SW_SHOW, SW_MINIMIZE, SW_HIDE}, SW_RESTORE, false, {true, false, false}},
        {"minimised and hidden, SW_SHOWNA", {SW_SHOW, SW_MINIMIZE, SW_HIDE}, SW_SHOWNA, false, {true, true, false}},
    };
    for (const ShowCase& c : cases) {
        SCOPED_TRACE(c.name);
        unique_hwnd hwnd(CreateRecordingWindow(UniqueCaption("show"), WS_OVERLAPPEDWINDOW));
        ASSERT_TRUE(hwnd);
        for (int command : c.before) ShowWindow(hwnd.get(), command);
        EXPECT_EQ(ShowWindow(hwnd.get(), c.command) != FALSE, c.wasVisible);
        const ShowState after = StateOf(hwnd.get());
        EXPECT_EQ(after.visible, c.after.visible);
        EXPECT_EQ(after.iconic, c.after.iconic);
        EXPECT_EQ(after.zoomed, c.after.zoomed);
    }
}

TEST_F(WindowsApi, ShowAndHideSendShowWindowOnlyOnAChange) {
    WatchMessages({WM_SHOWWINDOW});
    unique_hwnd hwnd(CreateRecordingWindow("showwindow", WS_POPUP));
    ASSERT_TRUE(hwnd);
    ShowWindow(hwnd.get(), SW_SHOW);
    ShowWindow(hwnd.get(), SW_SHOW);
    ShowWindow(hwnd.get(), SW_HIDE);
    ShowWindow(hwnd.get(), SW_HIDE);
    EXPECT_SEQUENCE(TakeLog(), {{WM_SHOWWINDOW, true, TRUE}, {WM_SHOWWINDOW, true, FALSE}});
}

TEST_F(WindowsApi, MinimiseAndRestoreReportTheirSizeType) {
    WatchMessages({WM_SIZE});
    unique_hwnd hwnd(CreateRecordingWindow("sizes", WS_OVERLAPPEDWINDOW));
    ASSERT_TRUE(hwnd);
    ShowWindow(hwnd.get(), SW_SHOW);
    TakeLog();
    ShowWindow(hwnd.get(), SW_MINIMIZE);
    ShowWindow(hwnd.get(), SW_RESTORE);
    ShowWindow(hwnd.get(), SW_SHOWMAXIMIZED);
    EXPECT_SEQUENCE(TakeLog(), {{WM_SIZE, true, SIZE_MINIMIZED}, {WM_SIZE, true, SIZE_RESTORED}, {WM_SIZE, true, SIZE_MAXIMIZED}});
}

// ---- enabling, focus and the foreground ----

TEST_F(WindowsApi, EnableWindowGivesThePreviousDisabledState) {
    WatchMessages({WM_ENABLE});
    unique_hwnd hwnd(CreateRecordingWindow("enable", WS_POPUP));
    ASSERT_TRUE(hwnd);
    EXPECT_TRUE(IsWindowEnabled(hwnd.get()));
    EXPECT_FALSE(EnableWindow(hwnd.get(), FALSE));
    EXPECT_FALSE(IsWindowEnabled(hwnd.get()));
    EXPECT_TRUE(EnableWindow(hwnd.get(), FALSE));
    EXPECT_TRUE(EnableWindow(hwnd.get(), TRUE));
    EXPECT_TRUE(IsWindowEnabled(hwnd.get()));
    EXPECT_FALSE(EnableWindow(hwnd.get(), TRUE));
    EXPECT_SEQUENCE(TakeLog(), {{WM_ENABLE, true, FALSE}, {WM_ENABLE, true, TRUE}});
}

TEST_F(WindowsApi, FocusGoesToAnEnabledWindowAndIsLostByDisablingIt) {
    unique_hwnd first(CreateRecordingWindow("focus one", WS_POPUP | WS_VISIBLE, 0, RECT{0, 0, 100, 100}));
    unique_hwnd second(CreateRecordingWindow("focus two", WS_POPUP | WS_VISIBLE, 0, RECT{100, 0, 200, 100}));
    ASSERT_TRUE(first && second);
    WatchMessages({WM_SETFOCUS, WM_KILLFOCUS});
    SetFocus(first.get());
    EXPECT_EQ(GetFocus(), first.get());
    TakeLog();
    // Focusing a window of an inactive top-level window activates it first,
    // and the activation's default handling already gives it the focus: the
    // call reports the window itself as the one focused before.
    EXPECT_EQ(SetFocus(second.get()), second.get());
    EXPECT_EQ(GetFocus(), second.get());
    const std::vector<LoggedMessage> log = TakeLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].message, static_cast<UINT>(WM_KILLFOCUS));
    EXPECT_EQ(log[0].hwnd, first.get());
    EXPECT_EQ(log[0].wParam, reinterpret_cast<WPARAM>(second.get()));
    EXPECT_EQ(log[1].message, static_cast<UINT>(WM_SETFOCUS));
    EXPECT_EQ(log[1].hwnd, second.get());
    EXPECT_EQ(log[1].wParam, reinterpret_cast<WPARAM>(first.get()));
    // Asking again for the window that has it changes nothing.
    EXPECT_EQ(SetFocus(second.get()), second.get());
    EXPECT_TRUE(TakeLog().empty());

    EnableWindow(second.get(), FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(second.get()), nullptr);  // a disabled window can't take it
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowsApi, HiddenAndZeroSizedWindowsTakeTheFocus) {
    unique_hwnd hidden(CreateRecordingWindow("hidden focus", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0}));
    ASSERT_TRUE(hidden);
    SetFocus(hidden.get());
    EXPECT_EQ(GetFocus(), hidden.get());
    ShowWindow(hidden.get(), SW_SHOW);
    EXPECT_EQ(GetFocus(), hidden.get());
}

TEST_F(WindowsApi, ForegroundWindowGetsTheFocusThroughActivation) {
    unique_hwnd first(CreateRecordingWindow("fg one", WS_POPUP | WS_VISIBLE, 0, RECT{0, 0, 100, 100}));
    unique_hwnd second(CreateRecordingWindow("fg two", WS_POPUP | WS_VISIBLE, 0, RECT{100, 0, 200, 100}));
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(SetForegroundWindow(first.get()));
    EXPECT_EQ(GetForegroundWindow(), first.get());
    EXPECT_EQ(GetFocus(), first.get());
    EXPECT_TRUE(SetForegroundWindow(second.get()));
    EXPECT_EQ(GetForegroundWindow(), second.get());
    EXPECT_EQ(GetFocus(), second.get());
}

// ---- placement ----

TEST_F(WindowsApi, PopupWindowsTakeAnySizeZeroIncluded) {
    unique_hwnd hwnd(CreateRecordingWindow("placement", WS_POPUP, WS_EX_TOOLWINDOW, RECT{10, 20, 110, 220}));
    ASSERT_TRUE(hwnd);
    RECT r{};
    ASSERT_TRUE(GetWindowRect(hwnd.get(), &r));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 110);
    EXPECT_EQ(r.bottom, 220);

    EXPECT_TRUE(SetWindowPos(hwnd.get(), nullptr, 0, 0, 0, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    GetWindowRect(hwnd.get(), &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 50);
    EXPECT_EQ(r.left, 10);

    EXPECT_TRUE(MoveWindow(hwnd.get(), 30, 40, 0, 0, FALSE));
    GetWindowRect(hwnd.get(), &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.bottom, 40);

    ShowWindow(hwnd.get(), SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(hwnd.get()));  // visible at zero size
    SetLastError(0xdeadbeef);
    HWND gone = CreateRecordingWindow("gone", WS_POPUP);
    DestroyWindow(gone);
    EXPECT_FALSE(GetWindowRect(gone, &r));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

// ---- timers ----

TEST_F(WindowsApi, TimersAreKilledOnceAndEndWithTheirWindow) {
    HWND hwnd = CreateRecordingWindow("timers", WS_POPUP);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(SetTimer(hwnd, 7, 60000, nullptr), 7u);
    EXPECT_EQ(SetTimer(hwnd, 8, 60000, nullptr), 8u);
    EXPECT_TRUE(KillTimer(hwnd, 7));
    EXPECT_FALSE(KillTimer(hwnd, 7));
    DestroyWindow(hwnd);
    EXPECT_FALSE(KillTimer(hwnd, 8));
}

// ---- registered messages ----

TEST_F(WindowsApi, RegisteredMessageNumbersIgnoreLetterCase) {
    const UINT first = RegisterWindowMessageA("QuellmarStarterTestMessage");
    EXPECT_GE(first, 0xC000u);
    EXPECT_LE(first, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageA("QuellmarStarterTestMessage"), first);
    EXPECT_EQ(RegisterWindowMessageA("QUELLMARSTARTERTESTMESSAGE"), first);
    const UINT other = RegisterWindowMessageA("QuellmarStarterTestMessage2");
    EXPECT_GE(other, 0xC000u);
    EXPECT_NE(other, first);
}

}  // namespace
