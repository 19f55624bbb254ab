// The footprint probe: starts the starter and the minimal tray program in
// turn, the same way, several times each, and prints what each costs:
//
//   - start-up: from the process start to its icon in the tray, and the
//     CPU time that took;
//   - menu: from a click on the icon to its popup menu being visible;
//   - memory after start-up (Windows and Linux view of the same process);
//   - CPU time used while both sit idle in the tray;
//   - the size of the program file.
//
//   FootprintProbe.exe [--runs N] [--idle-seconds S] [--idle-windows W] STARTER_EXE MINIMAL_EXE
//
// It runs in a Wine session of its own (scripts/bench.sh makes one), where
// no other program comes and goes. It ends the processes it started, and
// copies of the two programs at these very paths left running by an
// earlier, broken-off run in the same prefix - nothing else.
#include "ProbeClock.h"
#include "ProcessFigures.h"
#include "StarterSettings.h"
#include "Summary.h"
#include "TrayWatch.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr double kStartLimitMs = 30000;  // a cold start under Wine on a busy machine
constexpr double kMenuLimitMs = 10000;
constexpr double kGoneLimitMs = 10000;
// After the mouse arrives over the icon, before the click: the program
// handles the arrival first, so the click's time holds only the click.
constexpr DWORD kPointSettleMs = 150;

struct Options {
    int runs = 5;
    int idleSeconds = 30;
    int idleWindows = 3;
    std::string starterExe;
    std::string minimalExe;
};

struct Program {
    const char* name;
    std::string exe;
    Figure* startToIcon;
    Figure* startCpu;
    Figure* clickToMenu;
    std::vector<Figure*> memory;  // working set, private bytes, Linux RSS, Linux private
    Figure* idleCpuWindows;
    Figure* idleCpuLinux;
    Figure* idleCpuLinuxThreads;
    bool isStarter;
};

std::vector<double>& Of(Figure* figure, const Program& program) {
    return program.isStarter ? figure->starter : figure->minimal;
}

// Every process the probe starts is in this job, which ends them when the
// probe itself ends without having done so.
class Job {
public:
    Job() : job_(CreateJobObjectA(nullptr, nullptr)) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (job_) SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    ~Job() {
        if (job_) CloseHandle(job_);
    }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;
    HANDLE get() const { return job_; }

private:
    HANDLE job_;
};

// A started program: its process, and its icon once that is there.
struct Running {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND icon = nullptr;
    int linuxPid = -1;
};

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool Ended(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

// Starts the program from its folder and waits for its icon. startToIconMs
// gets the time from just before the process is created until the icon is
// first seen (negative when it never came).
Running Start(const Job& job, const std::string& exe, double& startToIconMs) {
    Running running;
    startToIconMs = -1;
    // The Run entries the starter wrote at its last start go; the
    // auto-start value it never gets here (the menu is closed with Esc).
    ClearStarterAutoLaunch();

    const std::vector<HWND> before = TrayIconWindows();
    std::string commandLine = "\"" + exe + "\"";
    const std::string folder = FolderOf(exe);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    const double t0 = NowMs();
    // Suspended until it is in the job, so that nothing it starts escapes.
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &created)) {
        std::printf("  could not start %s: error %lu\n", exe.c_str(), GetLastError());
        return running;
    }
    AssignProcessToJobObject(job.get(), created.hProcess);
    ResumeThread(created.hThread);
    CloseHandle(created.hThread);
    running.process = created.hProcess;
    running.pid = created.dwProcessId;

    PollUntil(
        [&] {
            running.icon = NewTrayIcon(before);
            return running.icon != nullptr || Ended(running.process);
        },
        kStartLimitMs);
    const double t1 = NowMs();
    if (!running.icon) {
        std::printf("  %s: no tray icon within %.0f s (%s)\n", exe.c_str(), kStartLimitMs / 1000,
                    Ended(running.process) ? "the process has ended" : "the process still runs");
        return running;
    }
    startToIconMs = t1 - t0;
    // Start-up is over when the program waits for input with nothing left
    // to handle.
    WaitForInputIdle(running.process, 10000);
    running.linuxPid = FindLinuxPid(exe);
    return running;
}

// Clicks the icon and gives the time until the program's menu is visible
// (negative when none opened), then closes the menu again with Esc.
double ClickToMenu(const Running& running) {
    if (!running.icon || !PointAt(running.icon)) {
        std::printf("  the icon can't be clicked: another window covers it\n");
        return -1;
    }
    Sleep(kPointSettleMs);
    const double t0 = NowMs();
    ClickLeft();
    HWND menu = nullptr;
    PollUntil(
        [&] {
            menu = VisibleMenuOf(running.pid);
            return menu != nullptr;
        },
        kMenuLimitMs);
    const double t1 = NowMs();
    if (!menu) {
        std::printf("  no popup menu within %.0f s\n", kMenuLimitMs / 1000);
        return -1;
    }
    PressEscape();
    if (!PollUntil([&] { return VisibleMenuOf(running.pid) == nullptr; }, 3000, 10))
        std::printf("  note: the menu stayed open after Esc; it goes with its process\n");
    return t1 - t0;
}

