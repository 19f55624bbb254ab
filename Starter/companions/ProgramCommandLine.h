// The program part of a command line that the starter builds from a path
// as the registry holds it, possibly with arguments behind it.
#pragma once

#include "companions/PathHelpers.h"

#include <string>

// Tells whether a text names an existing file, exactly as written.
using FileExistsTest = bool (*)(const std::string& path);

// text as a command line that starts the program its whole path names, or
// nothing. Unquoted, "C:\Program Files\App\app.exe -x" makes the process
// start try "C:\Program.exe" first, and it adds ".exe" to a name without
// extension; quoted, a path is taken whole. So, with "\" and "/" both path
// separators and text read by characters of the code page (rule):
// - blanks around the text are no part of it, and a text that then starts
//   with a quote is already settled and stays as it is;
// - the program part is the longest of the text's leading parts ending
//   before a blank, or the whole text, that names an existing file as
//   written or with ".exe" added when its last part has no extension: it is
//   quoted, the rest follows as arguments. A part shorter than the whole
//   counts only where the word after it does not continue its path (it
//   holds no separator, or is an absolute path of its own: a drive and
//   colon, or a leading separator), so that "C:\Program" never stands for
//   "C:\Program Files\App\app.exe", missing or not;
// - where none exists and the first word holds no separator and no colon,
//   it is a name for the search path ("explorer.exe", "notepad.exe
//   C:\a.txt") and the text stays as it is;
// - where none exists and the first word is a path, the program is missing:
//   the text up to its first quote (trimmed), or the whole text, is quoted,
//   so that the start fails rather than running some other program that a
//   shorter part of it names.
std::string ProgramCommandLine(const std::string& text, FileExistsTest exists, const CodePageRule& rule);

// The browser's command line for an address: the program part quoted, one
// blank, the address. "" when there is no program: a blank and the address
// alone would run whatever file of the address's name a search finds.
std::string BrowserCommandLine(const std::string& program, const std::string& address, FileExistsTest exists,
                               const CodePageRule& rule);
