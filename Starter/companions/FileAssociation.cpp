// The text side of a file association: the program part of a command and
// the icon's file and index. Plain text work that needs no Windows; the
// registry lookup is in FileAssociationLookup.cpp.
#include "companions/FileAssociation.h"

#include "companions/NumberText.h"

std::string TrimBlanks(const std::string& text) {
    std::string::size_type first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    std::string::size_type last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string ProgramFromCommand(const std::string& command) {
    std::string program;
    bool inQuotes = false;
    for (std::string::size_type i = 0; i < command.size(); ++i) {
        char c = command[i];
        if (c == '"') {
            if (i == 0) {
                inQuotes = true;
            } else if (inQuotes) {
                inQuotes = false;
            } else {
                break;  // a second quoted part: the program's arguments begin
            }
        } else if (c == '%' && i + 1 < command.size() && command[i + 1] == '1') {
            break;  // the placeholder for the file: the program ends before it
        } else {
            program += c;
        }
    }
    return TrimBlanks(program);
}

void SplitIcon(const std::string& icon, std::string& iconFile, std::int16_t& iconIndex) {
    std::string::size_type comma = icon.find(',');
    if (comma != std::string::npos) {
        iconFile = icon.substr(0, comma);
        iconIndex = ReadIconIndex(std::string_view(icon).substr(comma + 1));
    }
    iconFile = TrimBlanks(iconFile);
}
