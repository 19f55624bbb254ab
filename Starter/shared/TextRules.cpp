#include "shared/TextRules.h"

std::string AsciiUpper(std::string text) {
    for (char& c : text) c = AsciiUpper(c);
    return text;
}

std::string WithClosingBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

std::string Quoted(const std::string& path) { return '"' + path + '"'; }
