/* The least a tray program can do: one hidden window, one tray icon, and on
 * a button release over the icon a popup menu with a single entry that ends
 * the program. The footprint benchmark sets the starter beside it, so it
 * does nothing beyond that: no settings, no registry, no second instance
 * check, no resources of its own (the system's application icon). */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>

#define TRAY_CALLBACK (WM_APP + 1)
#define TRAY_ICON_ID 1
#define MENU_EXIT 1

static const char kClassName[] = "MinimalTrayWindow";

static BOOL TrayIcon(HWND hwnd, DWORD action) {
    NOTIFYICONDATAA record;
    ZeroMemory(&record, sizeof record);
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = hwnd;
    record.uID = TRAY_ICON_ID;
    if (action == NIM_ADD) {
        record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        record.uCallbackMessage = TRAY_CALLBACK;
        record.hIcon = LoadIconA(NULL, IDI_APPLICATION);
        lstrcpynA(record.szTip, "Minimal Tray", sizeof record.szTip);
    }
    return Shell_NotifyIconA(action, &record);
}

static void OpenMenu(HWND hwnd) {
    POINT at;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuA(menu, MF_STRING, MENU_EXIT, "E&xit");
    GetCursorPos(&at);
    /* The owner must be the foreground window, or the menu stays open when
     * the user clicks elsewhere; the posted WM_NULL lets the next click on
     * the icon work at once. */
    SetForegroundWindow(hwnd);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, NULL);
    PostMessageA(hwnd, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TRAY_CALLBACK:
        if (lParam == WM_LBUTTONUP || lParam == WM_RBUTTONUP) OpenMenu(hwnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == MENU_EXIT) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        TrayIcon(hwnd, NIM_DELETE);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    WNDCLASSA windowClass;
    HWND hwnd;
    MSG msg;
    BOOL got;
    (void)previous;
    (void)commandLine;
    (void)show;

    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 1;

    /* Never shown: it only receives the tray's messages and owns the menu. */
    hwnd = CreateWindowExA(0, kClassName, "Minimal Tray", WS_OVERLAPPED, 0, 0, 0, 0, NULL, NULL, instance, NULL);
    if (!hwnd) return 1;
    if (!TrayIcon(hwnd, NIM_ADD)) {
        DestroyWindow(hwnd);
        return 1;
    }

    while ((got = GetMessageA(&msg, NULL, 0, 0)) != 0) {
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
