// The input box of the Windows build, answered the way a user answers it:
// found on the desktop by its caption, its field typed into, its buttons
// clicked. It runs on a thread of its own, as it is modal.
#include "harness/StarterTest.h"
#include "platform/AppRuntime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <string>
#include <thread>

namespace e2e {
namespace {

constexpr const char* kTitle = "Error during browsing";
constexpr const char* kPrompt = "Please enter path to browse application (explorer.exe not found):";

class InputBoxDialog : public ::testing::Test {
protected:
    void TearDown() override {
        // A box the test could not answer must not keep the thread alive.
        if (dialog_ && IsWindow(dialog_)) PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
        if (answer_.valid()) answer_.wait();
    }

    // Opens the box and waits for it; null when it did not show.
    HWND Open(const std::string& prompt, const std::string& defaultText) {
        prompt_ = prompt;
        defaultText_ = defaultText;
        answer_ = std::async(std::launch::async, [this] { return platform::InputBox(prompt_, kTitle, defaultText_); });
        dialog_ = WaitForDialog(kTitle, GetCurrentProcessId());
        return dialog_;
    }

    std::string Answer() {
        if (answer_.wait_for(std::chrono::seconds(15)) != std::future_status::ready) {
            ADD_FAILURE() << "the input box did not return";
            return "(no answer)";
        }
        return answer_.get();
    }

    std::string prompt_;
    std::string defaultText_;
    HWND dialog_ = nullptr;
    std::future<std::string> answer_;
};

TEST_F(InputBoxDialog, ShowsPromptDefaultTextAndTwoButtons) {
    HWND dialog = Open(kPrompt, "explorer.exe");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(DialogMessage(dialog), kPrompt);
    EXPECT_EQ(WindowText(FindChild(dialog, "Edit")), "explorer.exe");
    EXPECT_EQ(DialogButtons(dialog), (std::vector<std::string>{"OK", "Cancel"}));
    ASSERT_TRUE(PressDialogButton(dialog, "Cancel"));
    EXPECT_EQ(Answer(), "");
}

TEST_F(InputBoxDialog, OkGivesWhatWasTyped) {
    HWND dialog = Open(kPrompt, "");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(FillEditField(dialog, "C:\\Windows\\explorer.exe"));
    ASSERT_TRUE(PressDialogButton(dialog, "OK"));
    EXPECT_EQ(Answer(), "C:\\Windows\\explorer.exe");
}

TEST_F(InputBoxDialog, OkOnTheUntouchedFieldGivesTheDefaultText) {
    HWND dialog = Open(kPrompt, "C:\\Tools\\browse.exe");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(PressDialogButton(dialog, "OK"));
    EXPECT_EQ(Answer(), "C:\\Tools\\browse.exe");
}

TEST_F(InputBoxDialog, OkOnAnEmptiedFieldGivesEmptyText) {
    HWND dialog = Open(kPrompt, "explorer.exe");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(FillEditField(dialog, ""));
    ASSERT_TRUE(PressDialogButton(dialog, "OK"));
    EXPECT_EQ(Answer(), "");
}

TEST_F(InputBoxDialog, CancelGivesEmptyTextWhateverWasTyped) {
    HWND dialog = Open(kPrompt, "");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(FillEditField(dialog, "C:\\Windows\\explorer.exe"));
    ASSERT_TRUE(PressDialogButton(dialog, "Cancel"));
    EXPECT_EQ(Answer(), "");
}

// Opened from a tray menu, the box has no owner window: it must come up
// where the user sees it and take the keyboard at once.
TEST_F(InputBoxDialog, ComesUpCentredTopmostAndTakesTheKeyboard) {
    HWND dialog = Open(kPrompt, "");
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 5000));

    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    POINT centre = CentreOf(WindowRect(dialog));
    POINT workCentre = CentreOf(work);
    EXPECT_LE(std::abs(centre.x - workCentre.x), 1) << Describe(dialog);
    EXPECT_LE(std::abs(centre.y - workCentre.y), 1) << Describe(dialog);

    // Typing goes straight into the field; Esc closes the box like Cancel.
    TypeText("abc");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(FindChild(dialog, "Edit")) == "abc"; }, 5000));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Answer(), "");
}

// The browse prompt carries a whole path, which can be long and without a
// blank to break at: all of it must be readable, above the field.
TEST_F(InputBoxDialog, ShowsALongPromptWhole) {
    std::string path = "C:\\Program Files\\Halvane";
    while (path.size() < 220) path += "\\VeryLongFolderNameWithoutBlanks";
    std::string prompt = "Please enter path to browse application (" + path + "\\browse.exe not found):";
    HWND dialog = Open(prompt, "");
    ASSERT_NE(dialog, nullptr);
    HWND text = FindChild(dialog, "Static");
    HWND edit = FindChild(dialog, "Edit");
    ASSERT_NE(text, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(WindowText(text), prompt);

    // The height the text takes when wrapped to the control's width.
    RECT shown{};
    GetClientRect(text, &shown);
    RECT needed = shown;
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(text, WM_GETFONT, 0, 0)));
    DrawTextA(dc, prompt.c_str(), static_cast<int>(prompt.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    EXPECT_GE(shown.bottom, needed.bottom) << "the prompt is cut off";
    EXPECT_LE(WindowRect(text).bottom, WindowRect(edit).top) << "the prompt runs into the field";

    RECT box = WindowRect(dialog);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.bottom, GetSystemMetrics(SM_CYSCREEN));
    ASSERT_TRUE(PressDialogButton(dialog, "Cancel"));
    EXPECT_EQ(Answer(), "");
}

}  // namespace
}  // namespace e2e
