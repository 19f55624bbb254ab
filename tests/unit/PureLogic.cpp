// The starter's rules that need no Windows, one table per rule: a row per
// case, and above each table the fault it is there to catch.
#include "companions/FileAssociation.h"
#include "companions/NumberText.h"
#include "companions/PathHelpers.h"
#include "companions/ProgramCommandLine.h"
#include "companions/SystemRoot.h"
#include "core/InstanceName.h"
#include "core/OwnPath.h"
#include "integration/FlagText.h"
#include "registry/RegistryText.h"
#include "tray/CompanionCaption.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kSixty = "0123456789abcdefghijABCDEFGHIJ0123456789abcdefghijABCDEFGHIJ";

// Companion menu entries: a caption rule that looks at the wrong dot or
// backslash, a lost "..." shortening, a folder root losing its name, a
// kind 3 that forgets its caption, "[not defined]" mistyped or left enabled.
TEST(PureLogic, CompanionMenuCaptions) {
    struct Row { std::int16_t kind; std::string path, previous, caption; bool enabled; } rows[] = {
        {1, "E:\\Tools\\My Player.exe", "", "My Player", true}, {1, "player.exe", "", "[not defined]", false},
        {1, "E:\\Apps.old\\player", "", "Apps", true},
        {1, "E:\\" + kSixty + ".exe", "", "..." + kSixty.substr(13), true},
        {1, "E:\\" + kSixty.substr(10) + ".exe", "", kSixty.substr(10), true},
        {2, "E:\\Music\\", "", "Music", true}, {2, "D:\\", "", "D:\\", true}, {2, "E:\\Music", "", "Musi", true},
        {2, "", "Old", "[not defined]", false},   {0, "E:\\x.exe", "Old", "[not defined]", false},
        {3, "E:\\x.exe", "", "[not defined]", false}, {3, "E:\\x.exe", "[not defined]", "[not defined]", true},
        {3, "", "Kept", "Kept", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.kind) + " " + row.path + " / " + row.previous);
        const CompanionMenuEntry entry = CompanionCaption(row.kind, row.path, row.previous, {});
        EXPECT_EQ(row.caption, entry.Caption);
        EXPECT_EQ(row.enabled, entry.Enabled);
    }
}

// The program part of an association command: quotes copied, arguments cut
// at the wrong place, "%1" kept, blanks (but not tabs) left around it.
TEST(PureLogic, ProgramFromAssociationCommand) {
    const std::pair<std::string, std::string> rows[] = {
        {"\"C:\\Program Files\\Browser\\browser.exe\" \"%1\"", "C:\\Program Files\\Browser\\browser.exe"},
        {"\"C:\\Program Files\\Browser\\browser.exe\" -nohome", "C:\\Program Files\\Browser\\browser.exe -nohome"},
        {"C:\\WINDOWS\\NOTEPAD.EXE %1", "C:\\WINDOWS\\NOTEPAD.EXE"},
        {"browser.exe -url \"%1\"", "browser.exe -url"},
        {"rundll32.exe \"x.dll\",Run %1", "rundll32.exe"},
        {"  \tapp.exe %", "\tapp.exe %"}, {"", ""},
    };
    for (const auto& [command, program] : rows) EXPECT_EQ(program, ProgramFromCommand(command)) << command;
}

// The icon split and every number read from stored text: the wrong comma,
// the caller's values overwritten, rounding not to even, a lost cut to 4 or
// 8 characters, no limit at +-32767, "&H"/"&O" or blanks misread.
TEST(PureLogic, IconSplitAndCompanionNumbers) {
    struct Icon { std::string icon, file; std::int16_t index; } icons[] = {
        {"C:\\x\\app.exe,-3", "C:\\x\\app.exe", -3}, {"%1", "caller", 99},   {"a.dll,2,5", "a.dll", 2},
        {" b.dll , 1.5", "b.dll", 2},                {"c.dll,2.5", "c.dll", 2}, {"d.dll,40000", "d.dll", 32767},
        {"d.dll,-40000", "d.dll", -32767},           {"e.dll,&H10", "e.dll", 16}, {"e.dll,&O17", "e.dll", 15},
        {"f.dll, 1\t2\n", "f.dll", 12},              {"g.dll,x", "g.dll", 0},
    };
    for (const Icon& row : icons) {
        std::string file = " caller ";
        std::int16_t index = 99;
        SplitIcon(row.icon, file, index);
        EXPECT_EQ(row.file, file) << row.icon;
        EXPECT_EQ(row.index, index) << row.icon;
    }
    const std::pair<std::string, int> fileTypes[] = {
        {"12345", 1234}, {"1.5", 2}, {"2.5", 2}, {" 1", 1}, {"2abc", 2}, {"", 0}, {"x", 0}, {"&H10", 16}};
    for (const auto& [text, kind] : fileTypes) EXPECT_EQ(kind, ReadCompanionFileType(text)) << text;
    const std::pair<std::string, int> iconIndexes[] = {
        {"40000", 32767}, {"-40000", -32767}, {"123456789", 32767}, {"-32768", -32767}, {"-3", -3}, {"&H10", 16}};
    for (const auto& [text, index] : iconIndexes) EXPECT_EQ(index, ReadCompanionIconIndex(text)) << text;
}

