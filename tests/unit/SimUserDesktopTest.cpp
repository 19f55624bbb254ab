// What only the simulated desktop does: it plays the user and the other
// programs from the test's script (message boxes, the input box, the popup
// menu, clicks on the tray icon, Quellmar's window) and records what the
// starter showed. The parts that mirror Windows are held to it by the
// contract tests; these cases hold the script and the records.
#include "platform/AppRuntime.h"
#include "platform/FormWindow.h"
#include "platform/Win32Api.h"
#include "platform/sim/SimDesktop.h"
#include "support/RecordingWindow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

class SimUserDesktop : public ::testing::Test {
protected:
    void SetUp() override { FreshDesktop(); }
    void TearDown() override {
        AnswerMessages(nullptr);
        sim::Reset();
    }
};

// ---- message boxes ----

TEST_F(SimUserDesktop, MessageBoxesAreRecordedAndAnsweredFromTheScript) {
    sim::AnswerMessageBoxes({IDNO, IDYES});
    EXPECT_EQ(platform::MsgBox("Quit?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(platform::MsgBox("Really?", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(platform::MsgBox("Done.", MB_OK | MB_ICONINFORMATION), IDOK);  // an OK box needs no script
    EXPECT_EQ(MessageBoxA(nullptr, "untitled", nullptr, MB_OK), IDOK);

    const std::vector<sim::MessageBoxCall>& boxes = sim::MessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "Quit?");
    EXPECT_EQ(boxes[0].caption, "Quellmar Starter");
    EXPECT_EQ(boxes[0].style, 36u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].answer, IDNO);
    EXPECT_EQ(boxes[2].style, 64u);
    EXPECT_EQ(boxes[2].answer, IDOK);
    EXPECT_EQ(boxes[3].caption, "Error");  // Windows' title for a box without one
}

TEST_F(SimUserDesktop, AnUnansweredQuestionOrAnImpossibleAnswerEndsTheTestLoudly) {
    EXPECT_THROW(platform::MsgBox("Quit?", MB_YESNO | MB_ICONQUESTION), sim::UnscriptedInteraction);
    sim::AnswerMessageBoxes({IDYES});
    EXPECT_THROW(platform::MsgBox("Only OK", MB_OK), sim::UnscriptedInteraction);
    // Both boxes were shown before the test was told.
    EXPECT_EQ(sim::MessageBoxes().size(), 2u);
}

TEST_F(SimUserDesktop, MessagesKeepFlowingWhileABoxIsOpen) {
    HWND hwnd = CreateRecordingWindow("under a box", WS_POPUP);
    WatchMessages({WM_USER + 1});
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    int seenInHook = -1;
    sim::SetMessageBoxHook([&](const sim::MessageBoxCall& call) {
        EXPECT_EQ(call.text, "modal");
        seenInHook = static_cast<int>(TakeLog().size());  // the posted message was dispatched before
    });
    platform::MsgBox("modal", MB_OK);
    EXPECT_EQ(seenInHook, 1);
    DestroyWindow(hwnd);
}

// ---- the input box ----

TEST_F(SimUserDesktop, InputBoxesAreRecordedAndAnsweredFromTheScript) {
    sim::AnswerInputBoxes({"C:\\Tools\\browse.exe", ""});
    EXPECT_EQ(platform::InputBox("Enter the program:", "Error during browsing", "C:\\old.exe"), "C:\\Tools\\browse.exe");
    EXPECT_EQ(platform::InputBox("Again:", "Title", ""), "");  // Cancel
    ASSERT_EQ(sim::InputBoxes().size(), 2u);
    EXPECT_EQ(sim::InputBoxes()[0].prompt, "Enter the program:");
    EXPECT_EQ(sim::InputBoxes()[0].title, "Error during browsing");
    EXPECT_EQ(sim::InputBoxes()[0].defaultText, "C:\\old.exe");
    EXPECT_EQ(sim::InputBoxes()[0].answer, "C:\\Tools\\browse.exe");
    EXPECT_THROW(platform::InputBox("Unscripted", "Title", ""), sim::UnscriptedInteraction);
    EXPECT_EQ(sim::InputBoxes().size(), 3u);
}

// ---- the popup menu ----

struct PopupFixture {
    HWND owner = CreateRecordingWindow("menu owner", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0});
    HMENU popup = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    PopupFixture() {
        AppendMenuA(popup, MF_STRING, 101, "&Launch");
        AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(sub, MF_STRING, 201, "Extended Help");
        AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Special Modes...");
        AppendMenuA(popup, MF_STRING | MF_GRAYED, 102, "[not defined]");
        AppendMenuA(popup, MF_STRING | MF_CHECKED, 103, "&Auto Start");
    }
    ~PopupFixture() {
        DestroyMenu(popup);
        DestroyWindow(owner);
    }
};

