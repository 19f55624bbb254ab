#include "companions/ProgramCommandLine.h"

#include "companions/FileAssociation.h"
#include "shared/TextRules.h"

namespace {

using Size = std::string::size_type;
constexpr const char* kSeparators = "\\/";

// A path the word after a program part may start without continuing it:
// "C:..." or "\...".
bool IsAbsolute(const std::string& word) {
    const char drive = AsciiUpper(word[0]);
    return word.find_first_of(kSeparators) == 0 || (word.size() > 1 && word[1] == ':' && drive >= 'A' && drive <= 'Z');
}

// Whether the leading part of view ending at the blank view[end] may be the
// program: the word after it does not go on with its path.
bool EndsProgramPath(const std::string& view, Size end) {
    const Size begin = view.find_first_not_of(' ', end);
    const std::string word = view.substr(begin, view.find(' ', begin) - begin);
    return word.find_first_of(kSeparators) == std::string::npos || IsAbsolute(word);
}

// The file test as the process start makes it: ".exe" added to a last part without extension.
bool NamesProgram(const std::string& program, const std::string& view, FileExistsTest exists) {
    const Size lastPart = view.find_last_of(kSeparators);
    const bool extension = view.find('.', lastPart == std::string::npos ? 0 : lastPart) != std::string::npos;
    return exists(program) || (!extension && exists(program + ".exe"));
}

}  // namespace

std::string ProgramCommandLine(const std::string& text, FileExistsTest exists, const CodePageRule& rule) {
    const std::string line = TrimBlanks(text);
    if (line.empty() || line.front() == '"') return line;
    // view finds blanks, quotes and separators as characters, never inside one.
    const std::string view = SingleByteCharacters(line, rule);
    // The whole text, then each part before a blank, longest first; line starts with no blank, so none is
    // empty. A file's name holds no quote.
    const Size quote = view.find('"');
    for (Size end = line.size(); end != std::string::npos; end = view.rfind(' ', end - 1)) {
        if (quote < end || (end < line.size() && (view[end - 1] == ' ' || !EndsProgramPath(view, end)))) continue;
        const std::string program = line.substr(0, end);
        if (NamesProgram(program, view.substr(0, end), exists)) return Quoted(program) + line.substr(end);
    }
    if (view.substr(0, view.find(' ')).find_first_of("\\/:") == std::string::npos) return line;  // for the search path
    // A missing program: its start must fail, and never start a shorter path.
    if (quote == std::string::npos) return Quoted(line);
    const std::string program = TrimBlanks(line.substr(0, quote));
    return Quoted(program) + line.substr(program.size());
}

std::string BrowserCommandLine(const std::string& program, const std::string& address, FileExistsTest exists,
                               const CodePageRule& rule) {
    return program.empty() ? std::string() : ProgramCommandLine(program, exists, rule) + " " + address;
}
