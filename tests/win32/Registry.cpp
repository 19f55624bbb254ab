// Rmod and the companion list against the real registry, on a scratch key
// below HKEY_CURRENT_USER, planted and read back through the registry API
// itself and removed in teardown. The 32-bit view of HKEY_LOCAL_MACHINE,
// where both builds keep their settings, is the journeys' (tests/e2e).
#include "companions/CompanionList.h"
#include "platform/Handles.h"
#include "registry/Rmod.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

namespace {

using Values = std::map<std::string, std::pair<DWORD, std::string>>;  // name: type, bytes
const std::string kKey = "Software\\Quellmar Starter Tests";
std::string Sz(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

// Writes the values given into a key, making it when it is missing, and
// gives back every value the key holds then.
Values Store(const std::string& path, const Values& values = {}) {
    Values held;
    platform::unique_hkey key;
    char name[256], data[256];
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr)) return held;
    for (const auto& [valueName, value] : values)
        RegSetValueExA(key.get(), valueName.c_str(), 0, value.first, reinterpret_cast<const BYTE*>(value.second.data()),
                       static_cast<DWORD>(value.second.size()));
    for (DWORD i = 0, type = 0, nameSize = sizeof name, size = sizeof data;
         !RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
         ++i, nameSize = sizeof name, size = sizeof data)
        held[name] = {type, std::string(data, size)};
    return held;
}

struct Registry : testing::Test {
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kKey.c_str()); }
};

// Queries and writes: a buffer limit off by one, the failure flag not set
// by a failed query or not reset by the next good one (an empty value is no
// failure), a missing level not created, REG_BINARY text not stored as its
// bytes. REG_NONE: a text type gets one byte more when it lacks its zero.
TEST_F(Registry, QueriesKeepTheLimitAndTheFailureFlag) {
    Store(kKey, {{"fits", {REG_NONE, std::string(128000, 'a')}}, {"too big", {REG_NONE, std::string(128001, 'a')}},
                 {"empty", {REG_SZ, Sz("")}}});
    Rmod::SetRegistryValue(HKEY_CURRENT_USER, kKey + "\\a\\b", "binary", "AB", REG_BINARY);
    const struct { std::string path, name, text; bool failed; } rows[] = {
        {kKey, "fits", std::string(128000, 'a'), false}, {kKey, "too big", "", true}, {kKey, "empty", "", false},
        {kKey, "absent", "", true}, {kKey + "\\a\\b", "binary", "41 42", false}, {kKey + "\\gone", "fits", "", true}};
    for (const auto& row : rows) {
        EXPECT_TRUE(Rmod::QueryRegistryValue(HKEY_CURRENT_USER, row.path, row.name) == row.text) << row.name;
        EXPECT_EQ(row.failed, Rmod::RegistryQueryFailed) << row.name;
    }
}

// The companion list: a value name mistyped or numbered wrongly, the default
// browse application lost; and a save that rewrites what the suite stored
// from its parsed copy ("12345" as "1234", "40000" as "32767", other types
// as REG_SZ, unknown values lost) instead of writing only the browse
// application.
TEST_F(Registry, CompanionListReadsItsValuesAndASaveWritesOnlyTheBrowseApplication) {
    const char* const names[] = {"file type", "file type description", "application name", "application command",
                                 "icon file", "icon index"};
    // Every value holds a number of its own but these, stored as other
    // programs store them (the last column is what the slot holds).
    const std::tuple<std::string, DWORD, std::string, std::string> planted[] = {
        {"file type1", REG_SZ, Sz("12345"), "1234"}, {"icon index1", REG_SZ, Sz("40000"), "32767"},
        {"application name2", REG_MULTI_SZ, std::string("C:\\a\0b\0", 8), "C:\\a"},
        {"icon file3", REG_BINARY, "\x01\xA0\xFF", "01 A0 FF"}, {"icon file5", REG_NONE, "", ""},
        {"application command4", REG_EXPAND_SZ, Sz("%SystemRoot%\\x.exe"), "%SystemRoot%\\x.exe"}};
    Values stored{{"stored by another program", {REG_SZ, Sz("x")}}};
    for (int i = 0; i < 30; ++i) stored[names[i % 6] + std::to_string(i / 6 + 1)] = {REG_SZ, Sz(std::to_string(100 + i))};
    std::map<std::string, std::string> held;
    for (const auto& [name, type, bytes, text] : planted) stored[name] = {type, bytes}, held[name] = text;
    Store(kKey + "\\KZHalvane", stored);
    CompanionList list;
    list.SetUpCompanionList(HKEY_CURRENT_USER, kKey, "", 0, "", 0);
    list.LoadCompanionList();
    EXPECT_EQ("explorer.exe", list.BrowseApplication);  // while the value is missing
    for (int i = 0; i < 30; ++i) {
        const CompanionEntry& e = list.Entry(i / 6 + 1);
        const std::string slot[] = {std::to_string(e.FileType), e.FileTypeDescription, e.ApplicationName,
                                    e.ApplicationCommand, e.IconFile, std::to_string(e.IconIndex)};
        const std::string name = names[i % 6] + std::to_string(i / 6 + 1);
        EXPECT_EQ(held.count(name) ? held[name] : std::to_string(100 + i), slot[i % 6]) << name;
    }
    list.BrowseApplication = "C:\\Tools\\browse.exe";
    list.SaveCompanionList();
    stored["browse application"] = {REG_SZ, Sz("C:\\Tools\\browse.exe")};
    EXPECT_EQ(stored, Store(kKey + "\\KZHalvane"));
}

}  // namespace
