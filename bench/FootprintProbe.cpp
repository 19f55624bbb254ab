// The footprint probe: runs the starter and the minimal tray program side by
// side, the same way, several times, and prints the median of each figure
// for both, the starter/minimal ratio and the starter's target. It prints
// figures; it is no test and asserts nothing. Run by scripts/bench.sh under
// Wine, in a session of its own; it ends only what it started.
//
//   FootprintProbe.exe [--runs N] [--idle-seconds S] [--openings N] STARTER_EXE MINIMAL_EXE
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kNone = -1e18;  // a figure that could not be read

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Polls every millisecond until condition holds or timeoutMs have passed.
template <typename Condition>
bool PollUntil(Condition condition, double timeoutMs) {
    for (const double deadline = NowMs() + timeoutMs; !condition(); Sleep(1))
        if (NowMs() >= deadline) return condition();
    return true;
}

double Difference(double to, double from) { return to == kNone || from == kNone ? kNone : to - from; }

// --- the Linux side of a process, through Z:\proc -----------------------------

std::string ReadProc(int pid, const std::string& name) {
    const std::string path = "Z:\\proc\\" + std::to_string(pid) + "\\" + name;
    HANDLE file = pid <= 0 ? INVALID_HANDLE_VALUE
                           : CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

// The Linux process that runs exe in this probe's prefix (Wine shows the
// Windows command line as the Linux one).
int LinuxPidOf(const std::string& exe) {
    char prefix[MAX_PATH * 2] = "";
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    const std::string wanted = std::string("WINEPREFIX=") + prefix + '\0';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    int match = -1;
    for (BOOL more = search != INVALID_HANDLE_VALUE; more && match < 0; more = FindNextFileA(search, &found)) {
        const int pid = std::atoi(found.cFileName);
        std::string commandLine = ReadProc(pid, "cmdline");
        if (!commandLine.empty() && commandLine[0] == '"') commandLine.erase(0, 1);
        if (pid > 0 && _strnicmp(commandLine.c_str(), exe.c_str(), exe.size()) == 0 &&
            ReadProc(pid, "environ").find(wanted) != std::string::npos)
            match = pid;
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return match;
}

// "Name:   123 kB" of /proc/PID/smaps_rollup.
double Kb(const std::string& rollup, const char* name) {
    const std::string::size_type at = ("\n" + rollup).find(std::string("\n") + name + ":");
    return at == std::string::npos ? kNone : std::strtod(rollup.c_str() + at + std::strlen(name) + 1, nullptr);
}

// CPU time the process has used, user and system: fields 14 and 15 of
// /proc/PID/stat (counted on after the command name), in ticks of 10 ms.
double CpuMs(int pid) {
    const std::string stat = ReadProc(pid, "stat");
    const std::string::size_type close = stat.rfind(')');
    if (close == std::string::npos) return kNone;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    double ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) ticks += n >= 14 ? std::atof(field.c_str()) : 0;
    return ticks * 10.0;
}

// --- what a process holds, counted from outside the way Wine allows ------------

// Wine keeps the GDI handle table in the process's memory: 0x10000 entries
// of 24 bytes, Type 0 when free. It is found by the stock objects, which
// every process has at the same handles.
struct GdiEntry {
    unsigned long long object;
    unsigned owner;
    unsigned short unique;
    unsigned char type, flags;
    unsigned long long user;
};
static_assert(sizeof(GdiEntry) == 24, "an entry of Wine's GDI handle table");

double GdiEntries(HANDLE process) {
    std::vector<GdiEntry> table(0x10000);
    const SIZE_T bytes = table.size() * sizeof(GdiEntry);
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;) {
        const auto* base = static_cast<const char*>(region.BaseAddress);
        bool found = region.State == MEM_COMMIT && (region.Protect & (PAGE_READONLY | PAGE_READWRITE)) &&
                     !(region.Protect & PAGE_GUARD) && region.RegionSize >= bytes;
        for (int stock : {WHITE_BRUSH, BLACK_PEN, SYSTEM_FONT, DEFAULT_PALETTE}) {
            const auto handle = reinterpret_cast<UINT_PTR>(GetStockObject(stock));
            GdiEntry entry{};
            found = found && ReadProcessMemory(process, base + LOWORD(handle) * sizeof entry, &entry, sizeof entry, nullptr) &&
                    entry.type != 0 && entry.unique == HIWORD(handle);
        }
        if (found && ReadProcessMemory(process, base, table.data(), bytes, nullptr))
            return static_cast<double>(std::count_if(table.begin(), table.end(), [](const GdiEntry& e) { return e.type; }));
        if (base + region.RegionSize <= at) break;
        at = base + region.RegionSize;
    }
    return kNone;
}

