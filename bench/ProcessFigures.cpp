#include "ProcessFigures.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <cstring>

namespace bench {

namespace {

// Linux counts process times in clock ticks of 1/100 s on every platform
// Wine runs on (USER_HZ).
constexpr double kLinuxTickMs = 10.0;

// A whole file of /proc. Its files report a size of 0, so it is read until
// the end rather than by its size.
std::string ReadProcFile(int pid, const char* name) {
    std::string path = "Z:\\proc\\" + std::to_string(pid) + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && _strnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

// The value of "Name:   123 kB" in a /proc status-like text; -1 when absent.
double KbField(const std::string& text, const char* name) {
    const std::string key = std::string("\n") + name + ":";
    std::string::size_type at = ("\n" + text).find(key);
    if (at == std::string::npos) return -1;
    return std::strtod(text.c_str() + at + key.size() - 1, nullptr);
}

std::string OwnPrefix() {
    char value[MAX_PATH * 2] = "";
    DWORD n = GetEnvironmentVariableA("WINEPREFIX", value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

bool RunsInPrefix(int pid, const std::string& prefix) {
    const std::string wanted = "WINEPREFIX=" + prefix;
    const std::string environment = ReadProcFile(pid, "environ");
    std::string::size_type start = 0;
    while (start < environment.size()) {
        std::string::size_type end = environment.find('\0', start);
        if (end == std::string::npos) end = environment.size();
        if (environment.compare(start, end - start, wanted) == 0) return true;
        start = end + 1;
    }
    return false;
}

// The run time of every live thread of the process, from the first field
// of each thread's schedstat (nanoseconds on the CPU); -1 when there is
// none to read. Finer than the process's ticks, but blind to threads that
// have ended.
double ThreadsRunTimeMs(int pid) {
    const std::string tasks = "Z:\\proc\\" + std::to_string(pid) + "\\task";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((tasks + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    double totalNs = 0;
    int read = 0;
    do {
        char* end = nullptr;
        const long tid = std::strtol(found.cFileName, &end, 10);
        if (tid <= 0 || *end != '\0') continue;
        const std::string schedstat = ReadProcFile(pid, ("task\\" + std::string(found.cFileName) + "\\schedstat").c_str());
        if (schedstat.empty()) continue;
        totalNs += std::strtod(schedstat.c_str(), nullptr);
        ++read;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return read > 0 ? totalNs / 1e6 : -1;
}

}  // namespace

bool RunningUnderWine() {
    static const bool underWine = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return underWine;
}

int FindLinuxPid(const std::string& exePath) {
    // The prefix tells this probe's processes from the same program run by
    // another Wine session of the machine.
    const std::string prefix = OwnPrefix();
    if (prefix.empty()) return -1;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    int match = -1;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        char* end = nullptr;
        const long pid = std::strtol(found.cFileName, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        // Wine shows a process's Windows command line as its Linux one.
        std::string commandLine = ReadProcFile(static_cast<int>(pid), "cmdline");
        if (!commandLine.empty() && commandLine[0] == '"') commandLine.erase(0, 1);
        if (!StartsWithNoCase(commandLine, exePath)) continue;
        if (!RunsInPrefix(static_cast<int>(pid), prefix)) continue;
        match = static_cast<int>(pid);
        break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return match;
}

MemoryFigures ReadMemory(HANDLE process, int linuxPid) {
    MemoryFigures figures;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        figures.workingSetKb = static_cast<double>(counters.WorkingSetSize) / 1024.0;
        // No live process has no private memory: a 0 is a figure the
        // system does not give (Wine, for another process), not a measure.
        if (counters.PrivateUsage != 0) figures.privateBytesKb = static_cast<double>(counters.PrivateUsage) / 1024.0;
    }
    if (linuxPid > 0) {
        const std::string rollup = ReadProcFile(linuxPid, "smaps_rollup");
        figures.linuxRssKb = KbField(rollup, "Rss");
        const double clean = KbField(rollup, "Private_Clean");
        const double dirty = KbField(rollup, "Private_Dirty");
        if (clean >= 0 && dirty >= 0) figures.linuxPrivateKb = clean + dirty;
    }
    return figures;
}

CpuFigures ReadCpu(HANDLE process, int linuxPid) {
    CpuFigures figures;
    FILETIME created, exited, kernel, user;
    if (!RunningUnderWine() && GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        auto ticks = [](const FILETIME& t) {
            return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        figures.windowsMs = static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
    }
    if (linuxPid > 0) {
        // The command name in parentheses may hold blanks: the fields are
        // counted from its closing parenthesis. After it come the state
        // (field 3) and then the numbers; utime and stime are fields 14
        // and 15.
        const std::string stat = ReadProcFile(linuxPid, "stat");
        const std::string::size_type close = stat.rfind(')');
        if (close != std::string::npos) {
            std::vector<std::string> fields;
            std::string::size_type at = close + 1;
            while (fields.size() < 13) {
                at = stat.find_first_not_of(' ', at);
                if (at == std::string::npos) break;
                std::string::size_type end = stat.find(' ', at);
                if (end == std::string::npos) end = stat.size();
                fields.push_back(stat.substr(at, end - at));
                at = end;
            }
            if (fields.size() == 13)
                figures.linuxMs = (std::strtod(fields[11].c_str(), nullptr) + std::strtod(fields[12].c_str(), nullptr)) *
                                  kLinuxTickMs;
        }
        figures.linuxThreadsMs = ThreadsRunTimeMs(linuxPid);
    }
    return figures;
}

long long FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<DWORD> ProcessesRunning(const std::string& exePath) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    const std::string::size_type slash = exePath.find_last_of('\\');
    const std::string fileName = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (_stricmp(entry.szExeFile, fileName.c_str()) != 0) continue;
        // Same file name: compare the whole path, so that only this
        // benchmark's copy counts.
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        char path[MAX_PATH * 2];
        DWORD size = sizeof path;
        if (QueryFullProcessImageNameA(process, 0, path, &size) && _stricmp(path, exePath.c_str()) == 0)
            ids.push_back(entry.th32ProcessID);
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return ids;
}

}  // namespace bench
