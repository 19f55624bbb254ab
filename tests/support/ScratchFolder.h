// A folder of a test's own, with files and programs made in it, removed
// with everything in it when the test ends. On Windows it lies in the
// user's temporary folder and its programs are copies of a small program
// that writes down each of its starts; in the simulation it is
// C:\Temp\QuellmarStarterTests.<n> and its programs are simulated ones.
#pragma once

#include "platform/Win32Api.h"

#include <string>
#include <vector>

namespace support {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Full path, without a closing "\".
    const std::string& Path() const { return path_; }
    // Path() + "\" + relative.
    std::string At(const std::string& relative) const { return path_ + "\\" + relative; }

    // Each gives the full path it made; missing folders above are made too.
    std::string AddFolder(const std::string& relative);
    std::string AddFile(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE);  // text, not a program
    std::string AddProgram(const std::string& relative);
    // A program outside the scratch folder (e.g. beside the running program),
    // removed with the scratch folder.
    void AddProgramAt(const std::string& fullPath);

private:
    std::string path_;
    std::vector<std::string> folders_;  // in the order made
    std::vector<std::string> files_;
};

// One start of a program, as the program itself saw it.
struct ObservedStart {
    std::string commandLine;
    std::string currentDirectory;
    WORD showCommand = 0;  // SW_SHOWDEFAULT unless the starter gave one
};

// The starts of the program file at programPath, oldest first.
std::vector<ObservedStart> StartsOf(const std::string& programPath);

// After a successful CreateProcessA: waits (bounded) until the new process
// has ended, so that what it wrote down can be read, then closes both
// handles.
void FinishStart(PROCESS_INFORMATION& process);

// The folder of the running program file, without a closing "\".
std::string OwnFolder();

}  // namespace support
