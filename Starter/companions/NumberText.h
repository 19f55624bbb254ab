// Reading numbers out of texts that other programs write: the companion
// list's kinds and icon indexes, and the index after the comma of a file
// type's icon.
#pragma once

#include <cstdint>
#include <string_view>

// The number at the start of text, rounded to the nearest integer (halves to
// the even neighbour) and held to low..high: a value beyond them gives the
// limit on its side. Blanks, tabs and line feeds are ignored wherever they
// stand. Then either an optional sign, decimal digits, a decimal point and an
// exponent ("E" or "e", optional sign, digits), taken up to the first
// character that can't continue the number; or "&H"/"&O" followed by
// hexadecimal or octal digits. A text without a number at its start gives 0.
// The rounding is exact, however many digits the text holds.
std::int32_t ReadRoundedNumber(std::string_view text, std::int32_t low, std::int32_t high);

// Icon indexes keep within +-32767: -32768 has no positive twin.
inline constexpr std::int16_t kMinIconIndex = -32767;
inline constexpr std::int16_t kMaxIconIndex = 32767;

// A companion's kind: the first 4 characters of the stored text as a
// number, rounded ('12345' gives 1234; '9E99' gives 32767).
std::int16_t ReadCompanionFileType(std::string_view text);

// A companion's icon index: the first 8 characters of the stored text as a
// number, rounded and limited to -32767..32767.
std::int16_t ReadCompanionIconIndex(std::string_view text);

// The index after the comma of a file type's icon: the whole text as a
// number, rounded and limited to -32767..32767.
std::int16_t ReadIconIndex(std::string_view text);
