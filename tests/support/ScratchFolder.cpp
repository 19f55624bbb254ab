#include "support/ScratchFolder.h"

#include "support/UniqueName.h"

#include <algorithm>
#include <stdexcept>

#ifdef _WIN32
#include <fstream>
#include <sstream>
#else
#include "platform/sim/SimSystem.h"

#include <cctype>
#endif

namespace support {

namespace {

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

#ifdef _WIN32
std::string TempFolder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    std::string path(buffer, length);
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// The recording program built beside the test programs.
std::string ReporterProgram() { return OwnFolder() + "\\start_reporter.exe"; }

void RemoveFileIfThere(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}
#else
std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
#endif

}  // namespace

std::string OwnFolder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return FolderOf(std::string(buffer, length));
}

ScratchFolder::ScratchFolder() {
#ifdef _WIN32
    path_ = TempFolder() + "\\QuellmarStarterTests." + UniqueName();
    if (!CreateDirectoryA(path_.c_str(), nullptr)) throw std::runtime_error("can't make " + path_);
#else
    path_ = "C:\\Temp\\QuellmarStarterTests." + UniqueName();
    sim::AddFolder(path_);
#endif
}

ScratchFolder::~ScratchFolder() {
#ifdef _WIN32
    // Windows won't remove a folder that is some process's current
    // directory: step out first when a test left the process inside.
    char current[MAX_PATH + 1] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, current, static_cast<int>(std::min<std::size_t>(length, path_.size())),
                       path_.c_str(), static_cast<int>(path_.size())) == CSTR_EQUAL)
        SetCurrentDirectoryA(TempFolder().c_str());
    for (const std::string& file : files_) {
        RemoveFileIfThere(file);
        RemoveFileIfThere(file + ".log");
    }
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryA(it->c_str());
    RemoveDirectoryA(path_.c_str());
#else
    for (const std::string& file : files_) sim::RemoveFile(file);
    sim::RemoveFolder(path_);
#endif
}

std::string ScratchFolder::AddFolder(const std::string& relative) {
    std::string full = At(relative);
#ifdef _WIN32
    std::string::size_type from = path_.size() + 1;
    for (;;) {
        std::string::size_type slash = full.find('\\', from);
        std::string level = full.substr(0, slash);
        if (GetFileAttributesA(level.c_str()) == INVALID_FILE_ATTRIBUTES) {
            if (!CreateDirectoryA(level.c_str(), nullptr)) throw std::runtime_error("can't make " + level);
            folders_.push_back(level);
        }
        if (slash == std::string::npos) break;
        from = slash + 1;
    }
#else
    sim::AddFolder(full);
#endif
    return full;
}

std::string ScratchFolder::AddFile(const std::string& relative, DWORD attributes) {
    std::string full = At(relative);
    std::string folder = FolderOf(relative);
    if (!folder.empty()) AddFolder(folder);
#ifdef _WIN32
    HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("can't make " + full);
    DWORD written = 0;
    WriteFile(file, "not a program\r\n", 15, &written, nullptr);
    CloseHandle(file);
    SetFileAttributesA(full.c_str(), attributes);
    files_.push_back(full);
#else
    sim::AddFile(full, attributes, false);
#endif
    return full;
}

std::string ScratchFolder::AddProgram(const std::string& relative) {
    std::string folder = FolderOf(relative);
    if (!folder.empty()) AddFolder(folder);
    std::string full = At(relative);
    AddProgramAt(full);
    return full;
}

void ScratchFolder::AddProgramAt(const std::string& fullPath) {
#ifdef _WIN32
    if (!CopyFileA(ReporterProgram().c_str(), fullPath.c_str(), FALSE))
        throw std::runtime_error("can't copy the start reporter to " + fullPath);
#else
    sim::AddProgram(fullPath);
#endif
    files_.push_back(fullPath);
}

std::vector<ObservedStart> StartsOf(const std::string& programPath) {
    std::vector<ObservedStart> starts;
#ifdef _WIN32
    // One line per start: command line, tab, current directory, tab, show command.
    std::ifstream log(programPath + ".log", std::ios::binary);
    std::string line;
    while (std::getline(log, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string::size_type second = line.rfind('\t');
        std::string::size_type first = second == std::string::npos ? second : line.rfind('\t', second - 1);
        if (first == std::string::npos) continue;
        ObservedStart start;
        start.commandLine = line.substr(0, first);
        start.currentDirectory = line.substr(first + 1, second - first - 1);
        start.showCommand = static_cast<WORD>(std::stoi(line.substr(second + 1)));
        starts.push_back(start);
    }
#else
    std::string wanted = Lower(programPath);
    for (const sim::ProcessStart& start : sim::Processes()) {
        if (Lower(start.program) != wanted) continue;
        starts.push_back(ObservedStart{start.commandLine, start.currentDirectory, start.showCommand});
    }
#endif
    return starts;
}

void FinishStart(PROCESS_INFORMATION& process) {
#ifdef _WIN32
    WaitForSingleObject(process.hProcess, 30000);
#endif
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process.hThread = nullptr;
    process.hProcess = nullptr;
}

}  // namespace support
