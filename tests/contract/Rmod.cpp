// Rmod, the starter's registry module, against the simulated registry and,
// under Wine, the real one. Each test works in a scratch key of its own;
// values are planted and inspected through the registry API itself.
#include "registry/Rmod.h"

#include "support/FreshSystem.h"
#include "support/RegistryRaw.h"
#include "support/ScratchKey.h"

#ifndef _WIN32
#include "platform/sim/SimSystem.h"
#endif

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using support::Bytes;
using support::ReadRaw;
using support::WriteRaw;

class RmodTest : public support::FreshSystem {
protected:
    // Plants a value with exactly these bytes in the scratch key.
    void Plant(const std::string& name, DWORD type, const std::vector<BYTE>& data) {
        ASSERT_EQ(ERROR_SUCCESS, WriteRaw(root, path, name, type, data)) << name;
    }
    std::string Query(const std::string& name) { return Rmod::QueryRegistryValue(root, path, name); }

    support::ScratchKey scratch;
    HKEY root = scratch.Root();
    std::string path = scratch.Path();
};

// ---- QueryRegistryValue: failure and the status flag ----

TEST_F(RmodTest, AMissingKeyOrValueGivesEmptyTextAndSetsTheFlagUntilTheNextGoodQuery) {
    Plant("present", REG_SZ, Bytes(std::string("yes") + '\0'));

    Rmod::RegistryQueryFailed = false;
    EXPECT_EQ("", Rmod::QueryRegistryValue(root, scratch.Below("missing"), "present"));
    EXPECT_TRUE(Rmod::RegistryQueryFailed);

    EXPECT_EQ("yes", Query("present"));
    EXPECT_FALSE(Rmod::RegistryQueryFailed);

    EXPECT_EQ("", Query("absent"));
    EXPECT_TRUE(Rmod::RegistryQueryFailed);

    EXPECT_EQ("yes", Query("PRESENT"));
    EXPECT_FALSE(Rmod::RegistryQueryFailed);
}

TEST_F(RmodTest, AnEmptyValueIsTextNotFailure) {
    Plant("zero", REG_SZ, {0});
    Plant("nothing", REG_BINARY, {});
    EXPECT_EQ("", Query("zero"));
    EXPECT_FALSE(Rmod::RegistryQueryFailed);
    EXPECT_EQ("", Query("nothing"));
    EXPECT_FALSE(Rmod::RegistryQueryFailed);
}

TEST_F(RmodTest, AnEmptyValueNameReadsTheDefaultValue) {
    Plant("", REG_SZ, Bytes(std::string("default") + '\0'));
    Plant("named", REG_SZ, Bytes(std::string("other") + '\0'));
    EXPECT_EQ("default", Query(""));
    EXPECT_FALSE(Rmod::RegistryQueryFailed);
}

TEST_F(RmodTest, TheBufferHolds128000BytesAndNotOneMore) {
    Plant("fits", REG_SZ, std::vector<BYTE>(128000, 'a'));
    Plant("too big", REG_SZ, std::vector<BYTE>(128001, 'a'));
    EXPECT_EQ(std::string(128000, 'a'), Query("fits"));
    EXPECT_FALSE(Rmod::RegistryQueryFailed);
    EXPECT_EQ("", Query("too big"));
    EXPECT_TRUE(Rmod::RegistryQueryFailed);
}

TEST_F(RmodTest, AKeyPathWithAClosingBackslashNamesTheSameKey) {
    Plant("v", REG_SZ, Bytes(std::string("same") + '\0'));
    EXPECT_EQ("same", Rmod::QueryRegistryValue(root, path + "\\", "v"));
    EXPECT_FALSE(Rmod::RegistryQueryFailed);
}

// ---- QueryRegistryValue: data to text by type ----

