// Whether the starter launches Quellmar as soon as it starts: one Boolean,
// kept in the registry as the text "True" or "False".
#pragma once

#include "core/Boolean.h"

#include <string>

inline constexpr const char* AutoStartKey = "Software\\Quellmar\\Starter\\StartUp\\";
inline constexpr const char* AutoStartValueName = "auto start target program";

// True for every letter case of "true"; False for any other text.
Boolean TextToFlag(const std::string& text);

// "True" for True (-1) only; "False" for everything else, other non-zero
// values included.
std::string FlagToText(Boolean flag);

// The stored setting; False when it is missing or can't be read.
Boolean LoadAutoStartSetting();

// Stores the setting, replacing the key with one that holds only its value.
// A failure is not reported.
void SaveAutoStartSetting(Boolean autoStartTarget);
