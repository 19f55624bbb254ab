#include "companions/SystemRoot.h"

namespace {

constexpr const char* kSystemRootToken = "%systemroot%";

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Position of the first occurrence of a lower-case token, any letter case.
std::string::size_type FindIgnoringCase(const std::string& text, const std::string& token) {
    if (token.size() > text.size()) return std::string::npos;
    for (std::string::size_type i = 0; i + token.size() <= text.size(); ++i) {
        std::string::size_type k = 0;
        while (k < token.size() && AsciiLower(text[i + k]) == token[k]) ++k;
        if (k == token.size()) return i;
    }
    return std::string::npos;
}

}  // namespace

std::string ExpandSystemRoot(const std::string& path, const std::string& windowsPath) {
    const std::string token = kSystemRootToken;
    std::string::size_type at = FindIgnoringCase(path, token);
    if (at == std::string::npos) return path;
    return path.substr(0, at) + windowsPath + path.substr(at + token.size());
}
