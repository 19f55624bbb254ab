#include "harness/Reporter.h"

#include "harness/Files.h"
#include "platform/Win32Api.h"

#include <cstdlib>

namespace e2e {

namespace {

// Creates every missing level of path's folder.
bool MakeParentFolders(const std::string& path) {
    std::string::size_type slash = path.find_last_of('\\');
    if (slash == std::string::npos || slash < 3) return true;
    std::string folder = path.substr(0, slash);
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return MakeParentFolders(folder) && CreateDirectoryA(folder.c_str(), nullptr) != FALSE;
}

}  // namespace

bool InstallReporter(const std::string& path) {
    return MakeParentFolders(path) && CopyFileTo(ToWindowsPath(E2E_REPORTER_EXE), path);
}

std::vector<ReporterStart> ReporterStarts(const std::string& path) {
    std::vector<ReporterStart> starts;
    for (const std::string& line : ReadLines(path + ".log")) {
        // The command line may hold tabs itself: the two fields after it
        // are found from the end.
        ReporterStart start;
        std::string::size_type last = line.rfind('\t');
        std::string::size_type middle = last == std::string::npos || last == 0 ? std::string::npos
                                                                               : line.rfind('\t', last - 1);
        if (middle == std::string::npos) {
            start.commandLine = line;
        } else {
            start.commandLine = line.substr(0, middle);
            start.currentDirectory = line.substr(middle + 1, last - middle - 1);
            start.showCommand = std::atoi(line.c_str() + last + 1);
        }
        starts.push_back(start);
    }
    return starts;
}

}  // namespace e2e
