// The application services the starter's forms and modules run on: its own
// location, the previous-instance test, message and input boxes, process
// starts, the file and folder tests and the current directory. Built once on
// the Win32 API of Win32Api.h, so it behaves alike on both platforms; only
// the input box has a platform-specific body.
#pragma once

#include "platform/Win32Api.h"

#include <string>

namespace platform {

// The title every message box carries.
inline constexpr const char* kApplicationTitle = "Quellmar Starter";

// The program file's full path. Never the process's working directory.
std::string AppFile();
// The folder of the program file, up to and including its last "\" (a
// character of the ANSI code page, never a double-byte character's second
// byte).
std::string AppDirectory();

// True when another process has claimed instanceName, or holds a claim this
// process may not open. The first call claims it for this process for the
// rest of its life.
bool PrevInstance(const std::string& instanceName);

// A modal message box with the application title; gives the button pressed.
int MsgBox(const std::string& text, UINT style);

// A modal input box: prompt, title, one edit field, OK and Cancel. Gives the
// text typed, or "" when the user cancels.
std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText);

// Starts a process from a command line without a shell; the command line is
// copied first, as CreateProcessA may write to it. Both handles are closed at
// once: the starter never waits for what it starts. True when the process
// was created.
bool StartProcess(const std::string& commandLine, WORD showCommand = SW_SHOWNORMAL);

// True when path names a file, whatever its attributes (as a process start
// takes it): it exists and is no folder. "" and wildcards never match.
bool FileExists(const std::string& path);

// True when path names a file with normal attributes: it exists, and it is
// neither a folder nor hidden nor a system file. "" and wildcards never match.
bool FileExistsNormal(const std::string& path);

// True when path names an existing folder ("" never does).
bool FolderExists(const std::string& path);

// Makes path the current directory; false when that is impossible.
bool ChangeDirectory(const std::string& path);

// Makes the loader look for DLLs in the system folder only, never beside the
// program or in the current directory, so that none can be planted there.
void RestrictDllSearch();

// Ends the process at once, with no further handler running.
[[noreturn]] void EndProcess();

}  // namespace platform
