// Texts the starter builds for Windows out of what others stored: command
// lines, the instance name, menu captions.
#include "companions/PathHelpers.h"
#include "companions/ProgramCommandLine.h"
#include "core/InstanceName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Times(int n, const std::string& piece) { return n > 0 ? piece + Times(n - 1, piece) : ""; }

bool Planted(const std::string& path) {
    return path == "C:\\Program.exe" || path == "C:\\Program Files\\Browser\\browser.exe" || path == "C:\\Dir\\my" ||
           path == "C:\\Dir\\my tool.exe";
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
    const std::string path = "C:\\Program Files\\Q\\QuellmarStarter.exe", deep = "C:\\" + Times(230, "d") + "\\Q.exe";
    EXPECT_EQ(InstanceName(path), InstanceName("c:\\PROGRAM FILES\\q\\quellmarstarter.exe"));
    EXPECT_NE(InstanceName(path), InstanceName("C:\\Elsewhere\\QuellmarStarter.exe"));
    EXPECT_NE(InstanceName(deep), InstanceName("C:\\" + Times(230, "e") + "\\Q.exe"));
    EXPECT_EQ(InstanceName(deep).size(), InstanceName(path).size());
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