TEST_F(RmodTest, TextTypesGiveTheBytesBeforeTheFirstZero) {
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"sz", REG_SZ, Bytes(std::string("hello") + '\0'), "hello"},
        {"sz without zero", REG_SZ, Bytes("abc"), "abc"},
        {"multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}, "a"},
        {"expand", REG_EXPAND_SZ, Bytes(std::string("%SystemRoot%\\x") + '\0'), "%SystemRoot%\\x"},
        {"none", REG_NONE, {'a', 'b', 0, 'c'}, "ab"},
        {"odd type", 1234, {'q', 'r'}, "qr"},
        {"ansi", REG_SZ, {'c', 0xE9, 0}, std::string("c\xE9")},
        {"qword", REG_QWORD, {'A', 'B', 0, 0, 0, 0, 0, 1}, "AB"},
    };
    for (const Case& c : cases) {
        Plant(c.name, c.type, c.data);
        EXPECT_EQ(c.text, Query(c.name)) << c.name;
        EXPECT_FALSE(Rmod::RegistryQueryFailed) << c.name;
    }
}

TEST_F(RmodTest, DwordsGiveSignedDecimalAndShortDataCountsMissingBytesAsZero) {
    struct Case {
        const char* name;
        std::vector<BYTE> data;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"zero", {0, 0, 0, 0}, "0"},
        {"seven", {7, 0, 0, 0}, "7"},
        {"minus one", {0xFF, 0xFF, 0xFF, 0xFF}, "-1"},
        {"lowest", {0, 0, 0, 0x80}, "-2147483648"},
        {"highest", {0xFF, 0xFF, 0xFF, 0x7F}, "2147483647"},
        {"two bytes", {0x07, 0x01}, "263"},
        {"no bytes", {}, "0"},
        {"more than four", {1, 0, 0, 0, 9, 9}, "1"},
    };
    for (const Case& c : cases) {
        Plant(c.name, REG_DWORD, c.data);
        EXPECT_EQ(c.text, Query(c.name)) << c.name;
        EXPECT_FALSE(Rmod::RegistryQueryFailed) << c.name;
    }
}

TEST_F(RmodTest, BinaryGivesUpperCaseHexPairsWithOneBlankBetween) {
    struct Case {
        const char* name;
        std::vector<BYTE> data;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"three", {0x00, 0x0A, 0xFF}, "00 0A FF"},
        {"other three", {0x01, 0xA0, 0xFF}, "01 A0 FF"},
        {"one", {0x5C}, "5C"},
        {"empty", {}, ""},
    };
    for (const Case& c : cases) {
        Plant(c.name, REG_BINARY, c.data);
        EXPECT_EQ(c.text, Query(c.name)) << c.name;
    }
}

// ---- RegistryDataToText on its own ----

TEST(RegistryDataToText, ConvertsByTypeWithoutReadingBeyondTheLength) {
    const BYTE data[] = {'x', 'y', 'z', 0x7F};
    EXPECT_EQ("xy", Rmod::RegistryDataToText(REG_SZ, data, 2));
    EXPECT_EQ("78 79", Rmod::RegistryDataToText(REG_BINARY, data, 2));
    EXPECT_EQ("31096", Rmod::RegistryDataToText(REG_DWORD, data, 2));
    EXPECT_EQ("2138732920", Rmod::RegistryDataToText(REG_DWORD, data, 4));  // 0x7F7A7978
    EXPECT_EQ("", Rmod::RegistryDataToText(REG_SZ, nullptr, 5));
    EXPECT_EQ("0", Rmod::RegistryDataToText(REG_DWORD, nullptr, 5));
}

// ---- SetRegistryValue and the write helpers ----

TEST_F(RmodTest, TextIsWrittenAsRegSzWithItsZeroCounted) {
    Rmod::SetRegistryValue(root, path, "text", std::string("\"C:\\dir\\QuellmarStarter.exe\""), REG_SZ);
    support::RawValue raw = ReadRaw(root, path, "text");
    ASSERT_EQ(ERROR_SUCCESS, raw.status);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), raw.type);
    EXPECT_EQ(Bytes(std::string("\"C:\\dir\\QuellmarStarter.exe\"") + '\0'), raw.data);
    EXPECT_EQ("\"C:\\dir\\QuellmarStarter.exe\"", Query("text"));

    Rmod::SetRegistryValue(root, path, "empty", std::string(), REG_SZ);
    EXPECT_EQ(std::vector<BYTE>{0}, ReadRaw(root, path, "empty").data);
}

