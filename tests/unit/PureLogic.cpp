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
#include "shared/TextRules.h"
#include "tray/CompanionCaption.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::string Times(int n, const std::string& piece) { return n > 0 ? piece + Times(n - 1, piece) : ""; }

// Code pages by which the rules read text: single-byte, UTF-8, and Shift-JIS,
// where 0x5C ("\") is also the second byte of a character such as 0x83 0x5C.
const CodePageRule one{}, utf8{CodePageRule::Kind::Utf8, {}};
const CodePageRule shiftJis = [](CodePageRule rule) {
    for (int b = 0x81; b <= 0xFC; ++b) rule.leadBytes[b] = b <= 0x9F || b >= 0xE0;
    return rule;
}({CodePageRule::Kind::DoubleByte, {}});
const std::string kSo = "\x83\x5C", kSoft = kSo + "\x83\x74\x83\x67";  // 0x5C inside: "so", "sofuto"

// Companion menu entries: the wrong dot or backslash looked at, a lost
// "..." shortening or a limit off by one, a folder root losing its name,
// "[not defined]" mistyped or left enabled, a kind the starter doesn't know
// losing its caption; and captions cut by bytes, not by characters of the
// code page (a short Greek name shortened, a cut inside a character, a
// name cut at the second byte of a Shift-JIS character taken for a "\", a
// folder's closing character dropped by its last byte, a three-byte UTF-8
// character led by 0xEF, U+F000 to U+FFFF, read as shorter).
TEST(PureLogic, CompanionMenuCaptions) {
    const std::string sixty = Times(6, "0123456789"), fifty = sixty.substr(10);
    const struct { short kind; std::string path, previous; const CodePageRule& rule; std::string caption; } rows[] = {
        {1, "E:\\Tools\\My Player.exe", "", one, "My Player"}, {1, "player.exe", "", one, "[not defined]"},
        {1, "E:\\Apps.old\\player", "", one, "Apps"},          {1, "E:\\" + fifty + ".exe", "", one, fifty},
        {1, "E:\\" + sixty + ".exe", "", one, "..." + sixty.substr(13)},
        {2, "E:\\Music\\", "", one, "Music"}, {2, "D:\\", "", one, "D:\\"}, {2, "", "Old", one, "[not defined]"},
        {2, "D:\\Audio\\Caf\xC3\xA9", "", utf8, "Caf"}, {2, "D:\\Audio\\Caf\xEF\xBC\xA1", "", utf8, "Caf"},
        {0, "E:\\x.exe", "Old", one, "[not defined]"}, {3, "E:\\x.exe", "Kept", one, "Kept"},
        {1, "E:\\" + Times(26, "\xCE\xA9") + ".exe", "", utf8, Times(26, "\xCE\xA9")},
        {1, "E:\\" + Times(60, "\xCE\xA9"), "", utf8, "..." + Times(47, "\xCE\xA9")},
        {1, "E:\\" + Times(51, "\xEF\xBC\xA1"), "", utf8, "..." + Times(47, "\xEF\xBC\xA1")},
        {1, "\\\xF0\x9D\x84\x9E" + Times(49, "\xE2\x82\xAC"), "", utf8, "\xF0\x9D\x84\x9E" + Times(49, "\xE2\x82\xAC")},
        {1, "E:\\" + Times(30, "\x82\xA0"), "", shiftJis, Times(30, "\x82\xA0")},
        {1, "E:\\" + Times(51, "\x82\xA0"), "", shiftJis, "..." + Times(47, "\x82\xA0")},
        {1, "E:\\" + Times(51, "\x82"), "", one, "..." + Times(47, "\x82")},
        {2, "C:\\" + kSoft + "\\", "", shiftJis, kSoft}, {1, "C:\\Tools\\" + kSoft + ".exe", "", shiftJis, kSoft}};
    for (const auto& row : rows) {
        const CompanionMenuEntry entry = CompanionCaption(row.kind, row.path, row.previous, row.rule);
        EXPECT_EQ(row.caption, entry.Caption) << row.kind << " " << row.path;
        EXPECT_EQ(row.caption != "[not defined]", entry.Enabled) << row.kind << " " << row.path;
    }
}

