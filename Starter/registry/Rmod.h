// Rmod: the starter's only road to the Windows registry. Every operation
// opens and closes its keys itself, so no key handle ever leaves this module.
// Keys under HKEY_LOCAL_MACHINE are opened in its 32-bit view, in both
// builds.
#pragma once

#include "platform/Win32Api.h"

#include <string>

namespace Rmod {

// Size in bytes of the buffer a value is read into; a value with more data
// than this can't be read.
inline constexpr DWORD RegistryQueryBufferSize = 128000;

// True when the most recent QueryRegistryValue failed; read it right after
// the call.
extern bool RegistryQueryFailed;

// The value as text whatever its type; "" on failure (see RegistryQueryFailed).
std::string QueryRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName);

// Writes a value of type REG_SZ (1), REG_BINARY (3) or REG_DWORD (4),
// creating the key when it is missing. Other type codes write nothing.
// A text written as REG_DWORD must be a whole decimal number in LONG's
// range, else nothing is written. A failure is not reported.
void SetRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                      const std::string& value, DWORD valueType);

void CreateRegistryKey(HKEY root, const std::string& keyPath);
void DeleteRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName);
void DeleteRegistryKey(HKEY root, const std::string& keyPath);
// Under HKEY_LOCAL_MACHINE every key above lives in the 32-bit view. This
// one also deletes the value in the 64-bit view, where the 1.0.0 release's
// 64-bit program wrote its Run entry. Where there is only one view (32-bit
// Windows, other roots) the second deletion finds nothing left. True when
// the value, read back, is in neither view: without the right to write the
// key (HKEY_LOCAL_MACHINE for a user who is not an administrator) the value
// stays, and a caller must not take it as gone.
bool DeleteRegistryValueInBothViews(HKEY root, const std::string& keyPath, const std::string& valueName);

// The write helpers: each takes an open key and gives the platform's status.
LSTATUS WriteRegistryString(HKEY key, const std::string& valueName, DWORD type, const std::string& value);
LSTATUS WriteRegistryDword(HKEY key, const std::string& valueName, DWORD type, LONG value);
LSTATUS WriteRegistryBinary(HKEY key, const std::string& valueName, DWORD type, const std::string& value);

}  // namespace Rmod
