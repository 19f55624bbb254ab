// Cutting file paths at their last backslash or dot, and shortening long
// texts for menu captions. Each helper reads the text by characters of the
// ANSI code page in use, so that the second byte of a double-byte character
// is never taken for a "\" (0x5C is a valid second byte in Shift-JIS, GBK
// and Big5), and looks for the separator nearest the end of the text; a
// forward slash is not a separator here.
#pragma once

#include "shared/CodePageText.h"

#include <cstdint>
#include <string>

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
