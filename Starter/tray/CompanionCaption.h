// The caption of a companion's entry in the popup menu, and whether the
// entry can be chosen.
#pragma once

#include "companions/PathHelpers.h"

#include <cstdint>
#include <string>

struct CompanionMenuEntry {
    std::string Caption;
    bool Enabled = false;
};

// The entry for a slot of this kind and path, given the caption the entry
// had at the previous opening. A program shows its file name without
// extension (at most 50 characters of the code page, else "..." and its
// last 47), a folder
// its last level (or the whole path when that is empty); a kind the starter
// doesn't know keeps the previous caption. An entry left without a caption
// reads "[not defined]" and is disabled.
CompanionMenuEntry CompanionCaption(std::int16_t kind, const std::string& path, const std::string& previousCaption,
                                    const CodePageRule& codePage);
