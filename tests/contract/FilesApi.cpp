// Files, folders, the current directory, the program's own path and the
// Windows directory, as the starter uses them, checked against the
// simulation and, under Wine, against the real kernel32. Each test works in
// a scratch folder of its own.
#include "platform/Win32Api.h"

#include "support/FreshSystem.h"
#include "support/ScratchFolder.h"

#ifndef _WIN32
#include "platform/sim/SimSystem.h"
#endif

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

namespace {

class FilesApi : public support::FreshSystem {
protected:
    FilesApi() {
        folder = scratch.AddFolder("Dir");
        file = scratch.AddFile("Dir\\File.txt");
    }

    // The attributes, or the error when there are none.
    struct Answer {
        DWORD attributes;
        DWORD error;
    };
    static Answer AttributesOf(const std::string& path) {
        SetLastError(0xdeadbeef);
        DWORD attributes = GetFileAttributesA(path.c_str());
        return Answer{attributes, attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0};
    }
    static bool IsFolder(const std::string& path) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    static bool IsFile(const std::string& path) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    static std::string Upper(std::string text) {
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }

    support::ScratchFolder scratch;
    std::string folder;
    std::string file;
};

// ---- GetFileAttributesA ----

TEST_F(FilesApi, FoldersAndFilesAreToldApartByTheDirectoryBit) {
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_TRUE(IsFile(file));
    EXPECT_TRUE(IsFolder(scratch.Path().substr(0, 3)));  // the drive's root, "C:\"
}

TEST_F(FilesApi, HiddenSystemAndReadOnlyFilesShowThoseBits) {
    struct Case {
        const char* name;
        DWORD attributes;
    };
    for (Case c : {Case{"hidden.txt", FILE_ATTRIBUTE_HIDDEN}, Case{"system.txt", FILE_ATTRIBUTE_SYSTEM},
                   Case{"readonly.txt", FILE_ATTRIBUTE_READONLY},
                   Case{"both.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}}) {
        std::string path = scratch.AddFile(c.name, c.attributes | FILE_ATTRIBUTE_ARCHIVE);
        Answer answer = AttributesOf(path);
        EXPECT_EQ(c.attributes | FILE_ATTRIBUTE_ARCHIVE, answer.attributes) << c.name;
    }
}

TEST_F(FilesApi, NamesIgnoreCase) {
    EXPECT_TRUE(IsFile(Upper(file)));
    EXPECT_TRUE(IsFolder(Upper(folder)));
}

TEST_F(FilesApi, AClosingBackslashFitsAFolderButNotAFile) {
    EXPECT_TRUE(IsFolder(folder + "\\"));
    EXPECT_TRUE(IsFolder(folder + "\\\\"));
    Answer answer = AttributesOf(file + "\\");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, answer.attributes);
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), answer.error);
}

TEST_F(FilesApi, AMissingNameIsFileNotFoundAndAMissingFolderOnTheWayIsPathNotFound) {
    struct Case {
        std::string path;
        DWORD error;
    };
    for (const Case& c : {Case{scratch.At("Dir\\missing.txt"), ERROR_FILE_NOT_FOUND},
                          Case{scratch.At("NoDir"), ERROR_FILE_NOT_FOUND},
                          Case{scratch.At("NoDir\\"), ERROR_FILE_NOT_FOUND},
                          Case{scratch.At("NoDir\\missing.txt"), ERROR_PATH_NOT_FOUND},
                          Case{scratch.At("Dir\\File.txt\\below"), ERROR_PATH_NOT_FOUND},
                          Case{"", ERROR_PATH_NOT_FOUND}}) {
        Answer answer = AttributesOf(c.path);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, answer.attributes) << c.path;
        EXPECT_EQ(c.error, answer.error) << c.path;
    }
}

TEST_F(FilesApi, WildcardsAndForbiddenCharactersAreInvalidNames) {
    for (const char* name : {"*.txt", "Fil?.txt", "a<b", "a>b", "a|b", "a\"b"}) {
        Answer answer = AttributesOf(scratch.At("Dir\\") + name);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, answer.attributes) << name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), answer.error) << name;
    }
}

