// The starter's own full path as the Run entries hold it.
#pragma once

#include <string>

// The program's directory, a "\" unless it ends with one (a drive root),
// the program's file name without extension, and ".exe" unless that name
// already ends with ".exe" in any letter case.
std::string OwnFullPath(const std::string& appPath, const std::string& exeName);
