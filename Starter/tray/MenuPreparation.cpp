// The popup menu: its entries brought up to date before every opening, the
// mouse position, and the popup itself.
#include "core/Mfrm.h"
#include "core/TargetApp.h"
#include "platform/ActiveCodePage.h"
#include "tray/CompanionCaption.h"
#include "tray/MENUfrm.h"
#include "tray/MenuLayout.h"

void Mfrm::PrepareMenu(std::int16_t MenuIndex) {
    HWND window = nullptr;
    Boolean minimised = False;
    switch (MenuIndex) {
    case MenuIndexM1: {
        MENUfrm& menu = Menu();
        const TargetState state = GetTargetState(window, minimised);
        if (state == TargetNotRunning)
            menu.SetCaption(MenuIndexM1, M1Target, "Launch Quellmar (Normal Mode)");
        else if (minimised)
            menu.SetCaption(MenuIndexM1, M1Target, "Restore Quellmar (Minimized)");
        else
            menu.SetCaption(MenuIndexM1, M1Target, "Close Quellmar (Running)");
        menu.SetChecked(MenuIndexM1, M1AutoStart, AutoStartTarget == True);
        break;
    }
    case MenuIndexM2: {
        MENUfrm& menu = Menu();
        for (int i = M2FastRead; i <= M2ExtendedHelp; ++i) menu.SetEnabled(MenuIndexM2, i, true);
        switch (GetTargetState(window, minimised)) {
        case TargetNormalMode:
        case TargetFastSortMode:
        case TargetFastReadMode:
        case TargetExtendedHelpMode:
            for (int i = M2FastRead; i <= M2ExtendedHelp; ++i) menu.SetEnabled(MenuIndexM2, i, false);
            break;
        default:
            break;
        }
        break;
    }
    case MenuIndexM3: {
        MENUfrm& menu = Menu();
        Companions.LoadCompanionList();
        for (int i = 1; i <= Companions.CompanionCount(); ++i) {
            const CompanionEntry& companion = Companions.Entry(i);
            const CompanionMenuEntry entry = CompanionCaption(companion.FileType, companion.ApplicationName,
                                                              menu.Entry(MenuIndexM3, i).Caption, platform::ActiveCodePageRule());
            menu.SetCaption(MenuIndexM3, i, entry.Caption);
            menu.SetEnabled(MenuIndexM3, i, entry.Enabled);
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
