// What a companion slot holds, by the number the suite stores as its
// "file type". Any other number is no kind at all.
#pragma once

#include <cstdint>

enum CompanionKind : std::int16_t { CompanionKindEmpty = 0, CompanionKindProgram = 1, CompanionKindFolder = 2 };
