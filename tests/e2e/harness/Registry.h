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

// Writes a REG_SZ value, creating the key's missing levels.
bool WriteRegistryString(HKEY root, const char* key, const char* name, const std::string& text);

// Deletes everything the starter writes under HKEY_LOCAL_MACHINE: its two
// Run values and the product key with all it holds.
void ClearStarterRegistry();

}  // namespace e2e