// The files that exist, with "/" taken for "\" and blanks at the end dropped as the system does; the
// recorder at C:\Program.exe is planted.
bool Planted(const std::string& path) {
    std::string file = path.substr(0, path.find_last_not_of(' ') + 1);
    for (char& c : file) c = c == '/' ? '\\' : c;
    const std::string planted[] = {"C:\\Program.exe", "C:\\Program Files\\Web\\web.exe", "C:\\Dir\\my", "C:\\Dir\\my tool.exe",
                                   "C:\\Tools\\tool.exe", "C:\\Tools\\a.b.exe", "C:\\Web.old\\web.exe"};
    return std::ranges::count(planted, file) > 0;
}

// Command lines: the program part of an association command with its quotes
// kept, "%1" kept or its arguments lost; and a line that starts a program
// other than the one its whole path names (C:\Program.exe for a path with
// blanks, found with ".exe" added too, or a shorter part's), or fails to
// start one that its text started unquoted.
TEST(PureLogic, CommandLines) {
    const std::pair<std::string, std::string> associations[] = {
        {"\"C:\\Program Files\\Web\\web.exe\" \"%1\"", "C:\\Program Files\\Web\\web.exe"},
        {"\"C:\\Program Files\\Web\\web.exe\" -osint -url \"%1\"", "C:\\Program Files\\Web\\web.exe -osint -url"},
        {"C:\\WINDOWS\\NOTEPAD.EXE %1", "C:\\WINDOWS\\NOTEPAD.EXE"}, {"rundll32.exe \"x.dll\",Run %1", "rundll32.exe"},
        {"", ""}};
    for (const auto& [command, program] : associations) EXPECT_EQ(program, ProgramFromCommand(command)) << command;
    const struct { std::string text; const CodePageRule& rule; std::string line; } lines[] = {
        // Blanks around the text or the program trimmed, never quoted; a text in quotes kept as it is.
        {"  C:\\Dir\\my tool.exe  -x ", one, "\"C:\\Dir\\my tool.exe\"  -x"}, {" \"C:\\Dir\\my\" -x", one, "\"C:\\Dir\\my\" -x"},
        // The longest existing part, as written or with ".exe" added where its last part has none.
        {"C:\\Dir\\my tool.exe -x", one, "\"C:\\Dir\\my tool.exe\" -x"}, {"C:\\Dir\\my tool -x", one, "\"C:\\Dir\\my tool\" -x"},
        {"C:\\Tools\\tool -x", one, "\"C:\\Tools\\tool\" -x"}, {"C:\\Web.old\\web -x", one, "\"C:\\Web.old\\web\" -x"},
        {"C:\\Tools\\a.b -x", one, "\"C:\\Tools\\a.b -x\""}, {"C:\\Program Files\\Web\\web.exe", one, "\"C:\\Program Files\\Web\\web.exe\""},
        // A part counts where the next word does not go on with its path: none, a drive, a leading "\", a
        // second byte 0x5C; so C:\Program (+ ".exe") never stands for a missing C:\Program Files\..., "/" or "\".
        {"C:\\Tools\\tool C:\\Music\\a.txt", one, "\"C:\\Tools\\tool\" C:\\Music\\a.txt"},
        {"C:\\Tools\\tool \\\\pc\\a", one, "\"C:\\Tools\\tool\" \\\\pc\\a"}, {"C:\\Tools\\tool.exe " + kSo, shiftJis, "\"C:\\Tools\\tool.exe\" " + kSo},
        {"C:\\Program Files\\Tool Dir\\tool.exe -x", one, "\"C:\\Program Files\\Tool Dir\\tool.exe -x\""},
        {"C:/Program Files/Halvane/tool.exe -x", one, "\"C:/Program Files/Halvane/tool.exe -x\""},
        // Names for the search path unquoted, whatever their arguments.
        {"explorer.exe", one, "explorer.exe"}, {"qtool.exe C:\\Music\\a.txt", one, "qtool.exe C:\\Music\\a.txt"},
        {"notepad.exe \"C:\\My Files\\a.txt\"", one, "notepad.exe \"C:\\My Files\\a.txt\""},
        {kSoft + ".exe -x", shiftJis, kSoft + ".exe -x"}, {"browser.exe -url", one, "browser.exe -url"},
        // A missing path quoted up to its own first quote, or whole; a drive and colon make a path too.
        {"C:\\Program Files\\Gone\\app.exe -x", one, "\"C:\\Program Files\\Gone\\app.exe -x\""}, {"D:tool.exe -x", one, "\"D:tool.exe -x\""},
        {"C:\\Gone\\app.exe -x \"C:\\My Files\\a.txt\"", one, "\"C:\\Gone\\app.exe -x\" \"C:\\My Files\\a.txt\""}};
    for (const auto& row : lines) EXPECT_EQ(row.line, ProgramCommandLine(row.text, Planted, row.rule)) << row.text;
    // Without a browser, no line at all: " www.quellmar.example" would run a file of that name.
    EXPECT_EQ("", BrowserCommandLine("", "www.quellmar.example", Planted, one));
    EXPECT_EQ("\"C:\\Program Files\\Web\\web.exe\" -url www.q", BrowserCommandLine("C:\\Program Files\\Web\\web.exe -url", "www.q", Planted, one));
}