TEST_F(RmodTest, NumbersAreWrittenAsRegSzInDecimal) {
    Rmod::SetRegistryValue(root, path, "negative", -5, REG_SZ);
    Rmod::SetRegistryValue(root, path, "positive", 31, REG_SZ);
    EXPECT_EQ(Bytes(std::string("-5") + '\0'), ReadRaw(root, path, "negative").data);
    EXPECT_EQ("31", Query("positive"));
}

TEST_F(RmodTest, BinaryIsWrittenFromTextByteByByteWithoutAZero) {
    Rmod::SetRegistryValue(root, path, "ab", std::string("AB"), REG_BINARY);
    support::RawValue raw = ReadRaw(root, path, "ab");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), raw.type);
    EXPECT_EQ(Bytes("AB"), raw.data);
    EXPECT_EQ("41 42", Query("ab"));

    Rmod::SetRegistryValue(root, path, "empty", std::string(), REG_BINARY);
    raw = ReadRaw(root, path, "empty");
    EXPECT_EQ(ERROR_SUCCESS, raw.status);
    EXPECT_TRUE(raw.data.empty());
}

TEST_F(RmodTest, DwordsAreWrittenAsFourLittleEndianBytes) {
    Rmod::SetRegistryValue(root, path, "minus one", -1, REG_DWORD);
    Rmod::SetRegistryValue(root, path, "from text", std::string("263"), REG_DWORD);
    support::RawValue raw = ReadRaw(root, path, "minus one");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), raw.type);
    EXPECT_EQ((std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF}), raw.data);
    EXPECT_EQ("-1", Query("minus one"));
    EXPECT_EQ((std::vector<BYTE>{0x07, 0x01, 0, 0}), ReadRaw(root, path, "from text").data);
}

TEST_F(RmodTest, TextThatIsNoNumberWritesNoDword) {
    for (const char* text : {"", "abc", "12x", "4294967296", "-2147483649", " 7"}) {
        Rmod::SetRegistryValue(root, path, text, std::string(text), REG_DWORD);
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadRaw(root, path, text).status) << "[" << text << "]";
    }
    Rmod::SetRegistryValue(root, path, "lowest", std::string("-2147483648"), REG_DWORD);
    EXPECT_EQ("-2147483648", Query("lowest"));
}

TEST_F(RmodTest, OtherTypeCodesWriteNothing) {
    Plant("kept", REG_SZ, Bytes(std::string("old") + '\0'));
    for (DWORD type : std::vector<DWORD>{DWORD{REG_EXPAND_SZ}, DWORD{REG_MULTI_SZ}, DWORD{REG_NONE}, DWORD{REG_QWORD}}) {
        Rmod::SetRegistryValue(root, path, "new", std::string("x"), type);
        Rmod::SetRegistryValue(root, path, "kept", std::string("x"), type);
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadRaw(root, path, "new").status) << type;
        EXPECT_EQ("old", Query("kept")) << type;
    }
    // The key is made before the type is looked at, so a missing one is
    // there afterwards, empty.
    Rmod::SetRegistryValue(root, scratch.Below("made"), "v", std::string("x"), REG_EXPAND_SZ);
    EXPECT_TRUE(support::KeyExists(root, scratch.Below("made")));
    EXPECT_EQ(0u, support::ContentsOf(root, scratch.Below("made")).values);
}

