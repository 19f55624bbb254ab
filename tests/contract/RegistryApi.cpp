// The registry functions as the starter relies on them, checked against
// the simulation and, under Wine, against the real advapi32. Each test
// works in a scratch key of its own.
#include "platform/Win32Api.h"

#include "support/FreshSystem.h"
#include "support/RegistryRaw.h"
#include "support/ScratchKey.h"

#ifndef _WIN32
#include "platform/sim/SimSystem.h"
#endif

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using support::Bytes;
using support::ReadRaw;
using support::WriteRaw;

class RegistryApi : public support::FreshSystem {
protected:
    // Opens a path below the scratch key; the handle is closed by the fixture.
    HKEY Open(const std::string& relative, REGSAM access = KEY_READ) {
        HKEY key = nullptr;
        LSTATUS status = RegOpenKeyExA(scratch.Root(), scratch.Below(relative).c_str(), 0, access, &key);
        EXPECT_EQ(ERROR_SUCCESS, status) << relative;
        if (status == ERROR_SUCCESS) opened.push_back(key);
        return key;
    }
    HKEY Create(const std::string& relative, REGSAM access = KEY_ALL_ACCESS, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        LSTATUS status = RegCreateKeyExA(scratch.Root(), scratch.Below(relative).c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, access, nullptr, &key, disposition);
        EXPECT_EQ(ERROR_SUCCESS, status) << relative;
        if (status == ERROR_SUCCESS) opened.push_back(key);
        return key;
    }
    LSTATUS OpenStatus(const std::string& fullPath, REGSAM access = KEY_READ) {
        HKEY key = nullptr;
        LSTATUS status = RegOpenKeyExA(scratch.Root(), fullPath.c_str(), 0, access, &key);
        if (status == ERROR_SUCCESS) RegCloseKey(key);
        return status;
    }
    LSTATUS CreateStatus(const std::string& fullPath, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        LSTATUS status = RegCreateKeyExA(scratch.Root(), fullPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS, nullptr, &key, disposition);
        if (status == ERROR_SUCCESS) RegCloseKey(key);
        return status;
    }
    void TearDown() override {
        for (HKEY key : opened) RegCloseKey(key);
    }

    support::ScratchKey scratch;
    std::vector<HKEY> opened;
};

// ---- keys: opening, creating, deleting, and how paths are read ----

TEST_F(RegistryApi, OpeningAMissingKeyFailsWithFileNotFoundAndNoHandle) {
    HKEY key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(scratch.Root(), scratch.Below("missing").c_str(), 0, KEY_READ, &key));
    EXPECT_EQ(nullptr, key);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, OpenStatus(scratch.Below("missing\\deeper")));
}

TEST_F(RegistryApi, CreateMakesEveryMissingLevelAndTellsNewFromExisting) {
    DWORD disposition = 0;
    Create("a\\b\\c", KEY_ALL_ACCESS, &disposition);
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
    EXPECT_TRUE(support::KeyExists(scratch.Root(), scratch.Below("a")));
    EXPECT_TRUE(support::KeyExists(scratch.Root(), scratch.Below("a\\b")));
    Create("a\\b\\c", KEY_ALL_ACCESS, &disposition);
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    Create("a", KEY_ALL_ACCESS, &disposition);
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
}

