// The popup menu: its entries brought up to date before every opening, the
// mouse position, and the popup itself.
#include "companions/PathHelpers.h"
#include "core/Mfrm.h"
#include "core/TargetApp.h"
#include "tray/MENUfrm.h"

namespace {

constexpr int kCaptionMaxLength = 50;

// How the ANSI code page of the captions makes characters of bytes; it is
// fixed for the life of the process.
const CodePageRule& ActiveCodePageRule() {
    static const CodePageRule rule = [] {
        CodePageRule active;
        const UINT codePage = GetACP();
        if (codePage == CP_UTF8) {
            active.kind = CodePageRule::Kind::Utf8;
            return active;
        }
        for (int byte = 0; byte < 256; ++byte)
            active.leadBytes[byte] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte)) != FALSE;
        for (bool lead : active.leadBytes)
            if (lead) active.kind = CodePageRule::Kind::DoubleByte;
        return active;
    }();
    return rule;
}

// The caption of a companion entry; false when its kind has none of its own
// and the entry keeps the caption it had.
bool CompanionCaption(const CompanionEntry& entry, std::string& caption) {
    const std::string& path = entry.ApplicationName;
    switch (entry.FileType) {
    case CompanionKindEmpty:
        caption.clear();
        return true;
    case CompanionKindProgram:
        caption = ShortenText(GetFileName(RemoveExtension(path)), kCaptionMaxLength, ActiveCodePageRule());
        return true;
    case CompanionKindFolder:
        if (path.empty()) {
            caption.clear();
        } else {
            // A folder path ends with "\": its name is what stands before it.
            caption = GetFileName(path.substr(0, path.size() - 1));
            if (caption.empty()) caption = path;
        }
        return true;
    default:
        return false;
    }
}

}  // namespace

void Mfrm::PrepareMenu(std::int16_t MenuIndex) {
    HWND window = nullptr;
    Boolean minimised = False;
    switch (MenuIndex) {
    case 1: {
        MENUfrm& menu = Menu();
        const TargetState state = GetTargetState(window, minimised);
        if (state == TargetNotRunning)
            menu.SetCaption(1, 1, "Launch Quellmar (Normal Mode)");
        else if (minimised)
            menu.SetCaption(1, 1, "Restore Quellmar (Minimized)");
        else
            menu.SetCaption(1, 1, "Close Quellmar (Running)");
        menu.SetChecked(1, 8, AutoStartTarget == True);
        break;
    }
    case 2: {
        MENUfrm& menu = Menu();
        for (int i = 1; i <= 3; ++i) menu.SetEnabled(2, i, true);
        switch (GetTargetState(window, minimised)) {
        case TargetNormalMode:
        case TargetFastSortMode:
        case TargetFastReadMode:
        case TargetExtendedHelpMode:
            for (int i = 1; i <= 3; ++i) menu.SetEnabled(2, i, false);
            break;
        default:
            break;
        }
        break;
    }
    case 3: {
        MENUfrm& menu = Menu();
        Companions.LoadCompanionList();
        for (int i = 1; i <= Companions.CompanionCount(); ++i) {
            std::string caption;
            if (CompanionCaption(Companions.Entry(i), caption)) menu.SetCaption(3, i, caption);
            if (!menu.Entry(3, i).Caption.empty()) {
                menu.SetEnabled(3, i, true);
            } else {
                menu.SetEnabled(3, i, false);
                menu.SetCaption(3, i, "[not defined]");
            }
        }
        break;
    }
    default:
        break;
    }
}

LONG Mfrm::ProgramGetMousePosX() {
    POINT point{};
    GetCursorPos(&point);
    return point.x;
}

LONG Mfrm::ProgramGetMousePosY() {
    POINT point{};
    GetCursorPos(&point);
    return point.y;
}

void Mfrm::ProgramOpenPopUpMenu(LONG XPos, LONG YPos, std::int16_t PopUpMenuIndex) {
    MENUfrm& menu = Menu();
    HWND owner = menu.hwnd();
    HMENU list = GetSubMenu(menu.MenuBar(), PopUpMenuIndex - 1);
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // A tray program's menu only closes when the user clicks elsewhere if
    // its owner is the foreground window; the WM_NULL afterwards lets a
    // second click on the icon open it again at once.
    SetForegroundWindow(owner);
    TrackPopupMenu(list, TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, XPos, YPos, 0, owner, &screen);
    PostMessageA(owner, WM_NULL, 0, 0);
}
