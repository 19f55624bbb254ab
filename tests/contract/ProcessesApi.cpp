// Process starts, kernel handles, named mutexes and the last error, as the
// starter uses them, checked against the simulation and, under Wine,
// against the real kernel32. The programs started are copies of a small
// program that writes down each of its starts (in the simulation: simulated
// programs whose starts the simulation records).
#include "platform/Win32Api.h"

#include "support/FreshSystem.h"
#include "support/ScratchFolder.h"
#include "support/UniqueName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using support::ObservedStart;
using support::StartsOf;

class ProcessesApi : public support::FreshSystem {
protected:
    struct Outcome {
        bool started;
        DWORD error;  // when not started
    };

    // CreateProcessA as the starter calls it: no application name, a
    // writable copy of the command line, the given show command.
    Outcome Start(const std::string& commandLine, const char* currentDirectory = nullptr,
                  bool useShowWindow = true, WORD show = SW_SHOWNORMAL) {
        std::vector<char> writable(commandLine.begin(), commandLine.end());
        writable.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (useShowWindow) {
            startup.dwFlags = STARTF_USESHOWWINDOW;
            startup.wShowWindow = show;
        }
        PROCESS_INFORMATION process{};
        SetLastError(0xdeadbeef);
        BOOL ok = CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDirectory,
                                 &startup, &process);
        DWORD error = ok ? 0 : GetLastError();
        if (ok) support::FinishStart(process);
        return Outcome{ok != FALSE, error};
    }

    static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

    support::ScratchFolder scratch;
};

// ---- which program a command line starts ----

TEST_F(ProcessesApi, AQuotedProgramStartsWithTheCommandLineAndTheCurrentDirectoryAsTheyAre) {
    std::string program = scratch.AddProgram("Dir with blank\\prog.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
    std::string commandLine = Quoted(program) + " -x \"an argument\"";
    Outcome outcome = Start(commandLine);
    ASSERT_TRUE(outcome.started) << outcome.error;
    std::vector<ObservedStart> starts = StartsOf(program);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(commandLine, starts[0].commandLine);
    EXPECT_EQ(scratch.Path(), starts[0].currentDirectory);
    EXPECT_EQ(static_cast<WORD>(SW_SHOWNORMAL), starts[0].showCommand);
    EXPECT_EQ(scratch.Path(), CurrentDirectory());  // the starter's own stays as it was
}

TEST_F(ProcessesApi, TheShowCommandReachesTheProgramOnlyWhenGiven) {
    std::string program = scratch.AddProgram("prog.exe");
    ASSERT_TRUE(Start(program, nullptr, true, SW_SHOWMINNOACTIVE).started);
    ASSERT_TRUE(Start(program, nullptr, false).started);
    std::vector<ObservedStart> starts = StartsOf(program);
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ(static_cast<WORD>(SW_SHOWMINNOACTIVE), starts[0].showCommand);
    EXPECT_EQ(static_cast<WORD>(SW_SHOWDEFAULT), starts[1].showCommand);
}

// Unquoted, a path with blanks is read prefix by prefix; the first prefix
// that names a file wins.
TEST_F(ProcessesApi, AnUnquotedPathWithBlanksFindsTheProgramBehindTheBlanks) {
    std::string program = scratch.AddProgram("Dir with blank\\prog.exe");
    Outcome outcome = Start(program + " -x");
    ASSERT_TRUE(outcome.started) << outcome.error;
    // (Wine hands the program its command line with the path quoted, Windows
    // as written: only the program and its directory are compared.)
    std::vector<ObservedStart> starts = StartsOf(program);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(CurrentDirectory(), starts[0].currentDirectory);
}

TEST_F(ProcessesApi, AnUnquotedPathWithBlanksStartsAShorterPrefixThatNamesAProgram) {
    std::string wanted = scratch.AddProgram("Dir with blank\\prog.exe");
    std::string shadow = scratch.AddProgram("Dir.exe");
    std::string commandLine = wanted + " -y";
    ASSERT_TRUE(Start(commandLine).started);
    EXPECT_TRUE(StartsOf(wanted).empty());
    std::vector<ObservedStart> starts = StartsOf(shadow);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(commandLine, starts[0].commandLine);
}

TEST_F(ProcessesApi, APrefixThatNamesAFileThatIsNoProgramEndsTheSearch) {
    scratch.AddFile("T.txt");
    std::string program = scratch.AddProgram("T.txt more\\prog.exe");
    Outcome outcome = Start(program);
    EXPECT_FALSE(outcome.started);
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_EXE_FORMAT), outcome.error);
    EXPECT_TRUE(StartsOf(program).empty());
}

