// The input box on Windows: a small modal dialog built in memory, with the
// prompt, one edit field, OK and Cancel. It belongs to no window (the
// starter has none the user could see), so it is centred on the screen and
// kept topmost and in the foreground: opened from a tray menu it would
// otherwise come up behind whatever the user is working in.
#include "platform/AppRuntime.h"

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

namespace {

// Control identifiers within the dialog.
constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

// Layout in dialog units: the prompt beside the buttons, the edit field
// across the bottom. The prompt grows downwards when its text needs it.
constexpr short kMargin = 7;
constexpr short kDialogWidth = 260;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kPromptWidth = kDialogWidth - 3 * kMargin - kButtonWidth;
constexpr short kPromptHeight = 44;
constexpr short kEditHeight = 12;
constexpr short kDialogHeight = kMargin + kPromptHeight + kMargin + kEditHeight + kMargin;

struct InputBoxState {
    const std::string* prompt;
    const std::string* title;
    const std::string* defaultText;
    std::string answer;
};

// Writes a DLGTEMPLATE and its items into a WORD buffer. Each item starts
// on a DWORD boundary of the template, as DialogBoxIndirect requires; the
// vector's storage itself is suitably aligned.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, DWORD exStyle, short cx, short cy, WORD itemCount) {
        PutDword(style);
        PutDword(exStyle);
        Put(itemCount);
        Put(0);  // x, y: ignored with DS_CENTER
        Put(0);
        Put(static_cast<WORD>(cx));
        Put(static_cast<WORD>(cy));
        Put(0);  // no menu
        Put(0);  // the standard dialog class
        Put(0);  // the caption is set at WM_INITDIALOG, from ANSI text
        Put(8);  // DS_SETFONT: point size, then the face name
        PutText(L"MS Shell Dlg");
    }

    // A control of a predefined class (0x0080 button, 0x0081 edit, 0x0082 static).
    void AddItem(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id,
                 WORD windowClass, const wchar_t* text) {
        while (words_.size() % 2 != 0) Put(0);
        PutDword(style | WS_CHILD | WS_VISIBLE);
        PutDword(exStyle);
        Put(static_cast<WORD>(x));
        Put(static_cast<WORD>(y));
        Put(static_cast<WORD>(cx));
        Put(static_cast<WORD>(cy));
        Put(id);
        Put(0xFFFF);
        Put(windowClass);
        PutText(text);
        Put(0);  // no creation data
    }

    LPCDLGTEMPLATEA get() const { return reinterpret_cast<LPCDLGTEMPLATEA>(words_.data()); }

private:
    void Put(WORD w) { words_.push_back(w); }
    void PutDword(DWORD d) {
        Put(LOWORD(d));
        Put(HIWORD(d));
    }
    void PutText(const wchar_t* text) {
        for (; *text; ++text) Put(static_cast<WORD>(*text));
        Put(0);
    }

    std::vector<WORD> words_;
};

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    int copied = GetWindowTextA(hwnd, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void MoveBy(HWND dialog, HWND control, int dy) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A long prompt (the browse prompt carries a whole path) would be cut off
// in the fixed layout: grow the prompt to the height its text needs, move
// the edit field down and grow the dialog by as much, then centre it again.
void FitPrompt(HWND dialog) {
    HWND prompt = GetDlgItem(dialog, kPromptId);
    RECT area;
    GetClientRect(prompt, &area);
    std::string text = WindowText(prompt);

    HDC dc = GetDC(prompt);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(prompt, WM_GETFONT, 0, 0)));
    RECT needed = area;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, oldFont);
    ReleaseDC(prompt, dc);

    int grow = needed.bottom - area.bottom;
    if (grow <= 0) return;
    // Centred in the work area, as DS_CENTER placed it, and never taller.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window;
    GetWindowRect(dialog, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int room = (work.bottom - work.top) - height;
    if (grow > room) grow = room > 0 ? room : 0;
    if (grow == 0) return;

    SetWindowPos(prompt, nullptr, 0, 0, area.right, area.bottom + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveBy(dialog, GetDlgItem(dialog, kEditId), grow);
    height += grow;
    int x = work.left + ((work.right - work.left) - width) / 2;
    int y = work.top + ((work.bottom - work.top) - height) / 2;
    SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<InputBoxState*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        // The texts are set here, through the ANSI functions, so they take
        // the same code page as every other text of the program.
        SetWindowTextA(dialog, state->title->c_str());
        SetDlgItemTextA(dialog, kPromptId, state->prompt->c_str());
        HWND edit = GetDlgItem(dialog, kEditId);
        SetWindowTextA(edit, state->defaultText->c_str());
        FitPrompt(dialog);
        SetForegroundWindow(dialog);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return FALSE;  // the focus has been set here
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(dialog, DWLP_USER));
            state->answer = WindowText(GetDlgItem(dialog, kEditId));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:  // the Cancel button, Esc and the close box
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER |
                              DS_SETFOREGROUND,
                          WS_EX_TOPMOST, kDialogWidth, kDialogHeight, 4);
    dialog.AddItem(SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX, 0, kMargin, kMargin, kPromptWidth, kPromptHeight,
                   kPromptId, 0x0082, L"");
    dialog.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 0, kDialogWidth - kMargin - kButtonWidth, kMargin,
                   kButtonWidth, kButtonHeight, IDOK, 0x0080, L"OK");
    dialog.AddItem(BS_PUSHBUTTON | WS_TABSTOP, 0, kDialogWidth - kMargin - kButtonWidth,
                   kMargin + kButtonHeight + 4, kButtonWidth, kButtonHeight, IDCANCEL, 0x0080, L"Cancel");
    dialog.AddItem(ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, kMargin,
                   kMargin + kPromptHeight + kMargin, kDialogWidth - 2 * kMargin, kEditHeight, kEditId, 0x0081,
                   L"");

    InputBoxState state{&prompt, &title, &defaultText, std::string()};
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.get(), nullptr, InputBoxProc,
                                             reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? state.answer : std::string();
}

}  // namespace platform
