// Text rules that every folder of the starter follows, each written once
// (out of line: inlined at every use they would make the program larger).
#pragma once

#include "shared/CodePageText.h"

#include <string>

// Letter case is folded in ASCII only, and upper: every text the starter
// compares without case is matched against an ASCII word ("TRUE", ".EXE",
// "%SYSTEMROOT%", a caption's key), so no locale may fold other bytes (a
// double-byte character's trail byte among them) and no locale may leave
// an ASCII letter unfolded.
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
std::string AsciiUpper(std::string text);

// A folder or key path with one closing "\": added unless its last
// character, read by rule, is one ("" becomes "\").
std::string WithClosingBackslash(const std::string& path, const CodePageRule& rule);

// A path in quotes, so that a command line takes its blanks as part of it.
std::string Quoted(const std::string& path);
