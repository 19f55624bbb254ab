#include "companions/SystemRoot.h"

#include "shared/TextRules.h"

namespace {

constexpr char kToken[] = "%SYSTEMROOT%";
constexpr std::string::size_type kTokenLength = sizeof kToken - 1;

// Position of the first occurrence of the token, in any letter case.
std::string::size_type FindToken(const std::string& text) {
    for (std::string::size_type i = 0; i + kTokenLength <= text.size(); ++i) {
        std::string::size_type k = 0;
        while (k < kTokenLength && AsciiUpper(text[i + k]) == kToken[k]) ++k;
        if (k == kTokenLength) return i;
    }
    return std::string::npos;
}

}  // namespace

std::string ExpandSystemRoot(const std::string& path, const std::string& windowsPath) {
    const std::string::size_type at = FindToken(path);
    if (at == std::string::npos) return path;
    return path.substr(0, at) + windowsPath + path.substr(at + kTokenLength);
}
