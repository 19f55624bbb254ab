// A program that only writes down how it was started, for the tests of
// process starts: one line per start, appended to "<its own path>.log": the
// command line, a tab, the current directory, a tab, and the show command
// it was given (SW_SHOWDEFAULT when the starter gave none). Then it ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    char directory[MAX_PATH + 1] = {};
    DWORD directoryLength = GetCurrentDirectoryA(MAX_PATH, directory);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    WORD show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : static_cast<WORD>(SW_SHOWDEFAULT);

    std::string line = GetCommandLineA();
    line += '\t';
    line.append(directory, directoryLength);
    line += '\t';
    line += std::to_string(show);
    line += "\r\n";

    std::string log = std::string(path, length) + ".log";
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