// Windows of the process: top-level ones with all their descendants, and
// message-only ones.
BOOL CALLBACK CountWindow(HWND hwnd, LPARAM param) {
    auto* count = reinterpret_cast<std::pair<DWORD, double>*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    count->second += owner == count->first ? 1 : 0;
    return TRUE;
}

double WindowsOf(DWORD pid) {
    std::pair<DWORD, double> count{pid, 0};
    EnumChildWindows(GetDesktopWindow(), CountWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND hwnd = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd;
         hwnd = FindWindowExA(HWND_MESSAGE, hwnd, nullptr, nullptr))
        CountWindow(hwnd, reinterpret_cast<LPARAM>(&count));
    return count.second;
}

// Kernel handles of the process, from the system's handle list
// (NtQuerySystemInformation, SystemExtendedHandleInformation = 64).
double KernelHandlesOf(DWORD pid) {
    struct Entry {
        void* object;
        ULONG_PTR pid, handle;
        ULONG access;
        USHORT trace, type;
        ULONG attributes, reserved;
    };
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    for (int attempt = 0; query && attempt < 8; ++attempt, buffer.resize(std::max<std::size_t>(2 * buffer.size(), needed))) {
        const LONG status = query(64, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<LONG>(0xC0000004)) continue;  // STATUS_INFO_LENGTH_MISMATCH
        if (status != 0) break;
        const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + 2 * sizeof(ULONG_PTR));
        const auto count = *reinterpret_cast<const ULONG_PTR*>(buffer.data());
        return static_cast<double>(std::count_if(entries, entries + count, [pid](const Entry& e) { return e.pid == pid; }));
    }
    return kNone;
}

// Private memory as Wine counts it: the anonymous memory the process touched.
double PagefileKb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PagefileUsage / 1024.0 : kNone;
}

// --- one program in the tray ------------------------------------------------------

struct Running {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND icon = nullptr;
    int linuxPid = -1;
};

std::vector<HWND> Windows(HWND parent, const char* className) {
    std::vector<HWND> found;
    for (HWND hwnd = FindWindowExA(parent, nullptr, className, nullptr); hwnd;
         hwnd = FindWindowExA(parent, hwnd, className, nullptr))
        if (IsWindowVisible(hwnd)) found.push_back(hwnd);
    return found;
}

std::vector<HWND> TrayIcons() {
    std::vector<HWND> icons;
    for (HWND tray : Windows(nullptr, "__winex11_standalone_tray"))
        for (HWND icon : Windows(tray, "__winex11_tray_icon")) icons.push_back(icon);
    return icons;
}

bool MenuShown(DWORD pid) {
    for (HWND menu : Windows(nullptr, "#32768")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(menu, &owner);
        if (owner == pid) return true;
    }
    return false;
}

void Send(DWORD mouseFlags, WORD key = 0, DWORD keyFlags = 0) {
    INPUT input{};
    input.type = key ? INPUT_KEYBOARD : INPUT_MOUSE;
    input.mi.dwFlags = mouseFlags;
    if (key) input.ki = KEYBDINPUT{key, 0, keyFlags, 0, 0};
    SendInput(1, &input, sizeof input);
}

// Starts exe in its folder, suspended until it is in the job (which ends it
// should the probe end first), and waits for its icon in the tray.
Running Start(HANDLE job, const std::string& exe, double& startMs) {
    Running r;
    const std::vector<HWND> before = TrayIcons();
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION created{};
    const double t0 = NowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        exe.substr(0, exe.find_last_of('\\')).c_str(), &startup, &created))
        return r;
    AssignProcessToJobObject(job, created.hProcess);
    ResumeThread(created.hThread);
    CloseHandle(created.hThread);
    r.process = created.hProcess;
    r.pid = created.dwProcessId;
    PollUntil([&] {
        for (HWND icon : TrayIcons())
            if (std::find(before.begin(), before.end(), icon) == before.end()) r.icon = icon;
        return r.icon != nullptr;
    }, 30000);
    startMs = r.icon ? NowMs() - t0 : kNone;
    WaitForInputIdle(r.process, 10000);
    r.linuxPid = LinuxPidOf(exe);
    return r;
}

