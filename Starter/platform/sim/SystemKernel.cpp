// The simulated kernel32 side that isn't files or processes: the last
// error, kernel handles, named mutexes, the program's own module, the
// Windows directory, the end of the process, and the reset of the whole
// system side.
#include "platform/sim/SystemWorld.h"

#include <cstring>
#include <map>
#include <set>

namespace sim::detail {

namespace {

thread_local DWORD lastError = 0;

struct KernelObject {
    HandleKind kind;
    std::string mutexName;  // a named mutex's name in its namespace; "" otherwise
};
std::map<HANDLE, KernelObject> handles;
// Never reset: a handle that survived a reset must not name a new object.
ULONG_PTR nextHandle = 0x100;

std::set<std::string> heldElsewhere;  // mutexes another process holds

std::string modulePath;
std::string windowsDirectory;

const ULONG_PTR kModuleBase = 0x400000;

// The object name as the kernel sees it: "Local\" is the session's own
// namespace, where plain names live too; "Global\" is a namespace of its own.
// Any other "\" names a missing directory. "" when the name is unusable.
std::string MutexKey(const std::string& name, bool* pathMissing) {
    *pathMissing = false;
    std::string rest = name;
    std::string space;
    if (rest.compare(0, 6, "Local\\") == 0) {
        rest = rest.substr(6);
    } else if (rest.compare(0, 7, "Global\\") == 0) {
        rest = rest.substr(7);
        space = "Global\\";
    }
    if (rest.find('\\') != std::string::npos) {
        *pathMissing = true;
        return std::string();
    }
    return space + rest;  // object names keep their case
}

bool MutexExists(const std::string& key) {
    if (heldElsewhere.count(key) != 0) return true;
    for (const auto& entry : handles)
        if (entry.second.kind == HandleKind::Mutex && entry.second.mutexName == key) return true;
    return false;
}

std::string FileNameOf(const std::string& path) {
    std::string::size_type slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutTrailingSeparator(const std::string& path) {
    FullPath full = MakeFullPath(path);
    return full.Display();
}

}  // namespace

HANDLE NewHandle(HandleKind kind, const std::string& mutexName) {
    HANDLE handle = reinterpret_cast<HANDLE>(nextHandle);
    nextHandle += 4;
    handles[handle] = KernelObject{kind, mutexName};
    return handle;
}

bool IsHandleOf(HANDLE handle, HandleKind kind) {
    auto found = handles.find(handle);
    return found != handles.end() && found->second.kind == kind;
}

const std::string& WindowsDirectoryText() { return windowsDirectory; }
const std::string& ModulePathText() { return modulePath; }

void ResetKernel() {
    handles.clear();
    heldElsewhere.clear();
    lastError = 0;
}

}  // namespace sim::detail

namespace sim {

void ResetSystem() {
    detail::ResetKernel();
    detail::ResetRegistry();
    detail::ResetFiles();
    detail::ResetProcesses();
    AddProgram("C:\\windows\\explorer.exe");
    AddProgram("C:\\windows\\system32\\notepad.exe");
    SetWindowsDirectory("C:\\windows");
    SetModulePath("C:\\Program Files\\Quellmar\\QuellmarStarter.exe");
    SetCurrentDirectoryA("C:\\Program Files\\Quellmar");
    SetLastError(0);
}

std::size_t OpenHandleCount() { return detail::handles.size(); }

void HoldNamedMutex(const std::string& name) {
    bool pathMissing = false;
    detail::heldElsewhere.insert(detail::MutexKey(name, &pathMissing));
}

void ReleaseNamedMutex(const std::string& name) {
    bool pathMissing = false;
    detail::heldElsewhere.erase(detail::MutexKey(name, &pathMissing));
}

void SetModulePath(const std::string& path) {
    detail::FullPath full = detail::MakeFullPath(path);
    if (!Exists(full.Display())) AddProgram(full.Display());
    detail::modulePath = full.Display();
}

std::string ModulePath() { return detail::modulePath; }

void SetWindowsDirectory(const std::string& path) {
    std::string full = detail::WithoutTrailingSeparator(path);
    if (!Exists(full)) AddFolder(full);
    detail::windowsDirectory = full;
}

}  // namespace sim

DWORD WINAPI GetLastError() { return sim::detail::lastError; }

void WINAPI SetLastError(DWORD dwErrCode) { sim::detail::lastError = dwErrCode; }

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    HMODULE self = reinterpret_cast<HMODULE>(sim::detail::kModuleBase);
    if (lpModuleName == nullptr) return self;
    // A name without an extension means a DLL, as LoadLibrary reads it.
    std::string name = lpModuleName;
    if (sim::detail::FileNameOf(name).find('.') == std::string::npos) name += ".dll";
    std::string wanted = sim::detail::Lower(name);
    const std::string& own = sim::detail::modulePath;
    if (wanted == sim::detail::Lower(own) || wanted == sim::detail::Lower(sim::detail::FileNameOf(own))) return self;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    if (hModule != nullptr && hModule != reinterpret_cast<HMODULE>(sim::detail::kModuleBase)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    const std::string& path = sim::detail::modulePath;
    if (path.size() < nSize) {
        std::memcpy(lpFilename, path.c_str(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    }
    // Too small: as many characters as fit, without a terminating zero.
    if (nSize > 0) std::memcpy(lpFilename, path.data(), nSize);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    if (sim::detail::handles.erase(hObject) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR lpName) {
    if (lpName == nullptr || *lpName == '\0') {
        HANDLE unnamed = sim::detail::NewHandle(sim::detail::HandleKind::Mutex);
        SetLastError(ERROR_SUCCESS);
        return unnamed;
    }
    bool pathMissing = false;
    std::string key = sim::detail::MutexKey(lpName, &pathMissing);
    if (pathMissing) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    bool existed = sim::detail::MutexExists(key);
    HANDLE handle = sim::detail::NewHandle(sim::detail::HandleKind::Mutex, key);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

DWORD WINAPI WaitForInputIdle(HANDLE hProcess, DWORD) {
    // A simulated program is idle the moment it has started.
    if (!sim::detail::IsHandleOf(hProcess, sim::detail::HandleKind::Process)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return 0;
}

void WINAPI ExitProcess(UINT uExitCode) {
    throw sim::ProcessExited{uExitCode};
}