TEST_F(SimUserDesktop, APopupMenuIsRecordedAsShown) {
    PopupFixture f;
    SetForegroundWindow(f.owner);
    EXPECT_TRUE(TrackPopupMenu(f.popup, TPM_RIGHTBUTTON, 640, 500, 0, f.owner, nullptr));
    ASSERT_EQ(sim::PopupMenus().size(), 1u);
    const sim::PopupMenuShown& shown = sim::PopupMenus()[0];
    EXPECT_EQ(shown.menu, f.popup);
    EXPECT_EQ(shown.flags, static_cast<UINT>(TPM_RIGHTBUTTON));
    EXPECT_EQ(shown.x, 640);
    EXPECT_EQ(shown.y, 500);
    EXPECT_EQ(shown.owner, f.owner);
    EXPECT_TRUE(shown.ownerWasForeground);
    EXPECT_EQ(shown.chosen, 0u);  // nothing scripted: dismissed
    ASSERT_EQ(shown.items.size(), 5u);
    EXPECT_EQ(shown.items[0].text, "&Launch");
    EXPECT_EQ(shown.items[0].id, 101u);
    EXPECT_EQ(shown.items[1].flags & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(shown.items[2].submenu, f.sub);
    ASSERT_EQ(shown.items[2].items.size(), 1u);
    EXPECT_EQ(shown.items[2].items[0].text, "Extended Help");
    EXPECT_EQ(shown.items[3].flags & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(shown.items[4].flags & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
}

TEST_F(SimUserDesktop, AChosenCommandIsPostedToTheOwnerAfterTheMenuCloses) {
    PopupFixture f;
    WatchMessages({WM_COMMAND, WM_EXITMENULOOP});
    sim::ChoosePopupMenuItem(201);  // in the submenu
    EXPECT_TRUE(TrackPopupMenu(f.popup, TPM_RIGHTBUTTON, 1, 1, 0, f.owner, nullptr));
    EXPECT_EQ(sim::PopupMenus().back().chosen, 201u);
    std::vector<LoggedMessage> log = TakeLog();
    ASSERT_EQ(log.size(), 1u);  // the menu closed; the command waits in the queue
    EXPECT_EQ(log[0].message, static_cast<UINT>(WM_EXITMENULOOP));
    EXPECT_EQ(sim::DispatchPendingMessages(), 1);
    log = TakeLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(log[0].wParam, 201u);
    EXPECT_EQ(log[0].lParam, 0);

    sim::ChoosePopupMenuItem(103);
    EXPECT_EQ(TrackPopupMenu(f.popup, TPM_RETURNCMD, 1, 1, 0, f.owner, nullptr), 103);
    EXPECT_EQ(sim::PendingMessageCount(), 0u);  // TPM_RETURNCMD: nothing posted
}

TEST_F(SimUserDesktop, GrayedOrMissingEntriesCantBeChosen) {
    PopupFixture f;
    sim::ChoosePopupMenuItem(102);  // grayed
    sim::ChoosePopupMenuItem(999);  // no such entry
    sim::DismissPopupMenu();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(TrackPopupMenu(f.popup, TPM_RETURNCMD, 1, 1, 0, f.owner, nullptr), 0);
    ASSERT_EQ(sim::PopupMenus().size(), 3u);
    EXPECT_TRUE(sim::PopupMenus()[0].choiceRefused);
    EXPECT_TRUE(sim::PopupMenus()[1].choiceRefused);
    EXPECT_FALSE(sim::PopupMenus()[2].choiceRefused);
    EXPECT_EQ(sim::PendingMessageCount(), 0u);
}

TEST_F(SimUserDesktop, TheMenuHookRunsWhileTheMenuIsOpen) {
    PopupFixture f;
    int depthSeen = 0;
    sim::SetPopupMenuHook([&](const sim::PopupMenuShown& shown) {
        ++depthSeen;
        EXPECT_EQ(shown.menu, f.popup);
        // Only one popup menu at a time.
        SetLastError(0);
        EXPECT_FALSE(TrackPopupMenu(f.popup, TPM_RETURNCMD, 1, 1, 0, f.owner, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
        EndMenu();
    });
    sim::ChoosePopupMenuItem(101);
    EXPECT_EQ(TrackPopupMenu(f.popup, TPM_RETURNCMD, 1, 1, 0, f.owner, nullptr), 0);  // EndMenu won
    EXPECT_EQ(depthSeen, 1);

    // A hook that throws (a test's failure, the process ending) leaves no menu open.
    sim::SetPopupMenuHook([](const sim::PopupMenuShown&) { throw std::runtime_error("ended"); });
    EXPECT_THROW(TrackPopupMenu(f.popup, TPM_RETURNCMD, 1, 1, 0, f.owner, nullptr), std::runtime_error);
    sim::SetPopupMenuHook(nullptr);
    sim::ChoosePopupMenuItem(101);
    EXPECT_EQ(TrackPopupMenu(f.popup, TPM_RETURNCMD, 1, 1, 0, f.owner, nullptr), 101);
}

TEST_F(SimUserDesktop, MenusAreCountedForLeakChecks) {
    EXPECT_EQ(sim::MenuCount(), 0u);
    {
        PopupFixture f;
        EXPECT_EQ(sim::MenuCount(), 2u);
    }
    EXPECT_EQ(sim::MenuCount(), 0u);
}

// ---- the tray ----

NOTIFYICONDATAA TrayRecord(HWND hwnd, UINT callback) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = hwnd;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callback;
    data.hIcon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0x4321));
    std::memset(data.szTip, ' ', sizeof data.szTip);
    std::memcpy(data.szTip, "Quellmar Starter", 17);
    return data;
}

TEST_F(SimUserDesktop, TrayCallsAreRecordedByteForByte) {
    HWND hwnd = CreateRecordingWindow("tray", WS_POPUP);
    NOTIFYICONDATAA data = TrayRecord(hwnd, 0xC123);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    ASSERT_EQ(sim::TrayCalls().size(), 1u);
    const sim::TrayCall& call = sim::TrayCalls()[0];
    EXPECT_EQ(call.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(call.result);
    ASSERT_EQ(call.bytes.size(), NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(std::memcmp(call.bytes.data(), &data, NOTIFYICONDATAA_V1_SIZE), 0);
    EXPECT_EQ(std::string(call.data.szTip, 64), std::string("Quellmar Starter") + '\0' + std::string(47, ' '));

    const std::vector<sim::TrayIcon> icons = sim::TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].hwnd, hwnd);
    EXPECT_EQ(icons[0].uID, 1u);
    EXPECT_EQ(icons[0].callbackMessage, 0xC123u);
    EXPECT_EQ(icons[0].icon, data.hIcon);
    EXPECT_EQ(icons[0].tip, "Quellmar Starter");

    NOTIFYICONDATAA tooShort = data;
    tooShort.cbSize = 8;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &tooShort));
    DestroyWindow(hwnd);
}

