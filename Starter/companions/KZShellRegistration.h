// The shell's facts the starter needs beyond the application runtime.
#pragma once

#include <string>

// The Windows directory, always ending with "\".
std::string GetWindowsPath();
