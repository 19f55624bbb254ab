// The auto-start setting's Boolean as the registry stores it: the text
// "True" or "False".
#pragma once

#include "shared/Boolean.h"

#include <string>

// True for every letter case of "true"; False for any other text.
Boolean TextToFlag(const std::string& text);

// "True" for True (-1) only; "False" for everything else, other non-zero
// values included.
std::string FlagToText(Boolean flag);