TEST_F(FilesApi, PathsAreMadeFullAsWin32DoesIt) {
    // "/" for "\", "." and "..", doubled separators.
    EXPECT_TRUE(IsFile(scratch.Path() + "/Dir/File.txt"));
    EXPECT_TRUE(IsFile(scratch.Path() + "\\\\Dir\\File.txt"));
    EXPECT_TRUE(IsFile(scratch.At("Dir\\..\\Dir\\.\\File.txt")));
    // Trailing dots go from every level, trailing blanks from the last only.
    EXPECT_TRUE(IsFile(file + "."));
    EXPECT_TRUE(IsFile(file + " . ."));
    EXPECT_TRUE(IsFolder(folder + "."));
    EXPECT_TRUE(IsFile(scratch.At("Dir.\\File.txt")));
    Answer answer = AttributesOf(scratch.At("Dir \\File.txt"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), answer.error);
    // ".." stops at the root.
    EXPECT_TRUE(IsFolder(scratch.Path().substr(0, 3) + ".."));
}

TEST_F(FilesApi, RelativePathsStartAtTheCurrentDirectory) {
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    EXPECT_TRUE(IsFile("File.txt"));
    EXPECT_TRUE(IsFile(".\\File.txt"));
    EXPECT_TRUE(IsFolder("..\\Dir"));
    // "\name" starts at the current drive's root; "C:name" on the current
    // drive below the current directory.
    std::string belowRoot = folder.substr(2);
    EXPECT_TRUE(IsFolder(belowRoot));
    EXPECT_TRUE(IsFile(folder.substr(0, 2) + "File.txt"));
}

// ---- the current directory ----

TEST_F(FilesApi, TheCurrentDirectoryKeepsTheCaseItWasGivenButNoClosingBackslash) {
    std::string lowered = folder;
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_TRUE(SetCurrentDirectoryA((lowered + "\\").c_str()));
    EXPECT_EQ(lowered, CurrentDirectory());
    ASSERT_TRUE(SetCurrentDirectoryA((folder + ".").c_str()));
    EXPECT_EQ(folder, CurrentDirectory());
    std::string root = folder.substr(0, 3);
    ASSERT_TRUE(SetCurrentDirectoryA(root.c_str()));
    EXPECT_EQ(root, CurrentDirectory());
}

TEST_F(FilesApi, RelativeChangesOfTheCurrentDirectoryStartAtTheCurrentOne) {
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
    ASSERT_TRUE(SetCurrentDirectoryA("Dir"));
    EXPECT_EQ(folder, CurrentDirectory());
    ASSERT_TRUE(SetCurrentDirectoryA(".."));
    EXPECT_EQ(scratch.Path(), CurrentDirectory());
    ASSERT_TRUE(SetCurrentDirectoryA(".\\Dir\\..\\Dir\\"));
    EXPECT_EQ(folder, CurrentDirectory());
}

TEST_F(FilesApi, AFailedChangeLeavesTheCurrentDirectoryAndSaysWhy) {
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    struct Case {
        std::string path;
        DWORD error;
    };
    for (const Case& c : {Case{scratch.At("missing"), ERROR_FILE_NOT_FOUND},
                          Case{scratch.At("missing\\deeper"), ERROR_PATH_NOT_FOUND},
                          Case{file, ERROR_DIRECTORY}, Case{"", ERROR_INVALID_NAME}}) {
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(SetCurrentDirectoryA(c.path.c_str())) << c.path;
        EXPECT_EQ(c.error, GetLastError()) << c.path;
        EXPECT_EQ(folder, CurrentDirectory()) << c.path;
    }
}

