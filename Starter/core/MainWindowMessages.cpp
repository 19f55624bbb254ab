// The main window's messages: a release of the left or right mouse button
// over the tray icon opens the popup menu at the mouse position; every
// other message goes on to the window's own procedure untouched.
#include "core/Mfrm.h"
#include "tray/MenuLayout.h"

void Mfrm::KZSubClassWindowProc(std::string& /*SourceDescription*/, HWND& /*hwnd*/, UINT& Msg, WPARAM& /*wParam*/,
                                LPARAM& lParam, LRESULT& /*ReturnValue*/, bool& /*ReturnValueUsedFlag*/) {
    if (Msg != TrayCallbackMessage || (lParam != WM_LBUTTONUP && lParam != WM_RBUTTONUP)) return;

    SetWidth(0);
    SetHeight(0);
    SetEnabled(true);
    SetVisible(true);
    Focus();

    PrepareMenu(MenuIndexM1);
    PrepareMenu(MenuIndexM2);
    PrepareMenu(MenuIndexM3);

    const LONG x = ProgramGetMousePosX();
    const LONG y = ProgramGetMousePosY();
    ProgramOpenPopUpMenu(x, y, 1);  // the menu bar's first list, M1

    SetVisible(false);
    SetEnabled(false);
}
