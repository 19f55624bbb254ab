// The starter's Boolean, a type every folder shares: a 16-bit value, True
// with all bits set, False 0. Settings compare with True itself, so only -1
// counts as True there.
#pragma once

#include <cstdint>

using Boolean = std::int16_t;
inline constexpr Boolean True = -1;
inline constexpr Boolean False = 0;
