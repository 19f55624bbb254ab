#include "companions/SystemRoot.h"

#include "shared/TextRules.h"

std::string ExpandSystemRoot(const std::string& path, const std::string& windowsPath) {
    // Folding keeps every byte where it is: the token's place in the folded
    // text is its place in the path.
    const std::string token = "%SYSTEMROOT%";
    std::string::size_type at = AsciiUpper(path).find(token);
    if (at == std::string::npos) return path;
    return path.substr(0, at) + windowsPath + path.substr(at + token.size());
}