TEST_F(RmodTest, SetCreatesEveryMissingLevelOfTheKey) {
    std::string deep = scratch.Below("Software\\Quellmar\\Starter\\StartUp\\");
    Rmod::SetRegistryValue(root, deep, "auto start target program", std::string("True"), REG_SZ);
    EXPECT_EQ("True", Rmod::QueryRegistryValue(root, scratch.Below("Software\\Quellmar\\Starter\\StartUp"),
                                               "auto start target program"));
    EXPECT_FALSE(Rmod::RegistryQueryFailed);
}

TEST_F(RmodTest, SetReplacesAValueOfAnotherType) {
    Plant("v", REG_DWORD, {1, 0, 0, 0});
    Rmod::SetRegistryValue(root, path, "v", std::string("text now"), REG_SZ);
    support::RawValue raw = ReadRaw(root, path, "v");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), raw.type);
    EXPECT_EQ("text now", Query("v"));
}

TEST_F(RmodTest, TheWriteHelpersGiveThePlatformsStatus) {
    HKEY writer = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root, path.c_str(), 0, KEY_WRITE, &writer));
    EXPECT_EQ(ERROR_SUCCESS, Rmod::WriteRegistryString(writer, "s", REG_SZ, "x"));
    EXPECT_EQ(ERROR_SUCCESS, Rmod::WriteRegistryDword(writer, "d", REG_DWORD, 9));
    EXPECT_EQ(ERROR_SUCCESS, Rmod::WriteRegistryBinary(writer, "b", REG_BINARY, "z"));
    RegCloseKey(writer);
    EXPECT_EQ("x", Query("s"));
    EXPECT_EQ("9", Query("d"));
    EXPECT_EQ("7A", Query("b"));

    HKEY reader = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &reader));
    EXPECT_EQ(ERROR_ACCESS_DENIED, Rmod::WriteRegistryString(reader, "s2", REG_SZ, "x"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, Rmod::WriteRegistryDword(reader, "d2", REG_DWORD, 1));
    EXPECT_EQ(ERROR_ACCESS_DENIED, Rmod::WriteRegistryBinary(reader, "b2", REG_BINARY, "z"));
    RegCloseKey(reader);
}

// ---- keys: create, delete, and what the companion list relies on ----

TEST_F(RmodTest, CreateMakesEveryLevelAndKeepsWhatAnExistingKeyHolds) {
    Rmod::CreateRegistryKey(root, scratch.Below("a\\b\\c\\"));
    EXPECT_TRUE(support::KeyExists(root, scratch.Below("a\\b\\c")));

    Plant("v", REG_SZ, Bytes(std::string("kept") + '\0'));
    Rmod::CreateRegistryKey(root, scratch.Below("a"));
    Rmod::CreateRegistryKey(root, path);
    EXPECT_EQ("kept", Query("v"));
    EXPECT_TRUE(support::KeyExists(root, scratch.Below("a\\b\\c")));
}

TEST_F(RmodTest, DeleteValueRemovesItAndAMissingValueOrKeyChangesNothing) {
    Plant("v", REG_SZ, Bytes(std::string("x") + '\0'));
    Plant("w", REG_SZ, Bytes(std::string("y") + '\0'));
    Rmod::DeleteRegistryValue(root, path, "V");
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadRaw(root, path, "v").status);
    Rmod::DeleteRegistryValue(root, path, "v");
    Rmod::DeleteRegistryValue(root, scratch.Below("missing"), "w");
    EXPECT_FALSE(support::KeyExists(root, scratch.Below("missing")));
    EXPECT_EQ("y", Query("w"));
    EXPECT_EQ(1u, support::ContentsOf(root, path).values);
}

TEST_F(RmodTest, DeleteKeyRemovesAKeyWithValuesButNotOneWithSubkeys) {
    std::string list = scratch.Below("KZHalvane\\");
    Rmod::SetRegistryValue(root, list, "count", 5, REG_SZ);
    Rmod::DeleteRegistryKey(root, list);
    EXPECT_FALSE(support::KeyExists(root, scratch.Below("KZHalvane")));
    Rmod::DeleteRegistryKey(root, list);  // a missing key: nothing happens

    Rmod::CreateRegistryKey(root, scratch.Below("parent\\child"));
    Rmod::DeleteRegistryKey(root, scratch.Below("parent"));
    EXPECT_TRUE(support::KeyExists(root, scratch.Below("parent\\child")));
}

