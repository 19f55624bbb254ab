// Rmod and the companion list against the real registry: each test works in
// a scratch key below HKEY_CURRENT_USER, planted and inspected through the
// registry API itself, and removed again in teardown.
#include "companions/CompanionList.h"
#include "registry/Rmod.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;
using Stored = std::pair<DWORD, Bytes>;  // type and data
const Stored kMissing{0xFFFFFFFF, {}};
const std::string kKey = "Software\\Quellmar Starter Tests\\Registry";
Bytes Sz(const std::string& text) { return Bytes(text.c_str(), text.c_str() + text.size() + 1); }

void Plant(const std::string& path, const std::string& name, DWORD type, const Bytes& data) {
    EXPECT_EQ(0, RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), type, data.data(),
                                 static_cast<DWORD>(data.size()))) << name;
}

Stored Read(const std::string& path, const std::string& name) {
    Bytes data(1000);
    DWORD type = 0, size = static_cast<DWORD>(data.size());
    const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND;
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), flags, &type, data.data(), &size)) return kMissing;
    data.resize(size);
    return {type, data};
}

struct Registry : testing::Test {
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quellmar Starter Tests"); }
};

// Every type read as text, and the flag that tells a failed query from an
// empty value: a buffer limit off by one, a type converted the wrong way, a
// flag not set on failure or not reset by the next success.
TEST_F(Registry, QueriesGiveTextAndTheFailureFlag) {
    struct Row { std::string name; DWORD type; Bytes data; std::string text; bool failed; } rows[] = {
        {"sz", REG_SZ, Sz("text"), "text", false},
        {"absent", REG_NONE, {}, "", true},
        {"zero", REG_SZ, {0}, "", false},
        {"expand", REG_EXPAND_SZ, Sz("%windir%\\x"), "%windir%\\x", false},
        {"multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}, "a", false},
        {"binary", REG_BINARY, {0x00, 0x0A, 0xFF}, "00 0A FF", false},
        {"dword", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, "-1", false},
        {"", REG_SZ, Sz("default"), "default", false},
        // REG_NONE: for text types RegSetValueExA stores one byte more when the data lacks its zero.
        {"too big", REG_NONE, Bytes(128001, 'a'), "", true},
        {"fits", REG_NONE, Bytes(128000, 'a'), std::string(128000, 'a'), false},
    };
    for (const Row& row : rows)
        if (row.name != "absent") Plant(kKey, row.name, row.type, row.data);
    EXPECT_EQ("", Rmod::QueryRegistryValue(HKEY_CURRENT_USER, kKey + "\\missing", "sz"));
    EXPECT_TRUE(Rmod::RegistryQueryFailed);
    for (const Row& row : rows) {
        const std::string text = Rmod::QueryRegistryValue(HKEY_CURRENT_USER, kKey, row.name);
        EXPECT_TRUE(text == row.text) << row.name << ": " << text.size() << " characters, " << text.substr(0, 20);
        EXPECT_EQ(row.failed, Rmod::RegistryQueryFailed) << row.name;
    }
}

// Writes and deletes: a missing level not created, a terminator lost, binary
// text read as hex digits, a type that should write nothing writing, a
// delete that misses its value, or a re-created key that isn't empty.
TEST_F(Registry, WritesCreateLevelsAndDeletesRemove) {
    const std::string deep = kKey + "\\a\\b";
    const std::tuple<std::string, DWORD, Stored> rows[] = {
        {"sz", REG_SZ, {REG_SZ, Sz("AB")}}, {"binary", REG_BINARY, {REG_BINARY, {'A', 'B'}}},
        {"two", 2, kMissing},               {"seven", 7, kMissing}};
    for (const auto& [name, type, stored] : rows) {
        Rmod::SetRegistryValue(HKEY_CURRENT_USER, deep, name, "AB", type);
        EXPECT_EQ(stored, Read(deep, name)) << name;
    }
    EXPECT_EQ("41 42", Rmod::QueryRegistryValue(HKEY_CURRENT_USER, deep, "binary"));
    Rmod::DeleteRegistryValue(HKEY_CURRENT_USER, deep, "sz");
    EXPECT_EQ(kMissing, Read(deep, "sz"));
    Rmod::DeleteRegistryKey(HKEY_CURRENT_USER, deep);
    Rmod::CreateRegistryKey(HKEY_CURRENT_USER, deep);
    EXPECT_EQ(kMissing, Read(deep, "binary"));
    EXPECT_EQ(0, RegDeleteKeyA(HKEY_CURRENT_USER, deep.c_str())) << "the key is there again";
}

// The companion list: a value name mistyped or numbered wrongly, a default
// lost, a number read from the wrong type; and a save that loses what other
// programs stored beside the list, or their types.
TEST_F(Registry, CompanionListLoadsItsValuesAndASaveKeepsTheRest) {
    const std::string list = kKey + "\\KZHalvane";
    CompanionList companions;
    companions.SetUpCompanionList(HKEY_CURRENT_USER, kKey, "", 0, "", 0);
    companions.LoadCompanionList();
    EXPECT_EQ("explorer.exe", companions.BrowseApplication);

    const char* const texts[] = {"file type description", "application name", "application command", "icon file"};
    Plant(list, "browse application", REG_SZ, Sz(" "));
    for (int n = 1; n <= 5; ++n) {
        const std::string s = std::to_string(n);
        for (const char* base : texts) Plant(list, base + s, REG_SZ, Sz(base + s));
        Plant(list, "file type" + s, REG_SZ, Sz(std::to_string(n % 3)));
        Plant(list, "icon index" + s, REG_SZ, Sz("-" + s));
    }
    const std::pair<std::string, Stored> others[] = {
        {"file type4", {REG_DWORD, {1, 0, 0, 0}}}, {"suite build", {REG_DWORD, {5, 0, 0, 0}}}, {"suite data", {REG_BINARY, {0, 1}}}};
    for (const auto& [name, stored] : others) Plant(list, name, stored.first, stored.second);
    companions.LoadCompanionList();
    EXPECT_EQ(" ", companions.BrowseApplication);
    for (int n = 1; n <= 5; ++n) {
        const CompanionEntry& entry = companions.Entry(n);
        std::vector<std::string> expected = {std::to_string(n == 4 ? 1 : n % 3), std::to_string(-n)};
        for (const char* base : texts) expected.push_back(base + std::to_string(n));
        EXPECT_EQ(expected, (std::vector<std::string>{std::to_string(entry.FileType), std::to_string(entry.IconIndex),
                                                      entry.FileTypeDescription, entry.ApplicationName,
                                                      entry.ApplicationCommand, entry.IconFile}));
    }

    companions.BrowseApplication = "C:\\Tools\\browse.exe";
    companions.SaveCompanionList();
    EXPECT_EQ(Stored(REG_SZ, Sz("C:\\Tools\\browse.exe")), Read(list, "browse application"));
    for (const auto& [name, stored] : others)
        if (name != "file type4") { EXPECT_EQ(stored, Read(list, name)) << name; }
    companions.LoadCompanionList();
    EXPECT_EQ("C:\\Tools\\browse.exe", companions.BrowseApplication);
    EXPECT_EQ("application name2", companions.Entry(2).ApplicationName);
}

}  // namespace
