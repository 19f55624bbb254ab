// The token "%systemroot%" in a companion program's path.
#pragma once

#include <string>

// path with its first "%systemroot%", in any letter case, replaced by
// windowsPath (the Windows directory with its closing "\"). A "\" after the
// token stays, so "%SystemRoot%\notepad.exe" gets two backslashes in a row.
std::string ExpandSystemRoot(const std::string& path, const std::string& windowsPath);