TEST_F(RmodTest, DeleteThenCreateLeavesAnEmptyKey) {
    std::string list = scratch.Below("KZHalvane\\");
    for (const char* name : {"browse application", "name 1", "type 1"})
        Rmod::SetRegistryValue(root, list, name, std::string("x"), REG_SZ);
    ASSERT_EQ(3u, support::ContentsOf(root, list).values);
    Rmod::DeleteRegistryKey(root, list);
    Rmod::CreateRegistryKey(root, list);
    EXPECT_TRUE(support::KeyExists(root, list));
    support::KeyContents contents = support::ContentsOf(root, list);
    EXPECT_EQ(0u, contents.values);
    EXPECT_EQ(0u, contents.subkeys);
}

// ---- no key handle outlives a call (the simulation counts them) ----

TEST_F(RmodTest, NoOperationLeavesAKeyHandleOpen) {
#ifdef _WIN32
    GTEST_SKIP() << "only the simulation counts open key handles";
#else
    std::size_t before = sim::OpenKeyCount();
    Rmod::SetRegistryValue(root, scratch.Below("new\\deeper"), "v", std::string("x"), REG_SZ);
    Rmod::SetRegistryValue(root, path, "d", 3, REG_DWORD);
    Rmod::SetRegistryValue(root, path, "n", std::string("x"), REG_EXPAND_SZ);
    Rmod::QueryRegistryValue(root, scratch.Below("new\\deeper"), "v");
    Rmod::QueryRegistryValue(root, scratch.Below("new\\deeper"), "missing");
    Rmod::QueryRegistryValue(root, scratch.Below("missing"), "v");
    Rmod::CreateRegistryKey(root, scratch.Below("other"));
    Rmod::DeleteRegistryValue(root, path, "d");
    Rmod::DeleteRegistryValue(root, scratch.Below("missing"), "d");
    Rmod::DeleteRegistryKey(root, scratch.Below("other"));
    EXPECT_EQ(before, sim::OpenKeyCount());
#endif
}

// ---- HKEY_LOCAL_MACHINE read-only, as for a standard user ----

TEST_F(RmodTest, AReadOnlyTreeIsReadAndEveryWriteFailsSilently) {
#ifdef _WIN32
    GTEST_SKIP() << "Wine runs every process elevated: HKEY_LOCAL_MACHINE is always writable there";
#else
    support::ScratchKey machine(HKEY_LOCAL_MACHINE);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, machine.Below("Run"), "Quellmar Starter", std::string("old"), REG_SZ);
    std::size_t handles = sim::OpenKeyCount();
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, false);

    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, machine.Below("Run"), "Quellmar Starter", std::string("new"), REG_SZ);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, machine.Below("Missing\\Run"), "v", std::string("x"), REG_SZ);
    Rmod::CreateRegistryKey(HKEY_LOCAL_MACHINE, machine.Below("Created"));
    Rmod::DeleteRegistryValue(HKEY_LOCAL_MACHINE, machine.Below("Run"), "Quellmar Starter");
    Rmod::DeleteRegistryKey(HKEY_LOCAL_MACHINE, machine.Below("Run"));

    EXPECT_EQ("old", Rmod::QueryRegistryValue(HKEY_LOCAL_MACHINE, machine.Below("Run"), "Quellmar Starter"));
    EXPECT_FALSE(Rmod::RegistryQueryFailed);
    EXPECT_FALSE(support::KeyExists(HKEY_LOCAL_MACHINE, machine.Below("Missing")));
    EXPECT_FALSE(support::KeyExists(HKEY_LOCAL_MACHINE, machine.Below("Created")));
    EXPECT_EQ(handles, sim::OpenKeyCount());
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, true);
#endif
}

}  // namespace