// Ends the program and waits until it and its icon have gone, so that the
// next start finds the tray as it was.
void Stop(Running& running) {
    if (!running.process) return;
    TerminateProcess(running.process, 0);
    WaitForSingleObject(running.process, static_cast<DWORD>(kGoneLimitMs));
    CloseHandle(running.process);
    running.process = nullptr;
    if (running.icon && !PollUntil([&] { return !IsWindow(running.icon) || !IsWindowVisible(running.icon); },
                                   kGoneLimitMs, 10))
        std::printf("  note: the icon of an ended program stayed in the tray\n");
}

void RecordMemory(const Program& program, const Running& running) {
    const MemoryFigures memory = ReadMemory(running.process, running.linuxPid);
    Of(program.memory[0], program).push_back(memory.workingSetKb);
    Of(program.memory[1], program).push_back(memory.privateBytesKb);
    Of(program.memory[2], program).push_back(memory.linuxRssKb);
    Of(program.memory[3], program).push_back(memory.linuxPrivateKb);
}

void MeasureOneRun(const Job& job, const Program& program) {
    double startMs = -1;
    Running running = Start(job, program.exe, startMs);
    Of(program.startToIcon, program).push_back(startMs);
    if (running.icon) {
        Of(program.startCpu, program).push_back(ReadCpu(running.process, running.linuxPid).linuxMs);
        RecordMemory(program, running);
        Of(program.clickToMenu, program).push_back(ClickToMenu(running));
    }
    Stop(running);
}

// Both programs sit in the tray side by side; their CPU time is read at
// the start and the end of each window.
void MeasureIdle(const Job& job, const Options& options, Program& starter, Program& minimal) {
    double ignored = 0;
    Running runs[2] = {Start(job, starter.exe, ignored), Start(job, minimal.exe, ignored)};
    Program* programs[2] = {&starter, &minimal};
    if (runs[0].icon && runs[1].icon) {
        for (int window = 0; window < options.idleWindows; ++window) {
            const CpuFigures before[2] = {ReadCpu(runs[0].process, runs[0].linuxPid),
                                          ReadCpu(runs[1].process, runs[1].linuxPid)};
            // The window itself: a measured interval, not a wait for anything.
            Sleep(static_cast<DWORD>(options.idleSeconds) * 1000);
            for (int i = 0; i < 2; ++i) {
                const CpuFigures after = ReadCpu(runs[i].process, runs[i].linuxPid);
                const bool alive = !Ended(runs[i].process);
                if (!alive) std::printf("  %s ended while idle\n", programs[i]->name);
                // A figure is kept only when it was read at both ends.
                auto used = [alive](double from, double to) { return alive && from >= 0 && to >= 0 ? to - from : -1; };
                Of(programs[i]->idleCpuWindows, *programs[i]).push_back(used(before[i].windowsMs, after.windowsMs));
                Of(programs[i]->idleCpuLinux, *programs[i]).push_back(used(before[i].linuxMs, after.linuxMs));
                Of(programs[i]->idleCpuLinuxThreads, *programs[i])
                    .push_back(used(before[i].linuxThreadsMs, after.linuxThreadsMs));
            }
        }
    }
    Stop(runs[0]);
    Stop(runs[1]);
}

bool ParseOptions(int argc, char** argv, Options& options) {
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto number = [&](int& into) {
            if (i + 1 >= argc) return false;
            into = std::atoi(argv[++i]);
            return into > 0;
        };
        if (arg == "--runs") {
            if (!number(options.runs)) return false;
        } else if (arg == "--idle-seconds") {
            if (!number(options.idleSeconds)) return false;
        } else if (arg == "--idle-windows") {
            if (!number(options.idleWindows)) return false;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2) return false;
    options.starterExe = paths[0];
    options.minimalExe = paths[1];
    return true;
}

