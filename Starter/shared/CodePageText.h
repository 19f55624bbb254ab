// Text read by characters of the ANSI code page in use, so that the second
// byte of a double-byte character is never taken for a "\" (0x5C is a valid
// second byte in Shift-JIS, GBK and Big5), nor a character cut in two.
#pragma once

#include <array>
#include <string>
#include <vector>

// How the ANSI code page in use makes characters of bytes: one byte each;
// UTF-8 sequences (code page 65001); or, in a double-byte code page, a lead
// byte (leadBytes[byte] is true) and the byte after it.
struct CodePageRule {
    enum class Kind { SingleByte, Utf8, DoubleByte } kind = Kind::SingleByte;
    std::array<bool, 256> leadBytes{};
};

// Where each character of text begins, in order. A byte that can't start a
// character of the rule (a stray UTF-8 trail byte, a lead byte at the end)
// counts as a character of its own.
std::vector<std::string::size_type> CharacterStarts(const std::string& text, const CodePageRule& rule);

// text with every byte of a character longer than one byte replaced by
// 0x80, the same length: a search for an ASCII character ("\", ".", a blank,
// a quote) in it finds that character of text, never part of another one.
std::string SingleByteCharacters(const std::string& text, const CodePageRule& rule);