// One opening as the user makes it: a click on the icon, the menu, Esc, and
// the program at rest again. Gives the time from the click to the menu.
double OpenAndClose(const Running& r) {
    RECT box{};
    GetWindowRect(r.icon, &box);
    SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    Send(MOUSEEVENTF_MOVE);  // the arrival over the icon is handled before the click
    WaitForInputIdle(r.process, 1000);
    Sleep(20);
    const double t0 = NowMs();
    Send(MOUSEEVENTF_LEFTDOWN);
    Send(MOUSEEVENTF_LEFTUP);
    const bool shown = PollUntil([&] { return MenuShown(r.pid); }, 10000);
    const double clickToMenu = NowMs() - t0;
    Send(0, VK_ESCAPE);
    Send(0, VK_ESCAPE, KEYEVENTF_KEYUP);
    PollUntil([&] { return !MenuShown(r.pid); }, 3000);
    WaitForInputIdle(r.process, 1000);
    return shown ? clickToMenu : kNone;
}

// The Run entries and the auto-start value the starter writes, in both
// registry views: none may start it again at the prefix's next session.
void ClearStarterSettings() {
    const char* const values[][2] = {{"Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Quellmar Starter"},
                                     {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Run", "Quellmar Starter"},
                                     {"Software\\Quellmar\\Starter\\StartUp", "auto start target program"}};
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        for (const auto& value : values) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, value[0], 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) continue;
            RegDeleteValueA(key, value[1]);
            RegCloseKey(key);
        }
    }
}

double Median(std::vector<double> values) {
    values.erase(std::remove(values.begin(), values.end(), kNone), values.end());
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? kNone : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string Text(double value) {
    char text[32] = "n/a";
    if (value != kNone) std::snprintf(text, sizeof text, value == static_cast<long long>(value) ? "%.0f" : "%.1f", value);
    return text;
}

struct Figure {
    std::string name, target;
    std::vector<double> values[2];  // starter, minimal
};

}  // namespace