// Leftovers of an earlier, broken-off run of this benchmark in this prefix
// (only copies at these very paths count): they would hold the starter's
// single-instance lock and their icons would be taken for new ones.
void EndLeftovers(const Options& options) {
    for (const std::string& exe : {options.starterExe, options.minimalExe}) {
        for (DWORD pid : ProcessesRunning(exe)) {
            std::printf("  note: %s was already running (process %lu): ending it\n", exe.c_str(),
                        static_cast<unsigned long>(pid));
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
            if (!process) continue;
            TerminateProcess(process, 0);
            WaitForSingleObject(process, static_cast<DWORD>(kGoneLimitMs));
            CloseHandle(process);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: FootprintProbe [--runs N] [--idle-seconds S] [--idle-windows W] STARTER_EXE MINIMAL_EXE\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const bool is32Bit = sizeof(void*) == 4;

    for (const std::string& location : ClearStarterAutoLaunch())
        std::printf("  note: removed a leftover start-up setting: %s\n", location.c_str());
    EndLeftovers(options);

    std::vector<Figure> figures(11);
    figures[0] = {"start-up: process start -> icon in tray", "ms", {}, {}, 1.1, -1, "<= 1.1x minimal"};
    figures[1] = {"CPU used by start-up (Linux utime+stime)", "ms", {}, {}, -1, -1, ""};
    figures[2] = {"menu: click on icon -> menu visible", "ms", {}, {}, 1.1, -1, "<= 1.1x minimal"};
    figures[3] = {RunningUnderWine() ? "working set (Windows; Wine: = Linux RSS)" : "working set (Windows)", "KB",
                  {}, {}, -1, -1, ""};
    figures[4] = {"private bytes (Windows)", "KB", {}, {}, -1, -1, ""};
    figures[5] = {"RSS (Linux)", "KB", {}, {}, -1, -1, ""};
    figures[6] = {"private resident (Linux)", "KB", {}, {}, -1, -1, ""};
    const std::string idleUnit = "ms/" + std::to_string(options.idleSeconds) + "s";
    figures[7] = {"idle CPU (Windows process times)", idleUnit, {}, {}, -1, 0, "0"};
    figures[8] = {"idle CPU (Linux utime+stime)", idleUnit, {}, {}, -1, 0, "0"};
    figures[9] = {"idle CPU (Linux threads' schedstat)", idleUnit, {}, {}, -1, 0, "0"};
    figures[10] = {"program file", "KB", {}, {}, -1, is32Bit ? 256 : -1, is32Bit ? "<= 256 KB" : ""};

    std::vector<Figure*> memory{&figures[3], &figures[4], &figures[5], &figures[6]};
    Program starter{"starter", options.starterExe, &figures[0], &figures[1], &figures[2], memory,
                    &figures[7], &figures[8], &figures[9], true};
    Program minimal{"minimal", options.minimalExe, &figures[0], &figures[1], &figures[2], memory,
                    &figures[7], &figures[8], &figures[9], false};

    const long long starterSize = FileSizeOf(starter.exe);
    const long long minimalSize = FileSizeOf(minimal.exe);
    figures[10].starter.push_back(starterSize < 0 ? -1 : static_cast<double>(starterSize) / 1024.0);
    figures[10].minimal.push_back(minimalSize < 0 ? -1 : static_cast<double>(minimalSize) / 1024.0);

    std::printf("%d-bit build: %d runs of each program, %d idle window(s) of %d s\n", is32Bit ? 32 : 64, options.runs,
                options.idleWindows, options.idleSeconds);
    std::printf("  starter: %s (%lld bytes)\n  minimal: %s (%lld bytes)\n", starter.exe.c_str(), starterSize,
                minimal.exe.c_str(), minimalSize);
    if (RunningUnderWine())
        std::printf("  under Wine: no Windows process times of another process (Wine gives the caller's own),\n"
                    "  no private bytes; the working set is the Linux RSS\n");

    Job job;
    for (int run = 0; run < options.runs; ++run) {
        // Taking turns at going first evens out what a warmer system gives
        // the second program of a run.
        std::printf("  run %d of %d\n", run + 1, options.runs);
        if (run % 2 == 0) {
            MeasureOneRun(job, starter);
            MeasureOneRun(job, minimal);
        } else {
            MeasureOneRun(job, minimal);
            MeasureOneRun(job, starter);
        }
    }
    std::printf("  idle: both programs in the tray for %d x %d s\n", options.idleWindows, options.idleSeconds);
    MeasureIdle(job, options, starter, minimal);

    // Each start of the starter writes its Run entries; none may stay to
    // start it again at the prefix's next session.
    const std::vector<std::string> left = ClearStarterAutoLaunch();
    std::printf("  the starter's Run entries and auto-start value left in this prefix: %s\n",
                left.empty() ? "none" : "some, now removed");
    for (const std::string& location : left) std::printf("    %s\n", location.c_str());

    std::printf("\n");
    PrintRuns(figures);
    std::printf("\n");
    PrintTable(figures);
    return 0;
}
