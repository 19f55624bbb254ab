// Loaded into the starter's process through a hook on its thread's queue, to
// read what only that process can: the entries of its open popup menu and
// the icon of its message box (menus and icons are the process's own
// handles). The driver posts "QuellmarTestsPeek" to the window and reads the
// answer, UTF-8 text, from the shared memory of that name, after its first
// byte, which is set once the answer is there. And for each menu command the
// thread takes, the hook releases the semaphore "QuellmarTestsTaken": a
// picked entry gives one, a menu closed otherwise none.
#include <windows.h>

#include <string>

// One line per entry: "-" for a separator, else its caption, then " [grey]"
// and " [x]" (check mark) where they apply, then a tab and the middle of its
// rectangle on screen; a submenu's entries follow it, each after "> ".
static void Entries(HWND window, HMENU menu, const std::wstring& indent, std::wstring& out) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t caption[512] = L"";
        GetMenuStringW(menu, i, caption, 512, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);  // a separator, which Wine reports grey as well
        out += indent + (state & MF_SEPARATOR ? L"-" : caption + std::wstring(state & MF_GRAYED ? L" [grey]" : L"") +
                                                           (state & MF_CHECKED ? L" [x]" : L""));
        RECT r{};  // none for an entry of a submenu that is not open
        GetMenuItemRect(window, menu, i, &r);
        out += L"\t" + std::to_wstring((r.left + r.right) / 2) + L" " + std::to_wstring((r.top + r.bottom) / 2) + L"\n";
        Entries(nullptr, GetSubMenu(menu, i), indent + L"> ", out);  // none: no entries
    }
}

extern "C" __declspec(dllexport) LRESULT CALLBACK Peek(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = code == HC_ACTION && wParam == PM_REMOVE ? reinterpret_cast<const MSG*>(lParam) : nullptr;  // taken from the queue
    if (msg && msg->message == WM_COMMAND && !msg->lParam)
        if (HANDLE taken = OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, L"QuellmarTestsTaken")) ReleaseSemaphore(taken, 1, nullptr), CloseHandle(taken);
    if (msg && msg->message == RegisterWindowMessageW(L"QuellmarTestsPeek")) {
        std::wstring out = L"0";
        if (HMENU menu = reinterpret_cast<HMENU>(SendMessageW(msg->hwnd, MN_GETHMENU, 0, 0)))
            Entries(msg->hwnd, menu, L"", out = L"");
        // A message box: the style number of its icon, the system's shared icon handle within this process.
        const LPCSTR icons[] = {IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK};
        for (HWND c = GetWindow(msg->hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            for (int i = 0; i < 4; ++i)
                if (LoadIconA(nullptr, icons[i]) == reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0)))
                    out = std::to_wstring(16 * (i + 1));
        HANDLE shared = OpenFileMappingW(FILE_MAP_WRITE, FALSE, L"QuellmarTestsPeek");
        if (void* view = shared ? MapViewOfFile(shared, FILE_MAP_WRITE, 0, 0, 0) : nullptr)
            WideCharToMultiByte(CP_UTF8, 0, out.c_str(), -1, static_cast<char*>(view) + 1, 65535, nullptr, nullptr),
                *static_cast<char*>(view) = 1, UnmapViewOfFile(view);
        if (shared) CloseHandle(shared);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
