// What a running program costs, read from outside in two ways: the Windows
// side (GetProcessMemoryInfo, GetProcessTimes on the process handle) and,
// under Wine, the Linux side of the same process (its files in /proc,
// reached through Wine's drive Z:). A figure that can't be had is negative.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

struct MemoryFigures {
    double workingSetKb = -1;    // GetProcessMemoryInfo: WorkingSetSize
    double privateBytesKb = -1;  // GetProcessMemoryInfo: PrivateUsage (not given for another process under Wine)
    double linuxRssKb = -1;      // /proc/<pid>/smaps_rollup: Rss
    double linuxPrivateKb = -1;  // /proc/<pid>/smaps_rollup: Private_Clean + Private_Dirty
};

struct CpuFigures {
    double windowsMs = -1;      // GetProcessTimes: kernel + user
    double linuxMs = -1;        // /proc/<pid>/stat: utime + stime, in whole ticks
    double linuxThreadsMs = -1; // /proc/<pid>/task/*/schedstat: run time of the live threads, in ns
};

// True under Wine. Its GetProcessTimes gives the calling process's own
// times for any process handle, and its GetProcessMemoryInfo gives the
// Linux RSS as the working set and no private bytes, so those figures are
// left out or labelled there.
bool RunningUnderWine();

// The Linux process id of the Wine process that runs exePath (its command
// line begins with that path) in this probe's own Wine prefix; -1 when
// there is none, or no /proc to look in.
int FindLinuxPid(const std::string& exePath);

MemoryFigures ReadMemory(HANDLE process, int linuxPid);
CpuFigures ReadCpu(HANDLE process, int linuxPid);

// The size of a file in bytes; -1 when it can't be read.
long long FileSizeOf(const std::string& path);

// Processes of this Wine prefix whose program file is exePath (compared
// without regard to case).
std::vector<DWORD> ProcessesRunning(const std::string& exePath);

}  // namespace bench