TEST_F(ProcessesApi, ANameWithoutExtensionGetsExeButOneWithAnotherExtensionDoesNot) {
    std::string program = scratch.AddProgram("prog.exe");
    ASSERT_TRUE(Start(scratch.At("prog") + " -x").started);
    ASSERT_TRUE(Start(Quoted(scratch.At("prog")) + " -q").started);
    std::vector<ObservedStart> starts = StartsOf(program);
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ(scratch.At("prog") + " -x", starts[0].commandLine);

    scratch.AddProgram("other.x.exe");
    Outcome outcome = Start(scratch.At("other.x"));
    EXPECT_FALSE(outcome.started);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), outcome.error);
}

TEST_F(ProcessesApi, BareNamesAreFoundInTheCurrentDirectory) {
    std::string program = scratch.AddProgram("Dir\\local.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.At("Dir").c_str()));
    ASSERT_TRUE(Start("local.exe -a").started);
    ASSERT_TRUE(Start("local").started);
    ASSERT_TRUE(Start(".\\local").started);
    std::vector<ObservedStart> starts = StartsOf(program);
    ASSERT_EQ(3u, starts.size());
    EXPECT_EQ("local.exe -a", starts[0].commandLine);
    EXPECT_EQ(scratch.At("Dir"), starts[0].currentDirectory);
    // A relative path with a folder in it is looked for the same way.
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
    ASSERT_TRUE(Start("Dir\\local.exe").started);
    EXPECT_EQ(4u, StartsOf(program).size());
}

TEST_F(ProcessesApi, TheProgramsOwnFolderComesBeforeTheCurrentDirectory) {
    std::string name = "qsfirst" + support::UniqueName() + ".exe";
    std::string own = support::OwnFolder() + "\\" + name;
    scratch.AddProgramAt(own);
    std::string local = scratch.AddProgram(name);
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
    ASSERT_TRUE(Start(name).started);
    EXPECT_EQ(1u, StartsOf(own).size());
    EXPECT_TRUE(StartsOf(local).empty());
}

TEST_F(ProcessesApi, TheCurrentDirectoryComesBeforeTheSystemFolders) {
    std::string program = scratch.AddProgram("notepad.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
    ASSERT_TRUE(Start("notepad.exe").started);
    EXPECT_EQ(1u, StartsOf(program).size());
}

TEST_F(ProcessesApi, ADriveRelativeNameIsNotSearchedFor) {
    std::string program = scratch.AddProgram("prog.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
    Outcome outcome = Start(scratch.Path().substr(0, 2) + "notepad.exe");
    EXPECT_FALSE(outcome.started);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), outcome.error);
    ASSERT_TRUE(Start(scratch.Path().substr(0, 2) + "prog.exe").started);
    EXPECT_EQ(1u, StartsOf(program).size());
}

// ---- starts that fail ----

TEST_F(ProcessesApi, StartsThatCanNotBeMadeSayWhy) {
    std::string text = scratch.AddFile("Dir\\File.txt");
    std::string program = scratch.AddProgram("Dir\\prog.exe");
    struct Case {
        std::string commandLine;
        DWORD error;
    };
    const std::vector<Case> cases = {
        {scratch.At("Dir\\missing.exe"), ERROR_FILE_NOT_FOUND},
        {scratch.At("Dir\\missing.exe -x"), ERROR_FILE_NOT_FOUND},
        {Quoted(scratch.At("Dir\\missing.exe")), ERROR_FILE_NOT_FOUND},
        // Wine says "file not found" for a missing folder too.
        {scratch.At("NoDir\\missing.exe"), ERROR_FILE_NOT_FOUND},
        {Quoted(scratch.At("NoDir\\missing.exe")) + " -x", ERROR_FILE_NOT_FOUND},
        {text, ERROR_BAD_EXE_FORMAT},
        {text + " argument", ERROR_BAD_EXE_FORMAT},
        {scratch.At("Dir"), ERROR_FILE_NOT_FOUND},
        {scratch.At("Dir\\"), ERROR_FILE_NOT_FOUND},
        {"", ERROR_FILE_NOT_FOUND},
        {"   ", ERROR_FILE_NOT_FOUND},
        {"  " + program, ERROR_FILE_NOT_FOUND},  // leading blanks are part of the name
        {"\"" + program, ERROR_FILE_NOT_FOUND},  // a quote that never closes
        {"\"\"", ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        Outcome outcome = Start(c.commandLine);
        EXPECT_FALSE(outcome.started) << "[" << c.commandLine << "]";
        EXPECT_EQ(c.error, outcome.error) << "[" << c.commandLine << "]";
    }
    EXPECT_TRUE(StartsOf(program).empty());
}

// ---- the directory the new process starts in ----

TEST_F(ProcessesApi, AGivenCurrentDirectoryIsTheNewProcesssAndMustBeAFolder) {
    std::string program = scratch.AddProgram("prog.exe");
    std::string folder = scratch.AddFolder("Work");
    std::string text = scratch.AddFile("T.txt");
    ASSERT_TRUE(Start(program, folder.c_str()).started);
    std::vector<ObservedStart> starts = StartsOf(program);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(folder, starts[0].currentDirectory);
    for (const std::string& bad : {scratch.At("missing"), text}) {
        Outcome outcome = Start(program, bad.c_str());
        EXPECT_FALSE(outcome.started) << bad;
        EXPECT_EQ(static_cast<DWORD>(ERROR_DIRECTORY), outcome.error) << bad;
    }
}

// ---- handles ----

TEST_F(ProcessesApi, TheHandlesOfAStartCloseOnceEach) {
    std::string program = scratch.AddProgram("prog.exe");
    std::string commandLine = program;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    EXPECT_NE(nullptr, process.hProcess);
    EXPECT_NE(nullptr, process.hThread);
    EXPECT_NE(0u, process.dwProcessId);
    HANDLE processHandle = process.hProcess;
    support::FinishStart(process);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(CloseHandle(processHandle));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

TEST_F(ProcessesApi, BadHandlesAreRefused) {
    HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x12344));
    for (HANDLE handle : {static_cast<HANDLE>(nullptr), bogus}) {
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(CloseHandle(handle));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    }
    SetLastError(0xdeadbeef);
    EXPECT_EQ(WAIT_FAILED, WaitForInputIdle(bogus, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

// ---- named mutexes: how a second instance is recognised ----

class NamedMutexes : public support::FreshSystem {
protected:
    struct Created {
        HANDLE handle;
        DWORD error;
    };
    Created Make(const std::string& name) {
        SetLastError(0xdeadbeef);
        HANDLE handle = CreateMutexA(nullptr, FALSE, name.c_str());
        DWORD error = GetLastError();
        if (handle != nullptr) handles.push_back(handle);
        return Created{handle, error};
    }
    void TearDown() override {
        for (HANDLE handle : handles) CloseHandle(handle);
    }
    std::string name = "QuellmarStarterTests.Mutex." + support::UniqueName();
    std::vector<HANDLE> handles;
};

TEST_F(NamedMutexes, TheSecondCreateOfANameGivesANewHandleAndAlreadyExists) {
    Created first = Make(name);
    ASSERT_NE(nullptr, first.handle);
    EXPECT_EQ(0u, first.error);
    Created second = Make(name);
    ASSERT_NE(nullptr, second.handle);
    EXPECT_NE(first.handle, second.handle);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), second.error);
}

TEST_F(NamedMutexes, NamesKeepTheirCaseAndLocalIsTheSessionsOwnNamespace) {
    ASSERT_NE(nullptr, Make(name).handle);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), Make("Local\\" + name).error);
    EXPECT_EQ(0u, Make(name + "X").error);
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    EXPECT_EQ(0u, Make(upper).error);
    EXPECT_EQ(0u, Make("Global\\" + name).error);
}

TEST_F(NamedMutexes, ANameIsFreeAgainWhenEveryHandleIsClosed) {
    Created first = Make(name);
    Created second = Make(name);
    ASSERT_NE(nullptr, second.handle);
    EXPECT_TRUE(CloseHandle(first.handle));
    EXPECT_TRUE(CloseHandle(second.handle));
    handles.clear();
    EXPECT_EQ(0u, Make(name).error);
}

TEST_F(NamedMutexes, ABackslashOutsideANamespaceIsAMissingPathAndNoNameIsFine) {
    Created bad = Make("no\\such\\" + name);
    EXPECT_EQ(nullptr, bad.handle);
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), bad.error);
    SetLastError(0xdeadbeef);
    HANDLE unnamed = CreateMutexA(nullptr, FALSE, nullptr);
    ASSERT_NE(nullptr, unnamed);
    EXPECT_EQ(0u, GetLastError());
    EXPECT_TRUE(CloseHandle(unnamed));
}

TEST(LastError, SetLastErrorIsWhatGetLastErrorGives) {
    for (DWORD value : {0u, 5u, 0xdeadbeefu}) {
        SetLastError(value);
        EXPECT_EQ(value, GetLastError());
    }
}

}  // namespace
