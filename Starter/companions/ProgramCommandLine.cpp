#include "companions/ProgramCommandLine.h"

namespace {

std::string Quoted(const std::string& program) { return '"' + program + '"'; }

}  // namespace

std::string ProgramCommandLine(const std::string& text, FileExistsTest exists) {
    if (text.empty() || text.front() == '"') return text;
    if (exists(text)) return Quoted(text);
    for (std::string::size_type blank = text.rfind(' '); blank != std::string::npos && blank > 0;
         blank = text.rfind(' ', blank - 1)) {
        const std::string program = text.substr(0, blank);
        if (exists(program)) return Quoted(program) + text.substr(blank);
    }
    return text.find('\\') == std::string::npos ? text : Quoted(text);
}

std::string BrowserCommandLine(const std::string& program, const std::string& address, FileExistsTest exists) {
    return program.empty() ? std::string() : ProgramCommandLine(program, exists) + " " + address;
}
