// Control of the simulated desktop's system side (kernel32 and advapi32),
// for native tests: the registry, drives, folders and files, the current
// directory, the program's own path, process starts, named mutexes and the
// end of the process. The starter's code never includes this header; it
// calls the Win32 functions of SimWin32.h, which this world answers.
#pragma once

#include "platform/sim/SimWin32.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace sim {

// Back to the default world:
//  - registry: the four roots, with the keys
//    HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion\Run",
//    HKEY_LOCAL_MACHINE "Software\Microsoft\Windows NT\CurrentVersion" and
//    HKEY_CURRENT_USER "Software"; every root writable; no open key handle.
//    HKEY_CLASSES_ROOT is a tree of its own.
//  - files: drive C: with C:\windows\explorer.exe and
//    C:\windows\system32\notepad.exe (programs) and the program file
//    C:\Program Files\Quellmar\QuellmarStarter.exe (a program);
//    Windows directory "C:\windows"; current directory the program's folder.
//  - no process started, no hook, no kernel handle open, no mutex held.
//  - the last error 0.
void ResetSystem();

// ---- registry ----

// False makes the tree under root read-only, as HKEY_LOCAL_MACHINE is for a
// standard user: opening or creating a key with any write right, writing or
// deleting values and deleting keys fail with ERROR_ACCESS_DENIED; reading
// still works.
void SetRegistryWritable(HKEY root, bool writable);

// Key handles opened or created and not yet closed (the predefined roots
// don't count).
std::size_t OpenKeyCount();

// ---- drives, folders and files ----
// Paths are full paths ("C:\dir\file.exe"); case is kept for display and
// ignored for look-ups, as on Windows; "/" counts as "\".

// Adds a folder and every missing folder above it (a drive root such as
// "D:\" adds the drive).
void AddFolder(const std::string& path);

// Adds a file (and its missing folders) with the given attributes
// (FILE_ATTRIBUTE_*; FILE_ATTRIBUTE_DIRECTORY is ignored here). isProgram
// says whether CreateProcessA can run it; a file that isn't one fails with
// ERROR_BAD_EXE_FORMAT. An existing file is replaced.
void AddFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE, bool isProgram = false);

// A runnable program file: AddFile(path, FILE_ATTRIBUTE_ARCHIVE, true).
void AddProgram(const std::string& path);

// Changes the attributes of an existing file or folder (the directory bit
// stays as it is). False when there is no such entry.
bool SetAttributes(const std::string& path, DWORD attributes);

// Removes a file; false when there is none.
bool RemoveFile(const std::string& path);

// Removes a folder with everything in it; false when there is none. A drive
// root can be removed too (the drive disappears).
bool RemoveFolder(const std::string& path);

// True when a file or folder of that full path exists.
bool Exists(const std::string& path);

// The full path GetModuleFileNameA(NULL) gives. The file and its folder are
// added as a program when they are missing, and the current directory is
// left as it is.
void SetModulePath(const std::string& path);
std::string ModulePath();

// The folder GetWindowsDirectoryA gives (added when missing).
void SetWindowsDirectory(const std::string& path);

// The process's current directory as GetCurrentDirectoryA gives it.
std::string CurrentDirectory();

// ---- processes ----

// One successful CreateProcessA.
struct ProcessStart {
    std::string commandLine;       // exactly as passed
    std::string currentDirectory;  // the directory the new process starts in
    WORD showCommand = 10;         // wShowWindow when STARTF_USESHOWWINDOW, else SW_SHOWDEFAULT (10)
    std::string program;           // the program file found, full path in its stored case
};

// Every start since the last reset, oldest first.
const std::vector<ProcessStart>& Processes();
void ClearProcesses();

// Called after each successful start, before CreateProcessA returns (e.g.
// to create the window the new program would show). An empty function
// removes the hook.
void SetProcessStartHook(std::function<void(const ProcessStart&)> hook);

// Kernel handles (processes, threads, mutexes) not yet closed.
std::size_t OpenHandleCount();

// ---- named mutexes ----

// Another process holds a mutex of that name: CreateMutexA of the same name
// then gives a handle and ERROR_ALREADY_EXISTS.
void HoldNamedMutex(const std::string& name);
void ReleaseNamedMutex(const std::string& name);

// ---- the end of the process ----

// What ExitProcess throws: nothing after it runs in the program's code; the
// test that called into the program catches it.
struct ProcessExited {
    UINT code;
};

}  // namespace sim