TEST_F(RegistryApi, KeyNamesIgnoreCaseAndKeepTheCaseTheyWereMadeWith) {
    Create("MixedCase\\Sub");
    EXPECT_EQ(ERROR_SUCCESS, OpenStatus(scratch.Below("mixedcase\\SUB")));
    DWORD disposition = 0;
    Create("MIXEDCASE", KEY_ALL_ACCESS, &disposition);
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    // The stored name is the first one: the parent reports its longest
    // subkey name with the length of "Sub".
    HKEY parent = Open("MixedCase");
    DWORD subkeys = 0, longest = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(parent, nullptr, nullptr, nullptr, &subkeys, &longest, nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(1u, subkeys);
    EXPECT_EQ(3u, longest);
}

// The starter passes paths such as "Software\Quellmar\Starter\StartUp\":
// a closing "\" (or several, or a doubled one inside) names the same key.
TEST_F(RegistryApi, TrailingAndDoubledBackslashesNameTheSameKey) {
    DWORD disposition = 0;
    EXPECT_EQ(ERROR_SUCCESS, CreateStatus(scratch.Below("Starter\\StartUp\\"), &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
    EXPECT_EQ(ERROR_SUCCESS, CreateStatus(scratch.Below("Starter\\StartUp"), &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    EXPECT_EQ(ERROR_SUCCESS, CreateStatus(scratch.Below("Starter\\\\StartUp\\\\"), &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    EXPECT_EQ(ERROR_SUCCESS, OpenStatus(scratch.Below("Starter\\StartUp\\")));
    EXPECT_EQ(ERROR_SUCCESS, OpenStatus(scratch.Below("Starter\\\\StartUp")));

    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(scratch.Root(), scratch.Below("Starter\\StartUp\\").c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, OpenStatus(scratch.Below("Starter\\StartUp")));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyA(scratch.Root(), scratch.Below("Starter\\StartUp").c_str()));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(scratch.Root(), scratch.Below("Starter\\\\").c_str()));
    EXPECT_FALSE(support::KeyExists(scratch.Root(), scratch.Below("Starter")));
}

TEST_F(RegistryApi, ALeadingBackslashIsABadPath) {
    EXPECT_EQ(ERROR_BAD_PATHNAME, OpenStatus("\\" + scratch.Path()));
    EXPECT_EQ(ERROR_BAD_PATHNAME, CreateStatus("\\" + scratch.Below("x")));
    EXPECT_FALSE(support::KeyExists(scratch.Root(), scratch.Below("x")));
}

TEST_F(RegistryApi, DeleteRefusesKeysWithSubkeysAndMissingKeys) {
    Create("parent\\child");
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(scratch.Root(), scratch.Below("parent").c_str()));
    EXPECT_TRUE(support::KeyExists(scratch.Root(), scratch.Below("parent\\child")));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyA(scratch.Root(), scratch.Below("nothing").c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyA(scratch.Root(), scratch.Below("nothing\\deeper").c_str()));
    // A key with values but no subkeys goes, values and all.
    ASSERT_EQ(ERROR_SUCCESS, WriteRaw(scratch.Root(), scratch.Below("parent\\child"), "v", REG_SZ, Bytes("x")));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(scratch.Root(), scratch.Below("parent\\child").c_str()));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(scratch.Root(), scratch.Below("parent").c_str()));
}

TEST_F(RegistryApi, DeleteWithAnEmptyNameDeletesTheKeyItselfButNeverARoot) {
    HKEY self = Create("self");
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(self, ""));
    EXPECT_FALSE(support::KeyExists(scratch.Root(), scratch.Below("self")));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_CURRENT_USER, ""));
}

TEST_F(RegistryApi, DeleteTreeRemovesAKeyWithEverythingBelowIt) {
    Create("tree\\a\\b");
    Create("tree\\c");
    ASSERT_EQ(ERROR_SUCCESS, WriteRaw(scratch.Root(), scratch.Below("tree\\a"), "v", REG_SZ, Bytes("x")));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeA(scratch.Root(), scratch.Below("tree").c_str()));
    EXPECT_FALSE(support::KeyExists(scratch.Root(), scratch.Below("tree")));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteTreeA(scratch.Root(), scratch.Below("tree").c_str()));
}

TEST_F(RegistryApi, AKeyDeletedWhileOpenRefusesEverythingButClose) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(scratch.Root(), scratch.Below("gone").c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(scratch.Root(), scratch.Below("gone").c_str()));
    const BYTE data[] = "a";
    EXPECT_EQ(ERROR_KEY_DELETED, RegSetValueExA(key, "v", 0, REG_SZ, data, 2));
    DWORD size = 0;
    EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size));
    HKEY sub = nullptr;
    EXPECT_EQ(ERROR_KEY_DELETED, RegCreateKeyExA(key, "sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
}

// ---- handles ----

TEST_F(RegistryApi, OpeningWithAnEmptyNameGivesTheRootItselfOrANewHandle) {
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_READ, &root));
    EXPECT_EQ(HKEY_CURRENT_USER, root);
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(root));  // closing a root is allowed and changes nothing

    HKEY key = Create("k");
    HKEY again = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(key, "", 0, KEY_READ, &again));
    EXPECT_NE(key, again);
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(again));
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(key, nullptr, 0, KEY_READ, &again));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(again));
}

TEST_F(RegistryApi, BadHandlesAreRefused) {
    HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234560));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(bogus));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(nullptr));
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegOpenKeyExA(nullptr, "Software", 0, KEY_READ, &key));
    HKEY closed = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(scratch.Root(), scratch.Path().c_str(), 0, KEY_READ, &closed));
    ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(closed));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(closed));
}

