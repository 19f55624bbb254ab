// Simulated process starts: CreateProcessA finds the program the way
// Windows reads a command line, and records each start for the tests.
#include "platform/sim/SystemWorld.h"

#include <optional>

namespace sim::detail {

namespace {

std::vector<ProcessStart> starts;
std::function<void(const ProcessStart&)> startHook;
DWORD nextProcessId = 0x1000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasExtension(const std::string& name) {
    std::string::size_type slash = name.find_last_of("\\/");
    std::string::size_type dot = name.find_last_of('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

// A name that says where it is: "C:\...", "C:name", "\dir\name", ".\name",
// "..\name". Such a name is taken from the current directory only; any other
// is looked for along the search path.
bool NamesItsPlace(const std::string& name) {
    if (name.size() >= 2 && name[1] == ':') return true;
    if (!name.empty() && (name[0] == '\\' || name[0] == '/')) return true;
    if (name == "." || name == "..") return true;
    return name.compare(0, 2, ".\\") == 0 || name.compare(0, 2, "./") == 0 ||
           name.compare(0, 3, "..\\") == 0 || name.compare(0, 3, "../") == 0;
}

const FileEntry* FindFile(const std::string& path) {
    const FileEntry* entry = FindEntry(MakeFullPath(path), nullptr);
    return entry != nullptr && !entry->IsFolder() ? entry : nullptr;
}

// The file a program name stands for: the name as written, then with
// ".exe" when it has no extension; searched, for a bare name, in the
// program's own folder, the current directory, system32 and the Windows
// directory, in this order.
const FileEntry* FindProgramFile(const std::string& name) {
    if (name.empty()) return nullptr;
    std::vector<std::string> spellings{name};
    if (!HasExtension(name)) spellings.push_back(name + ".exe");
    std::vector<std::string> folders;
    if (NamesItsPlace(name)) {
        folders.push_back(std::string());
    } else {
        FullPath module = MakeFullPath(ModulePathText());
        if (!module.levels.empty()) module.levels.pop_back();
        folders = {module.Display(), CurrentDirectoryText(), WindowsDirectoryText() + "\\system32",
                   WindowsDirectoryText()};
    }
    for (const std::string& folder : folders) {
        for (const std::string& spelling : spellings) {
            std::string path = folder.empty() ? spelling
                               : folder.back() == '\\' ? folder + spelling
                                                       : folder + "\\" + spelling;
            if (const FileEntry* entry = FindFile(path)) return entry;
        }
    }
    return nullptr;
}

// The program a command line starts, as CreateProcessA reads it without an
// application name: a quoted first token is the program; an unquoted line
// is tried prefix by prefix, each ending before a blank or tab, then whole,
// and the first prefix that names a file wins ("C:\dir with blank\p.exe"
// starts C:\dir.exe when that exists). Sets *error when nothing is found.
const FileEntry* FindProgramOfCommandLine(const std::string& commandLine, DWORD* error) {
    *error = ERROR_FILE_NOT_FOUND;
    if (!commandLine.empty() && commandLine[0] == '"') {
        std::string::size_type close = commandLine.find('"', 1);
        if (close == std::string::npos) return nullptr;
        if (close == 1) {
            *error = ERROR_INVALID_PARAMETER;
            return nullptr;
        }
        return FindProgramFile(commandLine.substr(1, close - 1));
    }
    for (std::size_t i = 1; i < commandLine.size(); ++i) {
        if (!IsBlank(commandLine[i])) continue;
        if (const FileEntry* entry = FindProgramFile(commandLine.substr(0, i))) return entry;
    }
    return FindProgramFile(commandLine);
}

}  // namespace

void ResetProcesses() {
    starts.clear();
    startHook = nullptr;
}

}  // namespace sim::detail

namespace sim {

const std::vector<ProcessStart>& Processes() { return detail::starts; }

void ClearProcesses() { detail::starts.clear(); }

void SetProcessStartHook(std::function<void(const ProcessStart&)> hook) { detail::startHook = std::move(hook); }

}  // namespace sim

BOOL WINAPI CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                           BOOL, DWORD, LPVOID, LPCSTR lpCurrentDirectory, LPSTARTUPINFOA lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation) {
    using namespace sim::detail;
    if (lpStartupInfo == nullptr || lpProcessInformation == nullptr ||
        (lpApplicationName == nullptr && lpCommandLine == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string commandLine = lpCommandLine != nullptr ? lpCommandLine : lpApplicationName;

    DWORD error = ERROR_FILE_NOT_FOUND;
    const FileEntry* program = nullptr;
    if (lpApplicationName != nullptr) {
        // An application name is taken as written: no search, no extension.
        program = FindFile(lpApplicationName);
    } else {
        program = FindProgramOfCommandLine(commandLine, &error);
    }
    if (program == nullptr) {
        SetLastError(error);
        return FALSE;
    }
    if (!program->isProgram) {
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return FALSE;
    }

    std::string childDirectory = CurrentDirectoryText();
    if (lpCurrentDirectory != nullptr) {
        FullPath folder = MakeFullPath(lpCurrentDirectory);
        const FileEntry* entry = FindEntry(folder, nullptr);
        if (entry == nullptr || !entry->IsFolder()) {
            SetLastError(ERROR_DIRECTORY);
            return FALSE;
        }
        childDirectory = folder.Display();
    }

    sim::ProcessStart start;
    start.commandLine = commandLine;
    start.currentDirectory = childDirectory;
    start.showCommand = (lpStartupInfo->dwFlags & STARTF_USESHOWWINDOW) != 0 ? lpStartupInfo->wShowWindow
                                                                             : static_cast<WORD>(SW_SHOWDEFAULT);
    start.program = program->path;
    starts.push_back(start);

    lpProcessInformation->hProcess = NewHandle(HandleKind::Process);
    lpProcessInformation->hThread = NewHandle(HandleKind::Thread);
    lpProcessInformation->dwProcessId = nextProcessId;
    lpProcessInformation->dwThreadId = nextProcessId + 4;
    nextProcessId += 8;

    if (startHook) {
        auto hook = startHook;  // the hook may replace itself
        hook(start);
    }
    return TRUE;
}
