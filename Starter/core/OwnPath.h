// The starter's own full path as the Run entries hold it.
#pragma once

#include "shared/CodePageText.h"

#include <string>

// From the program file's path (read by rule): its folder with its closing
// "\", its file name without extension, and ".exe" unless that name
// already ends with ".exe" in any letter case.
std::string OwnFullPath(const std::string& appFile, const CodePageRule& rule);