TEST_F(RegistryApi, RegistryFunctionsLeaveTheLastErrorAlone) {
    SetLastError(0xdeadbeef);
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(scratch.Root(), scratch.Below("missing").c_str(), 0, KEY_READ, &key));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyA(scratch.Root(), scratch.Below("missing").c_str()));
    EXPECT_EQ(0xdeadbeefu, GetLastError());
}

// ---- access rights of a handle ----

TEST_F(RegistryApi, AReadHandleCanNotWriteValuesAndAWriteHandleCanNotReadThem) {
    ASSERT_EQ(ERROR_SUCCESS, WriteRaw(scratch.Root(), scratch.Path(), "v", REG_SZ, Bytes("x")));
    HKEY reader = Open("", KEY_READ);
    const BYTE data[] = "a";
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(reader, "w", 0, REG_SZ, data, 2));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueA(reader, "v"));
    HKEY writer = Open("", KEY_WRITE);
    DWORD size = 0;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(writer, "v", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_SUCCESS, ReadRaw(scratch.Root(), scratch.Path(), "v").status);
}

TEST_F(RegistryApi, SubkeysCanBeMadeAndDeletedThroughAReadHandle) {
    HKEY reader = Open("", KEY_READ);
    HKEY sub = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(reader, "sub", 0, nullptr, 0, KEY_WRITE, nullptr, &sub, nullptr));
    RegCloseKey(sub);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(reader, "sub"));
    EXPECT_FALSE(support::KeyExists(scratch.Root(), scratch.Below("sub")));
}

// ---- values: names, sizes, buffers ----

TEST_F(RegistryApi, ValueNamesIgnoreCaseAndNullOrEmptyNamesTheDefaultValue) {
    HKEY key = Create("values");
    const BYTE text[] = "abc";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Name", 0, REG_SZ, text, 4));
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "NAME", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(4u, size);

    const BYTE fallback[] = "d";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, nullptr, 0, REG_SZ, fallback, 2));
    BYTE buffer[8] = {};
    size = sizeof buffer;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "", nullptr, nullptr, buffer, &size));
    EXPECT_STREQ("d", reinterpret_cast<char*>(buffer));

    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(key, "name"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key, "name"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key, "name", nullptr, nullptr, nullptr, &size));
}

TEST_F(RegistryApi, QueryGivesTypeAndSizeAndAsksForMoreRoomWhenTheBufferIsSmall) {
    HKEY key = Create("values");
    const BYTE text[] = "abc";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "s", 0, REG_SZ, text, 4));

    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "s", nullptr, &type, nullptr, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(4u, size);

    BYTE buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    size = 2;
    type = 0;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(key, "s", nullptr, &type, buffer, &size));
    EXPECT_EQ(4u, size);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);

    size = 4;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "s", nullptr, &type, buffer, &size));
    EXPECT_EQ(4u, size);
    EXPECT_EQ(0, std::memcmp(buffer, "abc", 4));

    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExA(key, "s", nullptr, &type, buffer, nullptr));
}

TEST_F(RegistryApi, AValueOfOneByteMoreThanTheBufferCanNotBeRead) {
    std::vector<BYTE> big(128001, 'a');
    ASSERT_EQ(ERROR_SUCCESS, WriteRaw(scratch.Root(), scratch.Path(), "big", REG_BINARY, big));
    HKEY key = Open("");
    std::vector<BYTE> buffer(128000);
    DWORD size = 128000;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(key, "big", nullptr, nullptr, buffer.data(), &size));
    EXPECT_EQ(128001u, size);
}

TEST_F(RegistryApi, EveryTypeKeepsItsBytesExactly) {
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const std::vector<Case> cases = {
        {"binary", REG_BINARY, {0x00, 0x0A, 0xFF}},
        {"empty binary", REG_BINARY, {}},
        {"short dword", REG_DWORD, {0x07, 0x00}},
        {"dword", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}},
        {"expand", REG_EXPAND_SZ, Bytes(std::string("%windir%\\x") + '\0')},
        {"empty text", REG_SZ, {}},
        {"odd type", 1234, {'q'}},
        {"qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(ERROR_SUCCESS, WriteRaw(scratch.Root(), scratch.Path(), c.name, c.type, c.data)) << c.name;
        support::RawValue value = ReadRaw(scratch.Root(), scratch.Path(), c.name);
        EXPECT_EQ(ERROR_SUCCESS, value.status) << c.name;
        EXPECT_EQ(c.type, value.type) << c.name;
        EXPECT_EQ(c.data, value.data) << c.name;
    }
}

