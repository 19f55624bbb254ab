// Command lines for programs named by a path that may hold blanks.
#pragma once

#include <string>

// program as the start of a command line. Unquoted, a path such as
// "C:\Program Files\App\app.exe" lets Windows try "C:\Program.exe" first, so
// a text that as a whole names an existing file and holds a blank is put in
// quotes. Anything else (a quoted text, a program followed by arguments, a
// bare name for the search path) is returned unchanged.
std::string ProgramCommandLine(const std::string& program);
