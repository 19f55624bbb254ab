// The control side of the simulated system, which only native tests have:
// the default world, the counters of open handles, the start hook, other
// processes' mutexes, the end of the process, and the setters of the world.
// How the simulated functions answer is held to Windows by the contract
// tests; these cases cover what the contract tests can't reach.
#include "platform/sim/SimSystem.h"

#include "platform/Win32Api.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class SimSystem : public ::testing::Test {
protected:
    void SetUp() override { sim::ResetSystem(); }

    static bool Start(const std::string& commandLine, DWORD* error = nullptr, PROCESS_INFORMATION* kept = nullptr) {
        std::vector<char> writable(commandLine.begin(), commandLine.end());
        writable.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        SetLastError(0);
        BOOL ok = CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process);
        if (error != nullptr) *error = GetLastError();
        if (ok && kept != nullptr) {
            *kept = process;
        } else if (ok) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        return ok != FALSE;
    }
    static std::string WindowsDirectory() {
        char buffer[MAX_PATH + 1] = {};
        return std::string(buffer, GetWindowsDirectoryA(buffer, sizeof buffer));
    }
    static std::string ModuleFileName() {
        char buffer[MAX_PATH + 1] = {};
        return std::string(buffer, GetModuleFileNameA(nullptr, buffer, sizeof buffer));
    }
};

// ---- the default world ----

TEST_F(SimSystem, TheDefaultWorldHasTheStarterTheWindowsProgramsAndTheRunKeys) {
    EXPECT_EQ("C:\\Program Files\\Quellmar\\QuellmarStarter.exe", ModuleFileName());
    EXPECT_EQ("C:\\Program Files\\Quellmar", sim::CurrentDirectory());
    EXPECT_EQ("C:\\windows", WindowsDirectory());
    EXPECT_TRUE(sim::Exists("C:\\windows\\explorer.exe"));
    EXPECT_TRUE(sim::Exists("C:\\windows\\system32\\notepad.exe"));
    EXPECT_FALSE(sim::Exists("C:\\Program Files\\Quellmar\\Quellmar.exe"));

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                                           KEY_READ, &key));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion", 0,
                                           KEY_READ, &key));
    RegCloseKey(key);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run",
                                                  0, KEY_READ, &key));
    EXPECT_EQ(0u, sim::OpenKeyCount());
    EXPECT_EQ(0u, sim::OpenHandleCount());
    EXPECT_TRUE(sim::Processes().empty());
    EXPECT_EQ(0u, GetLastError());
}

TEST_F(SimSystem, BareNamesOfTheWindowsProgramsAreFoundInTheSystemFolders) {
    ASSERT_TRUE(Start("explorer.exe C:\\Music\\"));
    ASSERT_TRUE(Start("notepad"));
    ASSERT_EQ(2u, sim::Processes().size());
    EXPECT_EQ("C:\\windows\\explorer.exe", sim::Processes()[0].program);
    EXPECT_EQ("explorer.exe C:\\Music\\", sim::Processes()[0].commandLine);
    EXPECT_EQ("C:\\windows\\system32\\notepad.exe", sim::Processes()[1].program);
    EXPECT_EQ("C:\\Program Files\\Quellmar", sim::Processes()[1].currentDirectory);
}

TEST_F(SimSystem, SystemFolderProgramsComeAfterTheProgramsOwnFolder) {
    sim::AddProgram("C:\\Program Files\\Quellmar\\notepad.exe");
    ASSERT_TRUE(Start("notepad.exe"));
    EXPECT_EQ("C:\\Program Files\\Quellmar\\notepad.exe", sim::Processes().back().program);
    sim::RemoveFile("C:\\Program Files\\Quellmar\\notepad.exe");
    sim::AddProgram("C:\\windows\\notepad.exe");
    ASSERT_TRUE(Start("notepad.exe"));
    EXPECT_EQ("C:\\windows\\system32\\notepad.exe", sim::Processes().back().program);  // system32 before windows
}

TEST_F(SimSystem, ResetForgetsEverythingTheTestDid) {
    sim::AddProgram("D:\\Tools\\tool.exe");
    SetCurrentDirectoryA("D:\\Tools");
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Left", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, false);
    sim::HoldNamedMutex("held");
    Start("tool.exe");
    int hookCalls = 0;
    sim::SetProcessStartHook([&](const sim::ProcessStart&) { ++hookCalls; });
    SetLastError(5);

    sim::ResetSystem();
    EXPECT_FALSE(sim::Exists("D:\\"));
    EXPECT_EQ("C:\\Program Files\\Quellmar", sim::CurrentDirectory());
    EXPECT_EQ(0u, sim::OpenKeyCount());
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));  // a handle of the old world names nothing
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Left", 0, KEY_READ, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Writable", 0, nullptr, 0, KEY_WRITE,
                                             nullptr, &key, nullptr));
    RegCloseKey(key);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "held");
    EXPECT_EQ(0u, GetLastError());
    CloseHandle(mutex);
    EXPECT_TRUE(sim::Processes().empty());
    ASSERT_TRUE(Start("notepad.exe"));
    EXPECT_EQ(0, hookCalls);
}

