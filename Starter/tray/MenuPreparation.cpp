// The popup menu: its entries brought up to date before every opening, the
// mouse position, and the popup itself.
#include "companions/ActiveCodePage.h"
#include "core/Mfrm.h"
#include "core/TargetApp.h"
#include "tray/CompanionCaption.h"
#include "tray/MENUfrm.h"

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
            const CompanionEntry& companion = Companions.Entry(i);
            const CompanionMenuEntry entry =
                CompanionCaption(companion.FileType, companion.ApplicationName, menu.Entry(3, i).Caption, ActiveCodePageRule());
            menu.SetCaption(3, i, entry.Caption);
            menu.SetEnabled(3, i, entry.Enabled);
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
