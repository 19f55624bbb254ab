// Cutting file paths at their last backslash or dot, and shortening long
// texts for menu captions. Each helper reads the text by characters of the
// ANSI code page in use, so that the second byte of a double-byte character
// is never taken for a "\" (0x5C is a valid second byte in Shift-JIS, GBK
// and Big5), and looks for the separator nearest the end of the text; a
// forward slash is not a separator here.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// How the ANSI code page in use makes characters of bytes: one byte each;
// UTF-8 sequences (code page 65001); or, in a double-byte code page, a lead
// byte (leadBytes[byte] is true) and the byte after it.
struct CodePageRule {
    enum class Kind { SingleByte, Utf8, DoubleByte } kind = Kind::SingleByte;
    std::array<bool, 256> leadBytes{};
};

// text with every byte of a character longer than one byte replaced by
// 0x80, the same length: a search for an ASCII character ("\", ".", a blank,
// a quote) in it finds that character of text, never part of another one.
std::string SingleByteCharacters(const std::string& text, const CodePageRule& rule);

// The characters after the last "\"; "" when there is none.
std::string GetFileName(const std::string& path, const CodePageRule& rule);

// The characters up to and including the last "\"; "" when there is none.
std::string GetFolder(const std::string& path, const CodePageRule& rule);

// The characters after the last "." (a dot in a folder name counts when the
// file name has none); "" when there is none.
std::string GetExtension(const std::string& path, const CodePageRule& rule);

// The characters before the last "."; the whole text when there is none.
std::string RemoveExtension(const std::string& path, const CodePageRule& rule);

// text itself when it has at most maxLength characters, otherwise "..."
// followed by its last maxLength-3 characters. Characters are counted by
// rule and a cut never falls inside one. A maxLength below 3 counts as 3.
std::string ShortenText(const std::string& text, std::int16_t maxLength, const CodePageRule& rule);

// text without its last character, a whole character of the code page
// ("" stays "").
std::string RemoveLastCharacter(const std::string& text, const CodePageRule& rule);
