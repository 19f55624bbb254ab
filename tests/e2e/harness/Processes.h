// The processes a test starts, and only those: each is created inside one
// job object, suspended until it has joined, so that everything it starts
// in turn (Quellmar, a browser, an explorer window) is in the job as well.
// Ending the job ends exactly the test's processes and no other program
// of the desktop; the job also ends them when the test program itself
// ends without cleaning up.
#pragma once

#include "platform/Handles.h"
#include "harness/Wait.h"
#include "platform/Win32Api.h"

#include <string>
#include <vector>

namespace e2e {

class StartedProcess {
public:
    StartedProcess() = default;
    StartedProcess(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}

    explicit operator bool() const { return static_cast<bool>(process_); }
    DWORD pid() const { return pid_; }
    HANDLE handle() const { return process_.get(); }

    bool Running() const;
    // True when the process has ended within the time; exitCode gets its code.
    bool WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs, DWORD* exitCode = nullptr) const;
    // True when the process waits for input with nothing left to handle,
    // i.e. its start-up has run to the end.
    bool WaitUntilIdle(DWORD timeoutMs = kDefaultTimeoutMs) const;

private:
    platform::unique_handle process_;
    DWORD pid_ = 0;
};

// The program file and the command line of a running process of the
// same bitness (read from its process parameters); "" when the process
// can't be opened or has ended.
std::string ProcessImagePath(DWORD pid);
std::string ProcessCommandLine(DWORD pid);

class ProcessJob {
public:
    ProcessJob();
    ~ProcessJob();
    ProcessJob(const ProcessJob&) = delete;
    ProcessJob& operator=(const ProcessJob&) = delete;

    // Starts a command line with currentDirectory as working directory
    // ("" keeps the test's own). An empty StartedProcess when that fails.
    StartedProcess Start(const std::string& commandLine, const std::string& currentDirectory = "");

    // Processes of the job that are still running, and all it ever held.
    DWORD ActiveProcesses() const;
    DWORD TotalProcesses() const;
    std::vector<DWORD> ProcessIds() const;

    // Ends every process of the job and waits (bounded) until they are gone.
    void EndAll();

    // The job object, for starting processes into it in other ways (wide
    // command lines, another desktop).
    HANDLE handle() const { return job_.get(); }

private:
    platform::unique_handle job_;
};

}  // namespace e2e
