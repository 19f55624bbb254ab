// Full paths as Win32 makes them from what a caller passes, relative to
// the simulated process's current directory.
#include "platform/sim/SystemWorld.h"

#include <cctype>

namespace sim::detail {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// Characters no file name may hold; wildcards among them.
bool HasInvalidCharacter(const std::string& text) {
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || c == '*' || c == '?' || c == '<' || c == '>' || c == '|' || c == '"' || c == ':') return true;
    }
    return false;
}

std::vector<std::string> SplitLevels(const std::string& text) {
    std::vector<std::string> levels;
    std::string current;
    for (char c : text) {
        if (IsSeparator(c)) {
            levels.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    levels.push_back(current);
    return levels;
}

// Appends the levels of a relative text to path, resolving "." and "..".
void AppendLevels(FullPath& path, const std::string& text) {
    std::vector<std::string> raw = SplitLevels(text);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::string level = raw[i];
        bool last = i + 1 == raw.size();
        if (level.empty() || level == ".") continue;
        if (level == "..") {
            if (!path.levels.empty()) path.levels.pop_back();
            continue;
        }
        // Win32 drops trailing dots of every level and trailing blanks of
        // the last one: "C:\dir.\file.txt " names C:\dir\file.txt.
        std::string::size_type end = level.size();
        while (end > 0 && (level[end - 1] == '.' || (last && level[end - 1] == ' '))) --end;
        level.resize(end);
        if (level.empty()) continue;
        if (HasInvalidCharacter(level)) {
            path.error = ERROR_INVALID_NAME;
            return;
        }
        path.levels.push_back(level);
    }
}

FullPath CurrentDirectoryPath() {
    const std::string& current = CurrentDirectoryText();
    FullPath path;
    path.drive = current.substr(0, 2);
    AppendLevels(path, current.substr(2));
    return path;
}

}  // namespace

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string FullPath::Display() const {
    std::string text = drive + "\\";
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (i > 0) text += '\\';
        text += levels[i];
    }
    return text;
}

std::string FullPath::Key(std::size_t levelCount) const {
    std::string key = Lower(drive) + "\\";
    for (std::size_t i = 0; i < levelCount && i < levels.size(); ++i) {
        if (i > 0) key += '\\';
        key += Lower(levels[i]);
    }
    return key;
}

FullPath MakeFullPath(const std::string& text) {
    FullPath path;
    if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
        path.error = ERROR_BAD_NETPATH;  // no network in this world
        return path;
    }
    std::string rest;
    if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == ':') {
        rest = text.substr(2);
        FullPath current = CurrentDirectoryPath();
        if (!rest.empty() && IsSeparator(rest[0])) {
            path.drive = text.substr(0, 2);
        } else if (Lower(current.drive) == Lower(text.substr(0, 2))) {
            path = current;  // "C:name" on the current drive: below the current directory
        } else {
            path.drive = text.substr(0, 2);  // another drive: its root
        }
    } else if (!text.empty() && IsSeparator(text[0])) {
        path.drive = CurrentDirectoryPath().drive;
        rest = text;
    } else {
        path = CurrentDirectoryPath();
        rest = text;
    }
    AppendLevels(path, rest);
    path.trailingSeparator = !path.levels.empty() && !rest.empty() && IsSeparator(rest.back());
    return path;
}

}  // namespace sim::detail