// ---- counters of what is left open ----

TEST_F(SimSystem, OpenKeyCountFollowsOpensCreatesAndClosesButNotRoots) {
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_READ, &root));
    EXPECT_EQ(0u, sim::OpenKeyCount());
    HKEY created = nullptr, opened = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\A", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &created, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\A", 0, KEY_READ, &opened));
    EXPECT_EQ(2u, sim::OpenKeyCount());
    HKEY failed = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\B", 0, KEY_READ, &failed));
    EXPECT_EQ(2u, sim::OpenKeyCount());
    RegCloseKey(created);
    EXPECT_EQ(1u, sim::OpenKeyCount());
    // A key deleted while open still holds its handle until it is closed.
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\A"));
    EXPECT_EQ(1u, sim::OpenKeyCount());
    RegCloseKey(opened);
    EXPECT_EQ(0u, sim::OpenKeyCount());
}

TEST_F(SimSystem, OpenHandleCountFollowsProcessThreadAndMutexHandles) {
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(Start("notepad.exe", nullptr, &process));
    EXPECT_EQ(2u, sim::OpenHandleCount());
    EXPECT_EQ(0u, WaitForInputIdle(process.hProcess, 1000));
    SetLastError(0);
    EXPECT_EQ(WAIT_FAILED, WaitForInputIdle(process.hThread, 1000));  // a thread is no process
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "m");
    EXPECT_EQ(3u, sim::OpenHandleCount());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(mutex);
    EXPECT_EQ(0u, sim::OpenHandleCount());
    DWORD error = 0;
    EXPECT_FALSE(Start("missing.exe", &error));
    EXPECT_EQ(0u, sim::OpenHandleCount());
}

// ---- the start hook ----

TEST_F(SimSystem, TheHookSeesEachSuccessfulStartBeforeCreateProcessReturns) {
    std::vector<sim::ProcessStart> seen;
    std::size_t recordedWhenCalled = 0;
    sim::SetProcessStartHook([&](const sim::ProcessStart& start) {
        seen.push_back(start);
        recordedWhenCalled = sim::Processes().size();
        sim::AddFile("C:\\started.flag");  // what the new program would do, visible at once
    });
    sim::AddProgram("C:\\Tools\\tool.exe");
    ASSERT_TRUE(Start("C:\\Tools\\tool.exe -x"));
    EXPECT_TRUE(sim::Exists("C:\\started.flag"));
    DWORD error = 0;
    EXPECT_FALSE(Start("C:\\Tools\\missing.exe", &error));
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("C:\\Tools\\tool.exe -x", seen[0].commandLine);
    EXPECT_EQ("C:\\Tools\\tool.exe", seen[0].program);
    EXPECT_EQ(1u, recordedWhenCalled);

    sim::SetProcessStartHook(nullptr);
    ASSERT_TRUE(Start("C:\\Tools\\tool.exe"));
    EXPECT_EQ(1u, seen.size());
}

// ---- other processes and the end of this one ----

TEST_F(SimSystem, AMutexHeldByAnotherProcessMakesCreateSayAlreadyExists) {
    sim::HoldNamedMutex("Local\\QuellmarStarter.c:/program files/quellmar/quellmarstarter.exe");
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "Local\\QuellmarStarter.c:/program files/quellmar/quellmarstarter.exe");
    ASSERT_NE(nullptr, mutex);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    CloseHandle(mutex);
    // Held without "Local\": the same object.
    mutex = CreateMutexA(nullptr, FALSE, "QuellmarStarter.c:/program files/quellmar/quellmarstarter.exe");
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    CloseHandle(mutex);

    sim::ReleaseNamedMutex("QuellmarStarter.c:/program files/quellmar/quellmarstarter.exe");
    mutex = CreateMutexA(nullptr, FALSE, "Local\\QuellmarStarter.c:/program files/quellmar/quellmarstarter.exe");
    EXPECT_EQ(0u, GetLastError());
    CloseHandle(mutex);
}

TEST_F(SimSystem, ExitProcessThrowsItsCodeAndNothingAfterItRuns) {
    bool after = false;
    try {
        ExitProcess(3);
        after = true;
    } catch (const sim::ProcessExited& exited) {
        EXPECT_EQ(3u, exited.code);
    }
    EXPECT_FALSE(after);
}

