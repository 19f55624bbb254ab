// Names that no other test, run or process uses at the same time.
#pragma once

#include <string>

namespace support {

// "<process id>-<tick>-<counter>" on Windows, "<counter>" in the simulation
// (whose world belongs to one process).
std::string UniqueName();

}  // namespace support
