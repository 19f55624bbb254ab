#include "shared/TextRules.h"

std::string AsciiUpper(std::string text) {
    for (char& c : text) c = AsciiUpper(c);
    return text;
}

std::string WithClosingBackslash(const std::string& path, const CodePageRule& rule) {
    if (path.empty() || SingleByteCharacters(path, rule).back() != '\\') return path + '\\';
    return path;
}

std::string Quoted(const std::string& path) { return '"' + path + '"'; }