int main(int argc, char** argv) {
    int runs = 5, idleSeconds = 30, openings = 500;
    std::vector<std::string> exe;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        int* option = arg == "--runs" ? &runs : arg == "--idle-seconds" ? &idleSeconds : arg == "--openings" ? &openings : nullptr;
        if (option && i + 1 < argc) *option = std::atoi(argv[++i]);
        else exe.push_back(arg);
    }
    if (exe.size() != 2 || runs < 1 || idleSeconds < 1 || openings < 1) {
        std::fprintf(stderr, "usage: FootprintProbe [--runs N] [--idle-seconds S] [--openings N] STARTER_EXE MINIMAL_EXE\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const bool is32Bit = sizeof(void*) == 4;
    const std::string after = "  after " + std::to_string(openings) + " openings";
    // What a program holds comes in threes: before the openings, after them, the difference.
    enum { kStart, kFirstMenu, kMenu, kRss, kPrivate, kIdleCpu, kFile, kHeld, kCount = kHeld + 12 };
    std::vector<Figure> f(kCount);
    f[kStart] = {"start-up: process start -> icon [ms]", "<= 1.1x"};
    f[kFirstMenu] = {"click -> menu, first opening [ms]", ""};
    f[kMenu] = {"click -> menu, median of the openings [ms]", "<= 1.2x"};
    f[kRss] = {"resident after start-up (Linux RSS) [KB]", ""};
    f[kPrivate] = {"private resident after start-up [KB]", ""};
    f[kIdleCpu] = {"CPU over " + std::to_string(idleSeconds) + " idle seconds [ms]", "0"};
    f[kFile] = {"program file [KiB]", is32Bit ? "<= 240" : "<= 180"};
    const char* const held[] = {"GDI handle-table entries", "windows", "kernel handles", "PagefileUsage [KB]"};
    for (int i = 0; i < 4; ++i) {
        f[kHeld + 3 * i] = {std::string(held[i]) + ", before the openings", ""};
        f[kHeld + 3 * i + 1] = {after, ""};
        f[kHeld + 3 * i + 2] = {"  difference", i < 3 ? "0" : "<= 64"};
    }
    for (int p = 0; p < 2; ++p) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        const bool ok = GetFileAttributesExA(exe[p].c_str(), GetFileExInfoStandard, &data);
        f[kFile].values[p].push_back(ok ? data.nFileSizeLow / 1024.0 : kNone);
    }
    std::printf("%d-bit: %d runs; in each, both programs in the tray together, %d s idle, then %d menu openings each\n",
                is32Bit ? 32 : 64, runs, idleSeconds, openings);

    ClearStarterSettings();
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    for (int run = 0; run < runs; ++run) {
        // Taking turns at going first evens out what a warmer system gives the second.
        const int order[2] = {run % 2, 1 - run % 2};
        Running r[2];
        for (int p : order) {
            double startMs = kNone;
            r[p] = Start(job, exe[p], startMs);
            f[kStart].values[p].push_back(startMs);
            const std::string rollup = ReadProc(r[p].linuxPid, "smaps_rollup");
            f[kRss].values[p].push_back(Kb(rollup, "Rss"));
            const double clean = Kb(rollup, "Private_Clean"), dirty = Kb(rollup, "Private_Dirty");
            f[kPrivate].values[p].push_back(clean == kNone || dirty == kNone ? kNone : clean + dirty);
        }
        if (r[0].icon && r[1].icon) {
            const double cpu[2] = {CpuMs(r[0].linuxPid), CpuMs(r[1].linuxPid)};
            Sleep(static_cast<DWORD>(idleSeconds) * 1000);  // the measured interval itself
            for (int p = 0; p < 2; ++p) f[kIdleCpu].values[p].push_back(Difference(CpuMs(r[p].linuxPid), cpu[p]));
            for (int p : order) {
                f[kFirstMenu].values[p].push_back(OpenAndClose(r[p]));
                for (int i = 0; i < 4; ++i) OpenAndClose(r[p]);  // warm-up
                const double before[] = {GdiEntries(r[p].process), WindowsOf(r[p].pid), KernelHandlesOf(r[p].pid),
                                         PagefileKb(r[p].process)};
                std::vector<double> clicks;
                for (int i = 0; i < openings; ++i) clicks.push_back(OpenAndClose(r[p]));
                f[kMenu].values[p].push_back(Median(clicks));
                const double now[] = {GdiEntries(r[p].process), WindowsOf(r[p].pid), KernelHandlesOf(r[p].pid),
                                      PagefileKb(r[p].process)};
                for (int i = 0; i < 4; ++i) {
                    f[kHeld + 3 * i].values[p].push_back(before[i]);
                    f[kHeld + 3 * i + 1].values[p].push_back(now[i]);
                    f[kHeld + 3 * i + 2].values[p].push_back(Difference(now[i], before[i]));
                }
            }
        } else {
            std::printf("run %d: no icon from the %s\n", run + 1, r[0].icon ? "minimal program" : "starter");
        }
        for (Running& running : r) {
            if (!running.process) continue;
            TerminateProcess(running.process, 0);
            WaitForSingleObject(running.process, 10000);
            CloseHandle(running.process);
            if (running.icon) PollUntil([&] { return !IsWindowVisible(running.icon); }, 10000);
        }
        std::printf("run %d of %d done\n", run + 1, runs);
    }
    ClearStarterSettings();
    CloseHandle(job);

    std::printf("\n%-44s %9s %9s %7s  %-7s  every run: starter | minimal\n", "median", "starter", "minimal", "ratio",
                "target");
    for (const Figure& figure : f) {
        const double s = Median(figure.values[0]), m = Median(figure.values[1]);
        char ratio[16] = "n/a";
        if (s != kNone && m > 0) std::snprintf(ratio, sizeof ratio, "%.2fx", s / m);
        std::string all[2];
        for (int p = 0; p < 2; ++p)
            for (double v : figure.values[p]) all[p] += " " + Text(v);
        std::printf("%-44s %9s %9s %7s  %-7s %s |%s\n", figure.name.c_str(), Text(s).c_str(), Text(m).c_str(), ratio,
                    figure.target.c_str(), all[0].c_str(), all[1].c_str());
    }
    return 0;
}