// Numbers from stored text: the icon split at the wrong comma, the caller's
// values overwritten, no rounding (of halves, or up from .6 to .9 on either
// side of zero), the cut to 4 characters lost, no limit at +-32767.
TEST(PureLogic, IconSplitAndCompanionNumbers) {
    const struct { std::string icon, file; std::int16_t index; } icons[] = {
        {"C:\\x\\app.exe,-3", "C:\\x\\app.exe", -3}, {"%1", "caller", 99}, {"a.dll,2,5", "a.dll", 2},
        {" b.dll , 1.5", "b.dll", 2}, {"d.dll,40000", "d.dll", 32767}};
    for (const auto& row : icons) {
        std::string file = " caller ";
        std::int16_t index = 99;
        SplitIcon(row.icon, file, index);
        EXPECT_EQ(std::make_pair(row.file, row.index), std::make_pair(file, index)) << row.icon;
    }
    // The reading itself: halves to the even neighbour, exponents, "&H"/"&O", blanks anywhere, the limits.
    for (const auto& [text, kind] : {std::pair{"12345", 1234}, {"1.5", 2}, {"2.5", 2}, {"x", 0}, {"&H1F", 31},
                                     {"&O17", 15}, {"2E1", 20}, {" 1 2", 12}, {"9E99", 32767}, {"-.5", 0}, {"2.7", 3}})
        EXPECT_EQ(kind, ReadCompanionFileType(text)) << text;
    for (const auto& [text, index] : {std::pair{"40000", 32767}, {"-40000", -32767}, {"-3", -3}, {"123456789", 32767},
                                      {"-2.5001", -3}, {"-2.7", -3}})
        EXPECT_EQ(index, ReadCompanionIconIndex(text)) << text;
}

