#include "core/OwnPath.h"

#include <algorithm>
#include <cctype>

std::string OwnFullPath(const std::string& appPath, const std::string& exeName) {
    std::string path = appPath;
    if (path.empty() || path.back() != '\\') path += '\\';
    path += exeName;
    std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (tail != ".EXE") path += ".exe";
    return path;
}
