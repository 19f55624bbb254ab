#include "platform/AppRuntime.h"

#include "platform/Handles.h"
#include "shared/TextRules.h"

#include <vector>

namespace platform {

namespace {

std::string ModuleFileName() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);  // truncated: try a larger buffer
    }
}

bool HasWildcard(const std::string& path) {
    return path.find_first_of("*?") != std::string::npos;
}

}  // namespace

std::string AppPath() {
    std::string file = ModuleFileName();
    std::string::size_type slash = file.find_last_of('\\');
    if (slash == std::string::npos) return std::string();
    std::string dir = file.substr(0, slash);
    if (dir.size() == 2 && dir[1] == ':') dir += '\\';  // a drive root keeps its "\"
    return dir;
}

std::string AppDirectory() {
    return WithClosingBackslash(AppPath());
}

std::string AppExeName() {
    std::string file = ModuleFileName();
    std::string::size_type slash = file.find_last_of('\\');
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    std::string::size_type dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool PrevInstance(const std::string& instanceName) {
    // A named mutex, not a window search: it holds against two starters
    // launched at the same moment. The handle stays open for the life of
    // the process; asking again closes this process's claim first, so only
    // another process's claim counts.
    // A mutex of that name that this process may not open belongs to a
    // starter of another user or an elevated one: another instance too.
    static unique_handle instance;
    instance.reset();
    SetLastError(0);
    instance.reset(CreateMutexA(nullptr, FALSE, instanceName.c_str()));
    const DWORD error = GetLastError();
    return instance ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
}

int MsgBox(const std::string& text, UINT style) {
    return MessageBoxA(nullptr, text.c_str(), kApplicationTitle, style);
}

bool StartProcess(const std::string& commandLine, WORD showCommand) {
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    unique_process_information process;
    return CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          process.put()) != FALSE;
}

bool FileExistsNormal(const std::string& path) {
    if (path.empty() || HasWildcard(path)) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool FolderExists(const std::string& path) {
    if (path.empty() || HasWildcard(path)) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ChangeDirectory(const std::string& path) {
    return !path.empty() && SetCurrentDirectoryA(path.c_str()) != FALSE;
}

void RestrictDllSearch() {
    // Looked up at run time: systems without the function have no such
    // loader option.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto set = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(
                            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                      : nullptr;
    if (set) set(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
}

void EndProcess() {
    ExitProcess(0);
}

}  // namespace platform
