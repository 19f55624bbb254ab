// The program part of a command line that the starter builds from a path
// as the registry holds it, possibly with arguments behind it.
#pragma once

#include <string>

// Tells whether a text names an existing file, exactly as written.
using FileExistsTest = bool (*)(const std::string& path);

// text with its program part quoted. Unquoted, "C:\Program Files\App\app.exe
// -x" makes Windows try "C:\Program.exe" first, so:
// - a text that starts with a quote is already settled and stays as it is;
// - a text that as a whole names an existing file is quoted whole;
// - otherwise the longest leading part, ending before a blank, that names an
//   existing file (exactly that name, never with ".exe" added) is quoted
//   and the rest follows as arguments;
// - where no part exists, a text without "\" stays as it is (a bare name
//   such as "explorer.exe" is found on the search path), and any other
//   text is quoted whole, so that its start fails rather than running some
//   other program that a part of it names.
std::string ProgramCommandLine(const std::string& text, FileExistsTest exists);

// The browser's command line for an address: the program part quoted, one
// blank, the address. "" when there is no program: a blank and the address
// alone would run whatever file of the address's name a search finds.
std::string BrowserCommandLine(const std::string& program, const std::string& address, FileExistsTest exists);
