#include "harness/JobStart.h"

namespace e2e {

StartedProcess StartInJob(ProcessJob& job, const std::wstring& commandLine, const std::wstring& desktop,
                          const std::wstring& currentDirectory) {
    if (!job.handle()) return StartedProcess();
    std::wstring writableLine = commandLine;  // CreateProcessW may write to it
    std::wstring writableDesktop = desktop;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = writableDesktop.empty() ? nullptr : writableDesktop.data();
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(nullptr, writableLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &created))
        return StartedProcess();
    if (!AssignProcessToJobObject(job.handle(), created.hProcess)) {
        TerminateProcess(created.hProcess, 1);
        CloseHandle(created.hThread);
        CloseHandle(created.hProcess);
        return StartedProcess();
    }
    ResumeThread(created.hThread);
    CloseHandle(created.hThread);
    return StartedProcess(created.hProcess, created.dwProcessId);
}

}  // namespace e2e
