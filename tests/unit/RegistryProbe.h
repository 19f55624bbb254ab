// Reading and planting registry values in tests straight through the API,
// so that the checks don't go through the Rmod code they check.
#pragma once

#include "platform/Win32Api.h"

#include <string>
#include <vector>

namespace probe {

struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::string data;  // REG_SZ without its closing zero byte; raw bytes otherwise
};

inline StoredValue ReadValue(HKEY root, const std::string& key, const std::string& name) {
    StoredValue value;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return value;
    std::vector<BYTE> buffer(4096);
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD type = 0;
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &type, buffer.data(), &size) == ERROR_SUCCESS) {
        value.present = true;
        value.type = type;
        value.data.assign(reinterpret_cast<const char*>(buffer.data()), size);
        if (type == REG_SZ && !value.data.empty() && value.data.back() == '\0') value.data.pop_back();
    }
    RegCloseKey(handle);
    return value;
}

inline bool KeyExists(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

inline void WriteRaw(HKEY root, const std::string& key, const std::string& name, DWORD type, const void* data,
                     DWORD size) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
}

inline void WriteText(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    WriteRaw(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

inline void WriteDword(HKEY root, const std::string& key, const std::string& name, DWORD number) {
    WriteRaw(root, key, name, REG_DWORD, &number, sizeof number);
}

}  // namespace probe