TEST_F(SimUserDesktop, WithoutATaskbarThereIsNoTrayIcon) {
    HWND hwnd = CreateRecordingWindow("tray", WS_POPUP);
    NOTIFYICONDATAA data = TrayRecord(hwnd, 0xC123);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    sim::SetTaskbarPresent(false);
    EXPECT_TRUE(sim::TrayIcons().empty());
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
    sim::SetTaskbarPresent(true);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    DestroyWindow(hwnd);
}

TEST_F(SimUserDesktop, AClickOnTheIconSendsItsCallbackMessage) {
    HWND hwnd = CreateRecordingWindow("tray", WS_POPUP);
    WatchMessages({0xC123});
    NOTIFYICONDATAA data = TrayRecord(hwnd, 0xC123);
    EXPECT_FALSE(sim::ClickTrayIcon(hwnd, 1, WM_LBUTTONUP));  // no icon yet
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    EXPECT_TRUE(sim::ClickTrayIcon(hwnd, 1, WM_RBUTTONUP));
    EXPECT_FALSE(sim::ClickTrayIcon(hwnd, 2, WM_RBUTTONUP));  // another identifier
    const std::vector<LoggedMessage> log = TakeLog();  // sent, not posted
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].wParam, 1u);
    EXPECT_EQ(log[0].lParam, WM_RBUTTONUP);
    DestroyWindow(hwnd);
    EXPECT_FALSE(sim::ClickTrayIcon(hwnd, 1, WM_LBUTTONUP));  // its window is gone
}

// ---- icons and the forms' icon ----

