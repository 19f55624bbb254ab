// Texts the starter builds for Windows out of what others stored: command
// lines, the instance name, menu captions.
#include "companions/PathHelpers.h"
#include "companions/ProgramCommandLine.h"
#include "core/InstanceName.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string Times(int n, const std::string& piece) {
    std::string text;
    while (n-- > 0) text += piece;
    return text;
}

bool Planted(const std::string& path) {
    static const std::set<std::string> files = {"C:\\Program.exe", "C:\\Program Files\\Browser\\browser.exe",
                                                "C:\\Dir\\my", "C:\\Dir\\my tool.exe"};
    return files.count(path) != 0;
}

}  // namespace

// An unquoted program part with blanks starts C:\Program.exe (or whatever a
// shorter part names) instead of the program the text means.
TEST(SafeText, ProgramPartIsQuoted) {
    const struct { const char* text; const char* line; } rows[] = {
        {"\"C:\\Dir\\my\" -x", "\"C:\\Dir\\my\" -x"},
        {"C:\\Program Files\\Browser\\browser.exe", "\"C:\\Program Files\\Browser\\browser.exe\""},
        {"C:\\Program Files\\Browser\\browser.exe -osint -url", "\"C:\\Program Files\\Browser\\browser.exe\" -osint -url"},
        {"C:\\Dir\\my tool.exe -x", "\"C:\\Dir\\my tool.exe\" -x"},
        {"C:\\Program Files\\Gone\\app.exe -x", "\"C:\\Program Files\\Gone\\app.exe -x\""},
        {"explorer.exe", "explorer.exe"},
        {"browser.exe -url", "browser.exe -url"},
    };
    for (const auto& row : rows) EXPECT_EQ(ProgramCommandLine(row.text, Planted), row.line) << row.text;
}

// A name made of the path itself grew too long for a mutex with a long
// install path, and a second starter ran.
TEST(SafeText, InstanceNameHasOneLengthAndOneNamePerProgramFile) {
    const std::string deep = "C:\\" + Times(230, "d") + "\\QuellmarStarter.exe";
    const struct { std::string a, b; bool same; } rows[] = {
        {"C:\\Program Files\\Q\\QuellmarStarter.exe", "c:\\PROGRAM FILES\\q\\quellmarstarter.exe", true},
        {"C:\\Program Files\\Q\\QuellmarStarter.exe", "C:\\Elsewhere\\QuellmarStarter.exe", false},
        {deep, "C:\\" + Times(230, "e") + "\\QuellmarStarter.exe", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(InstanceName(row.a) == InstanceName(row.b), row.same) << row.b;
        EXPECT_EQ(InstanceName(row.b).size(), std::string("Local\\QuellmarStarter.0123456789ABCDEF").size());
    }
}

// Counting bytes shortened a 26-character Greek name and cut the caption
// inside a character.
TEST(SafeText, CaptionsAreCutBetweenCharacters) {
    CodePageRule utf8{CodePageRule::Kind::Utf8, {}}, shiftJis{CodePageRule::Kind::DoubleByte, {}}, single{};
    for (int b = 0x81; b <= 0xFC; ++b) shiftJis.leadBytes[b] = b <= 0x9F || b >= 0xE0;
    const struct { std::string text; const CodePageRule& rule; std::string caption; } rows[] = {
        {Times(26, "\xCE\xA9"), utf8, Times(26, "\xCE\xA9")},
        {Times(60, "\xCE\xA9"), utf8, "..." + Times(47, "\xCE\xA9")},
        {"\xF0\x9D\x84\x9E" + Times(49, "\xE2\x82\xAC"), utf8, "\xF0\x9D\x84\x9E" + Times(49, "\xE2\x82\xAC")},
        {Times(30, "\x83\x5C"), shiftJis, Times(30, "\x83\x5C")},
        {Times(51, "\x83\x5C"), shiftJis, "..." + Times(47, "\x83\x5C")},
        {Times(51, "\x83"), single, "..." + Times(47, "\x83")},
    };
    for (const auto& row : rows) EXPECT_EQ(ShortenText(row.text, 50, row.rule), row.caption) << row.text.size();
}