// ---- setting the world up ----

TEST_F(SimSystem, FilesThatAreNoProgramsCanNotBeStarted) {
    sim::AddFile("C:\\Data\\notes.exe", FILE_ATTRIBUTE_ARCHIVE, false);
    DWORD error = 0;
    EXPECT_FALSE(Start("C:\\Data\\notes.exe", &error));
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_EXE_FORMAT), error);
    EXPECT_TRUE(sim::Processes().empty());
}

TEST_F(SimSystem, AttributesAreKeptAndNoneReadsAsNormal) {
    sim::AddFile("C:\\a.txt", 0);
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL), GetFileAttributesA("C:\\a.txt"));
    sim::AddFile("C:\\b.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN), GetFileAttributesA("C:\\b.txt"));  // still a file
    ASSERT_TRUE(sim::SetAttributes("C:\\b.txt", FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM), GetFileAttributesA("C:\\b.txt"));
    ASSERT_TRUE(sim::SetAttributes("C:\\windows", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY), GetFileAttributesA("C:\\windows"));
    EXPECT_FALSE(sim::SetAttributes("C:\\missing", 0));
}

TEST_F(SimSystem, RemovingFilesFoldersAndDrives) {
    sim::AddProgram("D:\\Tools\\Sub\\tool.exe");
    EXPECT_FALSE(sim::RemoveFile("D:\\Tools"));  // a folder is no file
    EXPECT_TRUE(sim::RemoveFile("d:\\tools\\sub\\TOOL.EXE"));
    EXPECT_FALSE(sim::RemoveFile("D:\\Tools\\Sub\\tool.exe"));
    EXPECT_TRUE(sim::Exists("D:\\Tools\\Sub"));
    EXPECT_TRUE(sim::RemoveFolder("D:\\Tools"));
    EXPECT_FALSE(sim::Exists("D:\\Tools\\Sub"));
    EXPECT_TRUE(sim::Exists("D:\\"));
    EXPECT_TRUE(sim::RemoveFolder("D:\\"));
    SetLastError(0);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("D:\\"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("D:\\x"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

TEST_F(SimSystem, APathBlockedByAFileOrFolderIsRefused) {
    sim::AddFile("C:\\Data\\file.txt");
    EXPECT_THROW(sim::AddFolder("C:\\Data\\file.txt\\below"), std::invalid_argument);
    EXPECT_THROW(sim::AddFile("C:\\Data"), std::invalid_argument);
    EXPECT_THROW(sim::AddFile("C:\\Data\\*.txt"), std::invalid_argument);
}

TEST_F(SimSystem, TheModulePathAndWindowsDirectoryCanBeMoved) {
    sim::SetModulePath("D:\\QuellmarStarter.exe");
    EXPECT_EQ("D:\\QuellmarStarter.exe", ModuleFileName());
    EXPECT_EQ("D:\\QuellmarStarter.exe", sim::ModulePath());
    EXPECT_TRUE(sim::Exists("D:\\QuellmarStarter.exe"));
    EXPECT_EQ("C:\\Program Files\\Quellmar", sim::CurrentDirectory());  // left as it was
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA("quellmarstarter.EXE"));

    sim::AddProgram("D:\\beside.exe");
    ASSERT_TRUE(Start("beside"));
    EXPECT_EQ("D:\\beside.exe", sim::Processes().back().program);

    sim::SetWindowsDirectory("E:\\WINNT\\");
    EXPECT_EQ("E:\\WINNT", WindowsDirectory());
    EXPECT_TRUE(sim::Exists("E:\\WINNT"));
    sim::AddProgram("E:\\WINNT\\system32\\calc.exe");
    ASSERT_TRUE(Start("calc.exe"));
    EXPECT_EQ("E:\\WINNT\\system32\\calc.exe", sim::Processes().back().program);
    DWORD error = 0;
    EXPECT_FALSE(Start("explorer.exe", &error));  // C:\windows is no longer searched
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), error);
}

TEST_F(SimSystem, AnApplicationNameIsTakenAsWrittenAndTheCommandLineKept) {
    sim::AddProgram("C:\\Tools\\tool.exe");
    char commandLine[] = "anything -a";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA("C:\\Tools\\tool.exe", commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ("anything -a", sim::Processes().back().commandLine);
    EXPECT_EQ("C:\\Tools\\tool.exe", sim::Processes().back().program);
    EXPECT_FALSE(CreateProcessA("C:\\Tools\\tool", commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &process));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

}  // namespace
