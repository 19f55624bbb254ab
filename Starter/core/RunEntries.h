// The Windows Run entries that start the starter at log-on: two values of
// one name under HKEY_LOCAL_MACHINE, each holding the quoted program path.
// Every start writes both; "Remove Starter" deletes the first.
#pragma once

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunKeyNT = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Quellmar Starter";
