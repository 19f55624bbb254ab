#include "harness/Processes.h"

#include "harness/JobStart.h"
#include "harness/WideText.h"

#include "harness/Wait.h"

#include <winternl.h>

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

std::string ProcessImagePath(DWORD pid) {
    platform::unique_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return std::string();
    char path[MAX_PATH * 4] = "";
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process.get(), 0, path, &size)) return std::string();
    return std::string(path, size);
}

std::string ProcessCommandLine(DWORD pid) {
    using QueryInformation = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    platform::unique_handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!query || !process) return std::string();

    // The process environment block leads to the process parameters, which
    // hold the command line in the other process's memory.
    PROCESS_BASIC_INFORMATION basic{};
    if (query(process.get(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 || !basic.PebBaseAddress)
        return std::string();
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!ReadProcessMemory(process.get(), basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !ReadProcessMemory(process.get(), peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return std::string();
    std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (text.empty() || !ReadProcessMemory(process.get(), parameters.CommandLine.Buffer, text.data(),
                                           parameters.CommandLine.Length, nullptr))
        return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string commandLine(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), commandLine.data(), n, nullptr, nullptr);
    return commandLine;
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
    // The ANSI text widened as CreateProcessA itself would.
    return StartInJob(*this, WideFromAnsi(commandLine), L"", WideFromAnsi(currentDirectory));
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
