// Text rules that every folder of the starter follows, each written once.
#pragma once

#include <string>

// Letter case is folded in ASCII only, and upper: every text the starter
// compares without case is matched against an ASCII word ("TRUE", ".EXE",
// "%SYSTEMROOT%", a caption's key), so no locale may fold other bytes (a
// double-byte character's trail byte among them) and no locale may leave
// an ASCII letter unfolded.
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
inline std::string AsciiUpper(std::string text) {
    for (char& c : text) c = AsciiUpper(c);
    return text;
}

// A folder or key path with one closing "\": added unless it ends with one
// ("" becomes "\").
inline std::string WithClosingBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

// A path in quotes, so that a command line takes its blanks as part of it.
inline std::string Quoted(const std::string& path) { return '"' + path + '"'; }
