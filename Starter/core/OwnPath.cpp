#include "core/OwnPath.h"

#include "companions/PathHelpers.h"
#include "shared/TextRules.h"

std::string OwnFullPath(const std::string& appFile, const CodePageRule& rule) {
    std::string path = GetFolder(appFile, rule) + RemoveExtension(GetFileName(appFile, rule), rule);
    if (AsciiUpper(path.size() >= 4 ? path.substr(path.size() - 4) : path) != ".EXE") path += ".exe";
    return path;
}