TEST_F(FilesApi, GetCurrentDirectoryGivesTheSizeNeededWhenTheBufferIsSmall) {
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    DWORD needed = static_cast<DWORD>(folder.size() + 1);
    EXPECT_EQ(needed, GetCurrentDirectoryA(0, nullptr));
    char small[4] = {};
    EXPECT_EQ(needed, GetCurrentDirectoryA(sizeof small, small));
    std::string buffer(folder.size() + 1, 'x');
    EXPECT_EQ(needed - 1, GetCurrentDirectoryA(needed, &buffer[0]));
    EXPECT_STREQ(folder.c_str(), buffer.c_str());
}

// Win32 keeps one current directory per process: a drive-relative path on
// another drive starts at that drive's root, whatever was current there
// before.
TEST_F(FilesApi, ChangingToAnotherDriveMakesItCurrentAndForgetsTheFirst) {
#ifndef _WIN32
    sim::AddFolder("Z:\\tmp");
#else
    if (GetFileAttributesA("Z:\\tmp") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no second drive Z: here";
#endif
    std::string drive = folder.substr(0, 2);
    ASSERT_NE("Z:", Upper(drive));
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    ASSERT_TRUE(SetCurrentDirectoryA("Z:\\tmp"));
    EXPECT_EQ("Z:\\tmp", CurrentDirectory());
    EXPECT_TRUE(IsFolder("\\tmp"));
    Answer answer = AttributesOf(drive + "File.txt");  // would be the file if the folder were remembered
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, answer.attributes);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), answer.error);
    EXPECT_TRUE(IsFolder(drive + "windows"));
    ASSERT_TRUE(SetCurrentDirectoryA(drive.c_str()));
    EXPECT_EQ(drive + "\\", CurrentDirectory());
}

// ---- the program's own file, and the Windows directory ----

TEST_F(FilesApi, TheModuleFileNameIsTheProgramsFullPath) {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    ASSERT_GT(length, 4u);
    EXPECT_EQ(std::strlen(buffer), length);
    EXPECT_EQ(':', buffer[1]);
    EXPECT_EQ(".EXE", Upper(std::string(buffer + length - 4)));
    EXPECT_TRUE(IsFile(buffer));

    char again[MAX_PATH + 1] = {};
    EXPECT_EQ(length, GetModuleFileNameA(GetModuleHandleA(nullptr), again, sizeof again));
    EXPECT_STREQ(buffer, again);
}

TEST_F(FilesApi, ATooSmallBufferGetsAsMuchOfTheNameAsFitsWithoutAZero) {
    char full[MAX_PATH + 1] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, full, sizeof full), 4u);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(4u, GetModuleFileNameA(nullptr, buffer, 4));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0, std::memcmp(buffer, full, 4));
    EXPECT_EQ('x', buffer[4]);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(0u, GetModuleFileNameA(nullptr, buffer, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

TEST_F(FilesApi, TheModuleHandleIsFoundByTheProgramsFileName) {
    char full[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, full, sizeof full);
    std::string name = std::strrchr(full, '\\') + 1;
    HMODULE self = GetModuleHandleA(nullptr);
    ASSERT_NE(nullptr, self);
    EXPECT_EQ(self, GetModuleHandleA(name.c_str()));
    EXPECT_EQ(self, GetModuleHandleA(Upper(name).c_str()));
    // Without an extension the name means a DLL.
    SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, GetModuleHandleA(name.substr(0, name.size() - 4).c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

TEST_F(FilesApi, TheWindowsDirectoryHoldsExplorerAndSystem32Notepad) {
    char buffer[MAX_PATH + 1] = {};
    UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    ASSERT_GT(length, 2u);
    EXPECT_EQ(std::strlen(buffer), length);
    std::string windows(buffer, length);
    EXPECT_NE('\\', windows.back());
    EXPECT_TRUE(IsFolder(windows));
    EXPECT_TRUE(IsFile(windows + "\\explorer.exe"));
    EXPECT_TRUE(IsFile(windows + "\\system32\\notepad.exe"));
    char small[3] = {};
    EXPECT_EQ(length + 1, GetWindowsDirectoryA(small, sizeof small));
}

}  // namespace
