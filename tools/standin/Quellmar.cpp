// A stand-in for Quellmar, and a start recorder under any other name.
//
// Every start, whatever the file is called, appends one line to
// "<name>.starts.log" beside the program file: the command line as the
// process got it, a tab, the current directory. A copy planted as
// C:\Program.exe, explorer.exe, a companion program or a browser thus
// records its own starts, and ends at once.
//
// Named Quellmar.exe it goes on as Quellmar does: one top-level window
// whose caption tells the mode it was started in (normal, FastRead, FastSort
// or extended help),
// and its reactions in "Quellmar.events.log": "closed", "restored",
// "hanging". Files beside it, by their presence, change its behaviour:
//
//   Quellmar.start-minimized  show the window minimised at start
//   Quellmar.hang             stop answering messages for as long as the
//                             file stays (looked for ten times a second)
//   Quellmar.busy             take 3 s over the next WM_NULL (the file goes):
//                             busy, but not yet hung by the system's rule
//
// Named BusyTray.exe it is a busy notification area: a window of the tray's
// class, which the shell's requests (WM_COPYDATA) reach before Wine's own
// tray, that refuses them, writing "refused" for each to
// "BusyTray.events.log", for the milliseconds its command line ends with,
// then steps aside. With " /PassFirst" it hands its first request on to
// Wine's tray before refusing it: an answer that came after the caller's
// time-out.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string g_base;        // the program file's path without its extension
bool g_minimised = false;  // since the last restore

bool Present(const char* suffix) { return GetFileAttributesA((g_base + suffix).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Opened and closed for each line, shared, so that a reader sees every line
// at once and several copies may write side by side.
void Append(const char* suffix, const std::string& line) {
    HANDLE file = CreateFileA((g_base + suffix).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, (line + "\r\n").c_str(), DWORD(line.size() + 2), &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static int passes = std::strstr(GetCommandLineA(), " /PassFirst") ? 1 : 0;  // requests the busy tray is to hand on
    if (msg == WM_COPYDATA && passes-- > 0) SendMessageA(FindWindowExA(nullptr, hwnd, "Shell_TrayWnd", nullptr), msg, wParam, lParam);
    if (msg == WM_COPYDATA) return Append(".events.log", "refused"), FALSE;
    if (msg == WM_TIMER && wParam == 2) DestroyWindow(hwnd);  // the busy tray steps aside
    if (msg == WM_NULL && DeleteFileA((g_base + ".busy").c_str())) Append(".events.log", "busy"), Sleep(3000);
    if (msg == WM_CLOSE) Append(".events.log", "closed");  // and DefWindowProcA destroys the window
    if (msg == WM_SIZE && wParam == SIZE_RESTORED && g_minimised) Append(".events.log", "restored");
    if (msg == WM_SIZE) g_minimised = wParam == SIZE_MINIMIZED;
    if (msg == WM_TIMER && Present(".hang")) {
        // Hung: its thread reads no message while the file stays, so the
        // system soon counts its window as not responding.
        Append(".events.log", "hanging");
        while (Present(".hang")) Sleep(50);
    }
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    char path[MAX_PATH * 4] = "", current[MAX_PATH * 4] = "";
    const std::string file(path, GetModuleFileNameA(nullptr, path, sizeof path));
    g_base = file.substr(0, file.find_last_of('.'));  // each copy's name ends in ".exe"
    const char* commandLine = GetCommandLineA();
    GetCurrentDirectoryA(sizeof current, current);
    Append(".starts.log", std::string(commandLine) + "\t" + current);
    const char* name = file.c_str() + file.find_last_of('\\') + 1;
    const bool tray = lstrcmpiA(name, "BusyTray.exe") == 0;
    if (!tray && lstrcmpiA(name, "Quellmar.exe") != 0) return 0;

    // Quellmar's caption in the mode its switch names (a blank before it).
    const char* caption = std::strstr(commandLine, " /FastRead")       ? "FastRead - Quellmar"
                          : std::strstr(commandLine, " /FastSort")     ? "FastSort - Quellmar"
                          : std::strstr(commandLine, " /ExtendedHelp") ? "Quellmar (extended help mode)" : "Quellmar";
    WNDCLASSA windowClass{0, WindowProc, 0, 0, instance, nullptr, nullptr, HBRUSH(COLOR_WINDOW + 1), nullptr,
                          tray ? "Shell_TrayWnd" : "QuellmarStandinWindow"};
    RegisterClassA(&windowClass);
    // Away from the top left corner, where Wine's tray sits on a display without a taskbar.
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, tray ? nullptr : caption, tray ? WS_POPUP : WS_OVERLAPPEDWINDOW,
                                  400, 300, 480, 320, nullptr, nullptr, instance, nullptr);
    // The first ShowWindow takes the starter's show command; the control
    // file then moves the window on to the state a test asked for.
    if (!tray) ShowWindow(window, showCommand);
    if (Present(".start-minimized")) ShowWindow(window, SW_MINIMIZE);
    SetTimer(window, tray ? 2 : 1, tray ? std::atoi(std::strrchr(commandLine, ' ') + 1) : 100, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
