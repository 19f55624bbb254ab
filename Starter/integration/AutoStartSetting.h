// Whether the starter launches Quellmar as soon as it starts: one Boolean,
// kept in the registry as the text "True" or "False".
#pragma once

#include "shared/Boolean.h"

inline constexpr const char* AutoStartKey = "Software\\Quellmar\\Starter\\StartUp\\";
inline constexpr const char* AutoStartValueName = "auto start target program";

// The stored setting; False when it is missing or can't be read.
Boolean LoadAutoStartSetting();

// Stores the setting, replacing the key with one that holds only its value.
// A failure is not reported.
void SaveAutoStartSetting(Boolean autoStartTarget);
