// Internal to the simulated system side: what the System*.cpp files share
// (path parsing, the file table, the current directory, kernel handles and
// the reset of each part). Tests use SimSystem.h instead.
#pragma once

#include "platform/sim/SimSystem.h"

#include <string>
#include <vector>

namespace sim::detail {

// ---- paths ----

// A path made full the way Win32 does it: "/" counts as "\", "." and ".."
// are resolved, empty levels vanish, trailing dots are dropped from every
// level and trailing blanks from the last one; a drive-relative path on
// another drive than the current one starts at that drive's root (a
// process keeps only one current directory). Letter case stays as given.
struct FullPath {
    DWORD error = 0;                 // non-zero: the path can't be used (e.g. ERROR_INVALID_NAME)
    std::string drive;               // "C:"
    std::vector<std::string> levels; // below the drive's root
    bool trailingSeparator = false;  // the text ended with "\" after a name

    std::string Display() const;            // "C:\dir\file" or "C:\"
    std::string Key(std::size_t levelCount) const;  // look-up key of the first levelCount levels
    std::string Key() const { return Key(levels.size()); }
};

FullPath MakeFullPath(const std::string& path);

// ASCII lower case, the look-up form of names (Windows compares without case).
std::string Lower(std::string text);

// ---- files ----

struct FileEntry {
    std::string path;  // full path in the case it was created with
    DWORD attributes;  // FILE_ATTRIBUTE_*, with FILE_ATTRIBUTE_DIRECTORY for folders
    bool isProgram;
    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// The entry a full path names, or nullptr with the error Windows gives:
// ERROR_FILE_NOT_FOUND when only the last level is missing,
// ERROR_PATH_NOT_FOUND when a level above it is missing or is a file (or a
// file is named with a trailing "\").
const FileEntry* FindEntry(const FullPath& path, DWORD* error);

// The current directory as GetCurrentDirectoryA gives it.
const std::string& CurrentDirectoryText();
// The Windows directory and the program file.
const std::string& WindowsDirectoryText();
const std::string& ModulePathText();

// ---- kernel handles ----

enum class HandleKind { Process, Thread, Mutex };
HANDLE NewHandle(HandleKind kind, const std::string& mutexName = std::string());
bool IsHandleOf(HANDLE handle, HandleKind kind);

// ---- resets, one per part ----
void ResetRegistry();
void ResetFiles();
void ResetProcesses();
void ResetKernel();

}  // namespace sim::detail
