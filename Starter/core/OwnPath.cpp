#include "core/OwnPath.h"

#include "shared/TextRules.h"

std::string OwnFullPath(const std::string& appPath, const std::string& exeName) {
    std::string path = WithClosingBackslash(appPath) + exeName;
    if (AsciiUpper(path.size() >= 4 ? path.substr(path.size() - 4) : path) != ".EXE") path += ".exe";
    return path;
}
