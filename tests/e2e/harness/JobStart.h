// Starting a program into a test's job in the ways ProcessJob::Start
// doesn't: a wide command line (a program in a folder named in any
// script) and another desktop of the window station.
#pragma once

#include "harness/Processes.h"

#include <string>

namespace e2e {

// Starts commandLine with CreateProcessW, suspended until it has joined the
// job. desktop ("WinSta0\\name") chooses the desktop its windows live on,
// "" the test's own; currentDirectory "" keeps the test's own. An empty
// StartedProcess when it can't be started.
StartedProcess StartInJob(ProcessJob& job, const std::wstring& commandLine, const std::wstring& desktop = L"",
                          const std::wstring& currentDirectory = L"");

}  // namespace e2e
