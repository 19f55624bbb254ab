#include "support/RegistryRaw.h"

namespace support {

RawValue ReadRaw(HKEY root, const std::string& keyPath, const std::string& valueName) {
    RawValue value;
    HKEY key = nullptr;
    value.status = RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key);
    if (value.status != ERROR_SUCCESS) return value;
    DWORD size = 0;
    value.status = RegQueryValueExA(key, valueName.c_str(), nullptr, &value.type, nullptr, &size);
    if (value.status == ERROR_SUCCESS) {
        // The buffer handed over is exactly the data's size, so that nothing
        // beyond the data (the zero a query adds to unterminated text) is read.
        value.data.resize(size + 1);
        DWORD length = size;
        value.status = RegQueryValueExA(key, valueName.c_str(), nullptr, &value.type, value.data.data(), &length);
        value.data.resize(length);
    }
    RegCloseKey(key);
    return value;
}

LSTATUS WriteRaw(HKEY root, const std::string& keyPath, const std::string& valueName, DWORD type,
                 const std::vector<BYTE>& data) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    // Binary data's own bytes only; a zero behind them would make text types
    // count it (see the registry contract), so text is written via a copy
    // that ends in a non-zero guard byte.
    std::vector<BYTE> guarded(data);
    guarded.push_back(0xAA);
    status = RegSetValueExA(key, valueName.c_str(), 0, type, guarded.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return status;
}

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

bool KeyExists(HKEY root, const std::string& keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

KeyContents ContentsOf(HKEY root, const std::string& keyPath) {
    KeyContents contents;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return contents;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &contents.subkeys, nullptr, nullptr, &contents.values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return contents;
}

}  // namespace support
