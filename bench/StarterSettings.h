// The starter's settings that would make a start do more than come up in
// the tray: its Run entries (which a session start of the prefix would
// follow, starting a second, unmeasured starter) and the setting that makes
// it launch Quellmar at every start. The probe removes them before every
// start of the starter and after the last one.
#pragma once

#include <string>
#include <vector>

namespace bench {

// Deletes the value "Quellmar Starter" of both Run keys and the auto-start
// value, in the 32-bit and the 64-bit view of HKEY_LOCAL_MACHINE. Gives
// the locations where one was found and deleted (empty when there were
// none), or could not be deleted ("... (NOT deleted)").
std::vector<std::string> ClearStarterAutoLaunch();

}  // namespace bench
