// A stand-in for Quellmar. It shows one top-level window whose caption tells
// the mode it was started in, and leaves a trace beside its program file:
//
//   Quellmar.starts.log   one line per start: the command line as the
//                         process got it, a tab, the current directory
//   Quellmar.events.log   one line per reaction: "closed", "close refused",
//                         "restored"
//
// Control files beside the program file change its behaviour (only their
// presence counts):
//
//   Quellmar.start-minimized  show the window minimised at start
//   Quellmar.start-maximized  show the window maximised at start
//   Quellmar.refuse-close     ignore WM_CLOSE (looked up at each WM_CLOSE)
#include <windows.h>

#include <cstring>
#include <string>

namespace {

std::string g_folder;  // the program file's folder, with a closing "\"
bool g_sizedAway = false;  // minimised or maximised since the last restore

std::string ProgramFolder() {
    char path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, n < sizeof path ? n : 0);
    std::string::size_type slash = file.find_last_of('\\');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

bool Present(const char* name) {
    DWORD attributes = GetFileAttributesA((g_folder + name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Appends one line and closes the file again, so that a reader sees every
// line as soon as it is written. Writers share the file: several stand-ins
// may run at once.
void AppendLine(const char* name, const std::string& line) {
    HANDLE file = CreateFileA((g_folder + name).c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void LogEvent(const char* what) { AppendLine("Quellmar.events.log", what); }

// The switches come after the program, with a blank before them; the
// caption is the one Quellmar shows in that mode.
const char* CaptionFor(const char* commandLine) {
    if (std::strstr(commandLine, " /FastRead")) return "FastRead - Quellmar";
    if (std::strstr(commandLine, " /FastSort")) return "FastSort - Quellmar";
    if (std::strstr(commandLine, " /ExtendedHelp")) return "Quellmar (extended help mode)";
    return "Quellmar";
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        if (Present("Quellmar.refuse-close")) {
            LogEvent("close refused");
            return 0;
        }
        LogEvent("closed");
        DestroyWindow(hwnd);
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXIMIZED) {
            g_sizedAway = true;
        } else if (wParam == SIZE_RESTORED && g_sizedAway) {
            g_sizedAway = false;
            LogEvent("restored");
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    g_folder = ProgramFolder();

    const char* commandLine = GetCommandLineA();
    char current[MAX_PATH * 4] = "";
    GetCurrentDirectoryA(sizeof current, current);
    AppendLine("Quellmar.starts.log", std::string(commandLine) + "\t" + current);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "QuellmarStandinWindow";
    if (!RegisterClassA(&windowClass)) return 1;

    HWND window = CreateWindowExA(0, windowClass.lpszClassName, CaptionFor(commandLine),
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480, 320,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;

    // The first ShowWindow takes the starter's show command; the control
    // files then move the window on to the state a test asked for.
    ShowWindow(window, showCommand);
    if (Present("Quellmar.start-minimized")) {
        ShowWindow(window, SW_MINIMIZE);
    } else if (Present("Quellmar.start-maximized")) {
        ShowWindow(window, SW_MAXIMIZE);
    }
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