TEST_F(SimUserDesktop, TheProgramIconIsLoadedAtSmallIconSizeAndFreedWithTheForm) {
    EXPECT_EQ(sim::IconCount(), 0u);
    {
        platform::FormWindow form("QuellmarStarterTestIconForm", "icon form");
        ASSERT_TRUE(form.Create());
        ASSERT_NE(form.Icon(), nullptr);
        ASSERT_EQ(sim::IconCount(), 1u);
        const sim::IconInfo info = sim::Icons()[0];
        EXPECT_EQ(info.icon, form.Icon());
        EXPECT_EQ(info.resourceId, 1);
        EXPECT_EQ(info.cx, 16);
        EXPECT_EQ(info.cy, 16);
        HANDLE other = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, 32, 32, 0);
        EXPECT_NE(other, form.Icon());
        EXPECT_TRUE(DestroyIcon(static_cast<HICON>(other)));
        EXPECT_FALSE(DestroyIcon(static_cast<HICON>(other)));
    }
    EXPECT_EQ(sim::IconCount(), 0u);
}

// ---- other programs' windows ----

TEST_F(SimUserDesktop, AnotherProgramsWindowRecordsWhatItReceives) {
    HWND quellmar = sim::CreateTopLevelWindow("Quellmar", {SW_SHOWMINIMIZED});
    ASSERT_NE(quellmar, nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Quellmar"), quellmar);
    EXPECT_TRUE(IsIconic(quellmar));
    sim::WindowState state;
    ASSERT_TRUE(sim::ReadWindow(quellmar, state));
    EXPECT_TRUE(state.otherProcess);
    EXPECT_TRUE(state.minimized);
    EXPECT_EQ(state.caption, "Quellmar");

    ShowWindow(quellmar, SW_RESTORE);
    EXPECT_FALSE(IsIconic(quellmar));
    // The starter's thread can't give another program's window the focus.
    EXPECT_EQ(SetFocus(quellmar), nullptr);
    EXPECT_NE(GetFocus(), quellmar);
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(quellmar));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    EXPECT_EQ(SendMessageA(quellmar, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(quellmar));
    bool restored = false;
    bool closed = false;
    for (const sim::ReceivedMessage& m : sim::MessagesReceived(quellmar)) {
        restored = restored || (m.message == WM_SIZE && m.wParam == SIZE_RESTORED);
        closed = closed || m.message == WM_CLOSE;
    }
    EXPECT_TRUE(restored);
    EXPECT_TRUE(closed);
}

TEST_F(SimUserDesktop, AWindowThatRefusesToCloseStays) {
    sim::TopLevelWindowOptions options;
    options.refuseClose = true;
    HWND stubborn = sim::CreateTopLevelWindow("FastRead - Quellmar", options);
    SendMessageA(stubborn, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(stubborn));
    EXPECT_EQ(sim::WindowCaption(stubborn), "FastRead - Quellmar");
    EXPECT_EQ(GetForegroundWindow(), stubborn);  // shown normally, it came to the front
}

// ---- the message loop ----

TEST_F(SimUserDesktop, AnIdleHookPlaysTheUserForAMessageLoop) {
    HWND hwnd = CreateRecordingWindow("loop", WS_POPUP);
    WatchMessages({WM_USER + 1});
    int idle = 0;
    sim::SetIdleHook([&] {
        if (++idle < 3) PostMessageA(hwnd, WM_USER + 1, idle, 0);
        else PostQuitMessage(7);
    });
    MSG msg{};
    int dispatched = 0;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        DispatchMessageA(&msg);
        ++dispatched;
    }
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(dispatched, 2);
    EXPECT_EQ(TakeLog().size(), 2u);

    sim::SetIdleHook(nullptr);
    EXPECT_THROW(GetMessageA(&msg, nullptr, 0, 0), sim::UnscriptedInteraction);
    DestroyWindow(hwnd);
}

TEST_F(SimUserDesktop, DispatchingPendingMessagesLeavesAQuitInPlace) {
    HWND hwnd = CreateRecordingWindow("pending", WS_POPUP);
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    PostMessageA(hwnd, WM_USER + 2, 0, 0);
    PostQuitMessage(0);
    EXPECT_EQ(sim::PendingMessageCount(), 2u);
    EXPECT_EQ(sim::DispatchPendingMessages(), 2);
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    DestroyWindow(hwnd);
}

TEST_F(SimUserDesktop, AResetLeavesAnEmptyDesktopAndOldHandlesDead) {
    HWND hwnd = CreateRecordingWindow("old", WS_POPUP);
    HMENU menu = CreateMenu();
    sim::SetCursorPos(300, 200);
    sim::Reset();
    EXPECT_EQ(sim::WindowCount(), 0u);
    EXPECT_EQ(sim::MenuCount(), 0u);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsMenu(menu));
    POINT p{-1, -1};
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    HWND fresh = CreateRecordingWindow("new", WS_POPUP);
    EXPECT_NE(fresh, hwnd);  // handle values are never reused
}

}  // namespace
