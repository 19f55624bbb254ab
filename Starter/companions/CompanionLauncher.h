// Starting a companion application: a program by its path, a folder with
// the browse application, and asking the user for the browse application
// when it can't be started.
#pragma once

#include "companions/CompanionList.h"

#include <cstdint>

// Launches slot index (1..CompanionCount) of the list as it was last loaded.
// Other indexes, empty slots and slots of no known kind do nothing. A new
// browse application typed by the user is stored through SaveCompanionList.
void LaunchCompanion(CompanionList& list, std::int16_t index);
