#include "platform/AppRuntime.h"

#include "platform/ActiveCodePage.h"
#include "platform/Handles.h"

#include <vector>

namespace platform {

namespace {

bool HasWildcard(const std::string& path) {
    return path.find_first_of("*?") != std::string::npos;
}

// The attributes of the file or folder path names; INVALID_FILE_ATTRIBUTES
// for none, and for "" and wildcards, which never name one.
DWORD Attributes(const std::string& path) {
    return path.empty() || HasWildcard(path) ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
}

}  // namespace

std::string AppFile() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);  // truncated: try a larger buffer
    }
}

std::string AppDirectory() {
    const std::string file = AppFile();
    const std::string::size_type slash = SingleByteCharacters(file, ActiveCodePageRule()).find_last_of('\\');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
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

bool FileExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FileExistsNormal(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
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
