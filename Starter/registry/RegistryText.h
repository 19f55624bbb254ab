// Registry data as the text a query gives, whatever the value's type. Plain
// bytes in, text out: nothing of Windows is needed to read them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The registry's type codes that the starter reads and writes as such.
enum RegistryType : std::uint32_t { RegistryString = 1, RegistryBinary = 3, RegistryDword = 4 };

// REG_BINARY (3): each byte as two upper-case hex digits, the pairs one blank
// apart ("01 A0 FF"; no data gives ""). REG_DWORD (4): the first four bytes
// as a little-endian signed number in decimal ("-1"), missing bytes counting
// as zero. Any other type: the bytes before the first zero byte, or all of
// them when there is none (REG_MULTI_SZ gives its first string).
std::string RegistryDataToText(std::uint32_t type, const unsigned char* data, std::size_t length);