// Windows' own care for text written without its zero, which callers meet
// when they count a string's characters only.
TEST_F(RegistryApi, TextWithoutItsZeroGetsTheZeroCountedWhenItFollowsTheData) {
    HKEY key = Create("values");
    const char terminated[] = "ab";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "counted", 0, REG_SZ, reinterpret_cast<const BYTE*>(terminated), 2));
    DWORD size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "counted", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(3u, size);

    const char longer[] = "abcd";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "cut", 0, REG_SZ, reinterpret_cast<const BYTE*>(longer), 2));
    BYTE buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    size = sizeof buffer;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "cut", nullptr, nullptr, buffer, &size));
    EXPECT_EQ(2u, size);
    // The buffer gets a zero behind the text, though the size stays 2.
    EXPECT_EQ(0, std::memcmp(buffer, "ab\0x", 4));

    // Binary data gets neither.
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "bin", 0, REG_BINARY, reinterpret_cast<const BYTE*>(terminated), 2));
    std::memset(buffer, 'x', sizeof buffer);
    size = sizeof buffer;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "bin", nullptr, nullptr, buffer, &size));
    EXPECT_EQ(2u, size);
    EXPECT_EQ(0, std::memcmp(buffer, "abx", 3));
}

TEST_F(RegistryApi, QueryInfoCountsSubkeysAndValues) {
    Create("info\\one");
    Create("info\\two");
    ASSERT_EQ(ERROR_SUCCESS, WriteRaw(scratch.Root(), scratch.Below("info"), "v1", REG_SZ, Bytes("abcdef")));
    ASSERT_EQ(ERROR_SUCCESS, WriteRaw(scratch.Root(), scratch.Below("info"), "", REG_SZ, Bytes("x")));
    support::KeyContents contents = support::ContentsOf(scratch.Root(), scratch.Below("info"));
    EXPECT_EQ(2u, contents.subkeys);
    EXPECT_EQ(2u, contents.values);
    contents = support::ContentsOf(scratch.Root(), scratch.Below("info\\one"));
    EXPECT_EQ(0u, contents.subkeys);
    EXPECT_EQ(0u, contents.values);
}

// ---- a tree the user may only read (HKEY_LOCAL_MACHINE for a standard user) ----

TEST_F(RegistryApi, AReadOnlyTreeCanBeReadButNotChanged) {
#ifdef _WIN32
    GTEST_SKIP() << "Wine runs every process elevated: HKEY_LOCAL_MACHINE is always writable there";
#else
    support::ScratchKey machine(HKEY_LOCAL_MACHINE);
    ASSERT_EQ(ERROR_SUCCESS, WriteRaw(HKEY_LOCAL_MACHINE, machine.Path(), "v", REG_SZ, Bytes("x")));
    ASSERT_EQ(ERROR_SUCCESS, WriteRaw(HKEY_LOCAL_MACHINE, machine.Below("sub"), "v", REG_SZ, Bytes("x")));
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, false);

    HKEY key = nullptr;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(HKEY_LOCAL_MACHINE, machine.Path().c_str(), 0, KEY_WRITE, &key));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(HKEY_LOCAL_MACHINE, machine.Path().c_str(), 0, KEY_SET_VALUE, &key));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegCreateKeyExA(HKEY_LOCAL_MACHINE, machine.Below("new\\deeper").c_str(), 0, nullptr,
                                                   0, KEY_WRITE, nullptr, &key, nullptr));
    EXPECT_FALSE(support::KeyExists(HKEY_LOCAL_MACHINE, machine.Below("new")));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegCreateKeyExA(HKEY_LOCAL_MACHINE, machine.Path().c_str(), 0, nullptr, 0,
                                                   KEY_WRITE, nullptr, &key, nullptr));
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, machine.Path().c_str(), 0, nullptr, 0, KEY_READ,
                                             nullptr, &key, &disposition));
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    RegCloseKey(key);

    const BYTE data[] = "y";
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(HKEY_LOCAL_MACHINE, "v", 0, REG_SZ, data, 2));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueA(HKEY_LOCAL_MACHINE, "v"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_LOCAL_MACHINE, machine.Below("sub").c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyA(HKEY_LOCAL_MACHINE, machine.Below("missing").c_str()));

    support::RawValue value = ReadRaw(HKEY_LOCAL_MACHINE, machine.Below("sub"), "v");
    EXPECT_EQ(ERROR_SUCCESS, value.status);
    EXPECT_EQ(Bytes("x"), value.data);

    // The other trees stay writable.
    EXPECT_EQ(ERROR_SUCCESS, WriteRaw(scratch.Root(), scratch.Path(), "v", REG_SZ, Bytes("x")));
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, true);
#endif
}

}  // namespace
