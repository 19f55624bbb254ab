#include "harness/Processes.h"

#include "harness/Wait.h"

#include <cstddef>

namespace e2e {

bool StartedProcess::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool StartedProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_.get(), exitCode);
    return true;
}

bool StartedProcess::WaitUntilIdle(DWORD timeoutMs) const {
    return process_ && WaitForInputIdle(process_.get(), timeoutMs) == 0;
}

ProcessJob::ProcessJob() : job_(CreateJobObjectA(nullptr, nullptr)) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_) SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

ProcessJob::~ProcessJob() {
    EndAll();
}

StartedProcess ProcessJob::Start(const std::string& commandLine, const std::string& currentDirectory) {
    if (!job_) return StartedProcess();
    std::string writable = commandLine;  // CreateProcessA may write to it
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &created))
        return StartedProcess();
    if (!AssignProcessToJobObject(job_.get(), created.hProcess)) {
        TerminateProcess(created.hProcess, 1);
        CloseHandle(created.hThread);
        CloseHandle(created.hProcess);
        return StartedProcess();
    }
    ResumeThread(created.hThread);
    CloseHandle(created.hThread);
    return StartedProcess(created.hProcess, created.dwProcessId);
}

DWORD ProcessJob::ActiveProcesses() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!job_ || !QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &info, sizeof info,
                                            nullptr))
        return 0;
    return info.ActiveProcesses;
}

DWORD ProcessJob::TotalProcesses() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (!job_ || !QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &info, sizeof info,
                                            nullptr))
        return 0;
    return info.TotalProcesses;
}

std::vector<DWORD> ProcessJob::ProcessIds() const {
    std::vector<DWORD> ids;
    if (!job_) return ids;
    // Room for 64 processes: far more than a test starts. The list is a
    // header followed by the identifiers, so it is laid out by hand.
    constexpr std::size_t kMaxIds = 64;
    constexpr std::size_t kIdsOffset = offsetof(JOBOBJECT_BASIC_PROCESS_ID_LIST, ProcessIdList);
    std::vector<ULONG_PTR> buffer(kIdsOffset / sizeof(ULONG_PTR) + 1 + kMaxIds);
    auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
    list->NumberOfAssignedProcesses = kMaxIds;
    if (!QueryInformationJobObject(job_.get(), JobObjectBasicProcessIdList, list,
                                   static_cast<DWORD>(buffer.size() * sizeof(ULONG_PTR)), nullptr))
        return ids;
    const auto* first = reinterpret_cast<const ULONG_PTR*>(reinterpret_cast<const char*>(list) + kIdsOffset);
    for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i) ids.push_back(static_cast<DWORD>(first[i]));
    return ids;
}

void ProcessJob::EndAll() {
    if (!job_ || ActiveProcesses() == 0) return;
    TerminateJobObject(job_.get(), 1);
    WaitUntil([&] { return ActiveProcesses() == 0; }, 10000);
}

}  // namespace e2e