// Registry data as text: hex pairs in lower case or without blanks, an
// unsigned or big-endian DWORD, a short DWORD read past its data, more than
// the first string of a list, text needing a terminator it doesn't have.
TEST(PureLogic, RegistryDataToText) {
    struct Row { std::uint32_t type; std::vector<unsigned char> data; std::string text; } rows[] = {
        {3, {0x01, 0xA0, 0xFF}, "01 A0 FF"}, {3, {0x00, 0x0A}, "00 0A"},       {3, {}, ""},
        {4, {7, 0, 0, 0}, "7"},               {4, {0xFF, 0xFF, 0xFF, 0xFF}, "-1"}, {4, {0, 0, 0, 0x80}, "-2147483648"},
        {4, {0x01, 0x01}, "257"},             {4, {}, "0"},                     {7, {'a', 0, 'b', 0, 0}, "a"},
        {1, {'a', 'b'}, "ab"},                {1, {0}, ""},                     {2, {'%', 'x', '%', 0}, "%x%"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.text, RegistryDataToText(row.type, row.data.data(), row.data.size())) << row.type << " " << row.text;
    }
}

// The auto-start setting's text: a case-sensitive or prefix match, a
// non-zero value other than -1 written as "True".
TEST(PureLogic, FlagText) {
    for (const char* text : {"TRUE", "true", "True", "tRuE"}) EXPECT_EQ(True, TextToFlag(text)) << text;
    for (const char* text : {"", "1", "Yes", " True", "True ", "Truer"}) EXPECT_EQ(False, TextToFlag(text)) << text;
    EXPECT_EQ("True", FlagToText(True));
    EXPECT_EQ("False", FlagToText(False));
    EXPECT_EQ("False", FlagToText(1));
}

// The Run entries' own path, the %systemroot% token and the path helpers: a
// doubled or missing "\" at a drive root, ".exe" added twice, the token
// matched by case or replaced twice, the separator searched from the wrong
// end.
TEST(PureLogic, PathsAndTokens) {
    const std::vector<std::string> own[] = {
        {"C:\\Program Files\\Quellmar", "QuellmarStarter", "C:\\Program Files\\Quellmar\\QuellmarStarter.exe"},
        {"C:\\", "Starter", "C:\\Starter.exe"}, {"C:\\x", "A.EXE", "C:\\x\\A.EXE"}, {"C:\\x", "exe", "C:\\x\\exe.exe"}};
    for (const auto& row : own) EXPECT_EQ(row[2], OwnFullPath(row[0], row[1])) << row[1];
    const std::vector<std::string> roots[] = {
        {"%SystemRoot%\\notepad.exe", "C:\\WINDOWS\\", "C:\\WINDOWS\\\\notepad.exe"},
        {"a%SYSTEMROOT%b%systemroot%", "W\\", "aW\\b%systemroot%"},
        {"C:\\%systemroot\\x.exe", "W\\", "C:\\%systemroot\\x.exe"}};
    for (const auto& row : roots) EXPECT_EQ(row[2], ExpandSystemRoot(row[0], row[1])) << row[0];

    using Helper = std::string (*)(const std::string&);
    struct Row { Helper helper; std::string path, result; } rows[] = {
        {GetFileName, "C:\\dir\\file.exe", "file.exe"}, {GetFileName, "file.exe", ""},  {GetFileName, "a/b", ""},
        {GetFolder, "C:\\dir\\file.exe", "C:\\dir\\"},  {GetFolder, "explorer.exe", ""}, {GetFolder, "C:\\d\\", "C:\\d\\"},
        {GetExtension, "C:\\Text.html", "html"},         {GetExtension, "file.", ""},       {GetExtension, "x", ""},
        {GetExtension, "C:\\my.dir\\file", "dir\\file"}, {RemoveExtension, "a.b.c", "a.b"}, {RemoveExtension, "x", "x"},
        {RemoveExtension, "C:\\my.dir\\file", "C:\\my"}, {RemoveExtension, ".profile", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(row.result, row.helper(row.path)) << row.path;
    const std::string fifty = kSixty.substr(10), fiftyOne = kSixty.substr(9);
    EXPECT_EQ(fifty, ShortenText(fifty, 50, {}));
    EXPECT_EQ("..." + fiftyOne.substr(4), ShortenText(fiftyOne, 50, {}));
    EXPECT_EQ("...", ShortenText("abcd", 0, {}));
    EXPECT_EQ("abc", ShortenText("abc", -5, {}));
}

}  // namespace

namespace {

std::string Times(int n, const std::string& piece) { return n > 0 ? piece + Times(n - 1, piece) : ""; }

bool Planted(const std::string& path) {
    return path == "C:\\Program.exe" || path == "C:\\Program Files\\Browser\\browser.exe" || path == "C:\\Dir\\my" ||
           path == "C:\\Dir\\my tool.exe";
}

}  // namespace

// An unquoted program part with blanks starts C:\Program.exe (or whatever a
// shorter part names) instead of the program the text means.
TEST(PureLogic, ProgramPartIsQuoted) {
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
TEST(PureLogic, InstanceNameHasOneLengthAndOneNamePerProgramFile) {
    const std::string path = "C:\\Program Files\\Q\\QuellmarStarter.exe", deep = "C:\\" + Times(230, "d") + "\\Q.exe";
    EXPECT_EQ(InstanceName(path), InstanceName("c:\\PROGRAM FILES\\q\\quellmarstarter.exe"));
    EXPECT_NE(InstanceName(path), InstanceName("C:\\Elsewhere\\QuellmarStarter.exe"));
    EXPECT_NE(InstanceName(deep), InstanceName("C:\\" + Times(230, "e") + "\\Q.exe"));
    EXPECT_EQ(InstanceName(deep).size(), InstanceName(path).size());
}

// Counting bytes shortened a 26-character Greek name and cut the caption
// inside a character.
TEST(PureLogic, CaptionsAreCutBetweenCharacters) {
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
