// The input box on Windows: a small modal dialog built in memory, with the
// prompt, one edit field, OK and Cancel. It belongs to no window (the
// starter has none the user could see), so it is centred in the work area of
// its monitor and kept topmost and in the foreground: opened from a tray menu
// it would otherwise come up behind whatever the user is working in. Its
// font, and with it every control, is sized for the DPI of that monitor.
#include "platform/AppRuntime.h"
#include "platform/Handles.h"

#include <algorithm>
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
constexpr short kEditTop = kMargin + kPromptHeight + kMargin;
constexpr short kDialogHeight = kEditTop + kEditHeight + kMargin;
constexpr short kButtonLeft = kDialogWidth - kMargin - kButtonWidth;
constexpr short kCancelTop = kMargin + kButtonHeight + 4;
// Posted to the box to lay it out again once a DPI change has been handled.
constexpr UINT kRelayout = WM_APP + 1;

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

// Pixels per four dialog units across and eight down: from the box's font
// as it is now, which the dialog manager makes for the DPI of the box's
// monitor (and makes again when the box moves to a monitor of another DPI).
SIZE BaseUnits(HWND dialog) {
    const unique_window_dc dc(dialog, reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    SIZE letters{};
    GetTextExtentPoint32A(dc.get(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    return SIZE{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

// The height a control's text needs, word-wrapped at width, in its font.
int TextHeight(HWND control, int width) {
    std::string text = WindowText(control);
    const unique_window_dc dc(control, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, width, 0};
    DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
    return needed.bottom;
}

// Lays the box out in proportion to its font: the layout in dialog units,
// except that the prompt grows to the height its text needs (the browse
// prompt carries a whole path) and the edit field and the box follow it
// down, never beyond the height of the work area of the box's monitor. With
// centre, the box is centred in that work area; else it stays where it is.
void LayOut(HWND dialog, bool centre) {
    const SIZE base = BaseUnits(dialog);
    // Position and size each converted on their own, as the dialog manager does.
    auto pixels = [&](int x, int y, int cx, int cy) {
        const int left = MulDiv(x, base.cx, 4), top = MulDiv(y, base.cy, 8);
        return RECT{left, top, left + MulDiv(cx, base.cx, 4), top + MulDiv(cy, base.cy, 8)};
    };
    RECT prompt = pixels(kMargin, kMargin, kPromptWidth, kPromptHeight);
    RECT edit = pixels(kMargin, kEditTop, kDialogWidth - 2 * kMargin, kEditHeight);
    RECT box = pixels(0, 0, kDialogWidth, kDialogHeight);
    // The frame around the client area, as drawn at the box's DPI.
    RECT window{}, client{};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    box.right += (window.right - window.left) - client.right;
    box.bottom += (window.bottom - window.top) - client.bottom;

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int needed = TextHeight(GetDlgItem(dialog, kPromptId), prompt.right - prompt.left) -
                       (prompt.bottom - prompt.top);
    const int grow = std::max(0, std::min(needed, static_cast<int>(work.bottom - work.top - box.bottom)));
    prompt.bottom += grow;
    OffsetRect(&edit, 0, grow);
    box.bottom += grow;

    const struct { int id; RECT at; } controls[] = {
        {kPromptId, prompt},
        {kEditId, edit},
        {IDOK, pixels(kButtonLeft, kMargin, kButtonWidth, kButtonHeight)},
        {IDCANCEL, pixels(kButtonLeft, kCancelTop, kButtonWidth, kButtonHeight)},
    };
    for (const auto& control : controls) {
        SetWindowPos(GetDlgItem(dialog, control.id), nullptr, control.at.left, control.at.top,
                     control.at.right - control.at.left, control.at.bottom - control.at.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (centre) {
        OffsetRect(&box, work.left + (work.right - work.left - box.right) / 2,
                   work.top + (work.bottom - work.top - box.bottom) / 2);
    } else {
        OffsetRect(&box, window.left, window.top);
    }
    SetWindowPos(dialog, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
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
        LayOut(dialog, true);
        SetForegroundWindow(dialog);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return FALSE;  // the focus has been set here
    }
    case WM_DPICHANGED:
        // Moved to a monitor of another DPI: the dialog manager scales the
        // box and its font; the prompt's height is then fitted again.
        PostMessageA(dialog, kRelayout, 0, 0);
        return FALSE;
    case kRelayout:
        LayOut(dialog, false);
        return TRUE;
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
    dialog.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 0, kButtonLeft, kMargin, kButtonWidth, kButtonHeight, IDOK,
                   0x0080, L"OK");
    dialog.AddItem(BS_PUSHBUTTON | WS_TABSTOP, 0, kButtonLeft, kCancelTop, kButtonWidth, kButtonHeight, IDCANCEL,
                   0x0080, L"Cancel");
    dialog.AddItem(ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, kMargin, kEditTop,
                   kDialogWidth - 2 * kMargin, kEditHeight, kEditId, 0x0081, L"");

    InputBoxState state{&prompt, &title, &defaultText, std::string()};
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.get(), nullptr, InputBoxProc,
                                             reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? state.answer : std::string();
}

}  // namespace platform
