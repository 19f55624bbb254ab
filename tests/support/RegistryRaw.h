// The registry as the tests see it, through the API itself: raw values with
// their type and bytes, and whether a key exists and what it holds.
#pragma once

#include "platform/Win32Api.h"

#include <string>
#include <vector>

namespace support {

struct RawValue {
    LSTATUS status = ERROR_SUCCESS;  // of the query: ERROR_FILE_NOT_FOUND when key or value is missing
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

RawValue ReadRaw(HKEY root, const std::string& keyPath, const std::string& valueName);

// Writes a value with exactly these bytes, creating the key; the status of the write.
LSTATUS WriteRaw(HKEY root, const std::string& keyPath, const std::string& valueName, DWORD type,
                 const std::vector<BYTE>& data);

std::vector<BYTE> Bytes(const std::string& text);  // the characters' bytes, no zero added

bool KeyExists(HKEY root, const std::string& keyPath);

struct KeyContents {
    DWORD subkeys = 0;
    DWORD values = 0;
};
// What a key holds; both counts 0 when it doesn't exist.
KeyContents ContentsOf(HKEY root, const std::string& keyPath);

}  // namespace support
