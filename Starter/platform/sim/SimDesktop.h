// Control of the simulated desktop, for native tests: set the world up,
// script the user's answers, and read back what the starter did. The
// program's code never includes this header.
#pragma once

#include "platform/sim/SimSystem.h"
#include "platform/sim/SimUser.h"

namespace sim {

// Back to a fresh desktop: the registry, files, processes, windows, menus,
// the tray and every scripted answer as after Reset's defaults.
void Reset();

}  // namespace sim
