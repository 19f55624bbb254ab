// The registry state the starter keeps, read and reset from outside. The
// tests run with the same bitness as the starter, so they see the same
// registry view.
#pragma once

#include "platform/Win32Api.h"

#include <string>

namespace e2e {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunKeyNt = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Quellmar Starter";
inline constexpr const char* kProductKey = "Software\\Quellmar";
inline constexpr const char* kAutoStartKey = "Software\\Quellmar\\Starter\\StartUp";
inline constexpr const char* kAutoStartValue = "auto start target program";
inline constexpr const char* kCompanionKey = "Software\\Quellmar\\KZHalvane";

struct RegistryValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string data;  // the bytes; for text types without the closing zero
};

RegistryValue ReadRegistryValue(HKEY root, const char* key, const char* name);

bool RegistryKeyExists(HKEY root, const char* key);

// Writes a REG_SZ value, creating the key's missing levels.
bool WriteRegistryString(HKEY root, const char* key, const char* name, const std::string& text);

// Deletes everything the starter writes under HKEY_LOCAL_MACHINE: its two
// Run values and the product key with all it holds.
void ClearStarterRegistry();

// Deletes one value; true when it is gone (also when it was never there).
bool DeleteRegistryValue(HKEY root, const char* key, const char* name);

// Deletes a key with everything below it; true when it is gone.
bool DeleteRegistryTree(HKEY root, const char* key);

// Remembers a value of the machine's registry that a test changes (a file
// association, for example) and puts it back as it was when it goes out
// of scope: the same data and type, or no value at all; a key that did
// not exist before goes again, with all a test put below it.
class SavedRegistryValue {
public:
    SavedRegistryValue(HKEY root, std::string key, std::string name);
    ~SavedRegistryValue();
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

    const RegistryValue& saved() const { return saved_; }

private:
    HKEY root_;
    std::string key_;
    std::string name_;
    bool keyExisted_ = false;
    RegistryValue saved_;
};

}  // namespace e2e
