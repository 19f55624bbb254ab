// What Windows starts to open a file of a given kind: the file type that
// HKEY_CLASSES_ROOT names for the file's extension, its description, the
// command of a verb, the program part of that command, and the type's icon.
#pragma once

#include <cstdint>
#include <string>

// Looks the association of fileName's extension up for verb ("open", ...).
// When the extension names no file type, only found is set (false) and every
// other output keeps what the caller put in. Otherwise description, command,
// program and found are set; iconFile and iconIndex are set from the type's
// icon when it has a ",", and keep the caller's values (trimmed) when not.
// found says only that the file type exists: command and program may still
// be empty.
void LookUpFileAssociation(const std::string& fileName, const std::string& verb, std::string& description,
                           std::string& command, std::string& program, std::string& iconFile,
                           std::int16_t& iconIndex, bool& found);

// The program part of an association command, blanks trimmed: a quoted path
// loses its quotes; the scan ends at "%1", or at a quote that opens a second
// quoted part. What follows a closed quoted part (arguments) stays.
std::string ProgramFromCommand(const std::string& command);

// Splits an icon text "file,index" at its first ",": iconFile gets the part
// before it and iconIndex the number after it (rounded, limited to
// -32767..32767). Without a "," both keep their values. iconFile is trimmed
// of blanks either way.
void SplitIcon(const std::string& icon, std::string& iconFile, std::int16_t& iconIndex);

// The text without leading and trailing blanks (tabs stay).
std::string TrimBlanks(const std::string& text);
