// The start reporter (tests/programs/StartReporter.cpp) as the tests use
// it: a copy placed wherever a test needs a program that the starter
// starts (a companion application, a browse application, a browser), and
// the record that each copy keeps of its starts in "<its path>.log".
#pragma once

#include <string>
#include <vector>

namespace e2e {

struct ReporterStart {
    std::string commandLine;
    std::string currentDirectory;
    int showCommand = -1;  // -1 when the line held none
};

// Copies the reporter to path, creating the missing folders; false when
// that fails.
bool InstallReporter(const std::string& path);

// Every start of the copy at path, oldest first.
std::vector<ReporterStart> ReporterStarts(const std::string& path);

}  // namespace e2e