// Registry data as text: hex pairs in lower case or without blanks, an
// unsigned DWORD or a short one read past its data, more than the first
// string of a list, text needing a terminator it doesn't have.
TEST(PureLogic, RegistryDataToText) {
    const struct { std::uint32_t type; std::vector<unsigned char> data; std::string text; } rows[] = {
        {3, {0x01, 0xA0, 0xFF}, "01 A0 FF"}, {3, {}, ""}, {4, {0xFF, 0xFF, 0xFF, 0xFF}, "-1"}, {4, {0x01, 0x01}, "257"},
        {7, {'a', 0, 'b', 0, 0}, "a"},       {1, {'a', 'b'}, "ab"}, {2, {'%', 'x', '%', 0}, "%x%"}};
    for (const auto& row : rows)
        EXPECT_EQ(row.text, RegistryDataToText(row.type, row.data.data(), row.data.size())) << row.type;
}

// The auto-start flag's text matched by case or by prefix; the Run entries'
// own path with "\" doubled at a drive root or ".exe" added twice, or its
// folder or name cut at a Shift-JIS character's second byte 0x5C; a closing
// backslash missing after such a character, or added twice; the
// %systemroot% token matched by case or replaced twice; the folder a
// companion starts in, or the extension an association is looked up by,
// taken from the wrong end of the path or at a Shift-JIS character's second
// byte 0x5C; an instance name that differs by
// letter case, or one that two deep install paths share (a name too long
// for a mutex is the StartUp journey's).
TEST(PureLogic, FlagsPathsAndNames) {
    for (const char* text : {"TRUE", "true", "tRuE"}) EXPECT_EQ(True, TextToFlag(text)) << text;
    for (const char* text : {"", "1", " True", "Truer"}) EXPECT_EQ(False, TextToFlag(text)) << text;
    const std::pair<std::string, std::string> own[] = {
        {"C:\\Program Files\\Quellmar\\QuellmarStarter.EXE", "C:\\Program Files\\Quellmar\\QuellmarStarter.exe"},
        {"C:\\Starter.exe", "C:\\Starter.exe"}, {"C:\\x\\A.EXE.exe", "C:\\x\\A.EXE"},
        {"C:\\Tools\\" + kSo + "\\QuellmarStarter.exe", "C:\\Tools\\" + kSo + "\\QuellmarStarter.exe"},
        {"C:\\Tools\\" + kSoft + ".exe", "C:\\Tools\\" + kSoft + ".exe"}};
    for (const auto& [file, path] : own) EXPECT_EQ(path, OwnFullPath(file, shiftJis)) << file;
    EXPECT_EQ("C:\\WINDOWS\\\\notepad.exe", ExpandSystemRoot("%SystemRoot%\\notepad.exe", "C:\\WINDOWS\\"));
    EXPECT_EQ("aW\\b%systemroot%", ExpandSystemRoot("a%SYSTEMROOT%b%systemroot%", "W\\"));
    using Helper = std::string (*)(const std::string&, const CodePageRule&);
    const std::tuple<Helper, std::string, const CodePageRule&, std::string> helpers[] = {
        {GetFolder, "C:\\d\\f.exe", one, "C:\\d\\"}, {GetFolder, "f.exe", one, ""}, {GetExtension, "C:\\a.b\\x.html", one, "html"},
        {GetFolder, "C:\\\xCE\xA9\\f", utf8, "C:\\\xCE\xA9\\"}, {GetFolder, "C:\\Tools\\" + kSoft + ".exe", shiftJis, "C:\\Tools\\"},
        {WithClosingBackslash, "C:\\Tools\\" + kSo, shiftJis, "C:\\Tools\\" + kSo + "\\"}, {WithClosingBackslash, "C:\\", one, "C:\\"}};
    for (const auto& [helper, path, rule, result] : helpers) EXPECT_EQ(result, helper(path, rule)) << path;
    const std::string path = "C:\\Program Files\\Q\\QuellmarStarter.exe", deep = "C:\\" + Times(230, "d") + "\\Q.exe";
    EXPECT_EQ(InstanceName(path), InstanceName("c:\\PROGRAM FILES\\q\\quellmarstarter.exe"));
    EXPECT_NE(InstanceName(deep), InstanceName("C:\\" + Times(230, "e") + "\\Q.exe"));
}

}  // namespace
