#include "support/FreshSystem.h"

#include "platform/Win32Api.h"

#ifndef _WIN32
#include "platform/sim/SimSystem.h"
#endif

#include <vector>

namespace support {

FreshSystem::FreshSystem() {
#ifndef _WIN32
    // Runs before the derived fixture's members, so their scratch keys and
    // folders are made in the fresh world.
    sim::ResetSystem();
#endif
    savedDirectory_ = CurrentDirectory();
}

FreshSystem::~FreshSystem() { SetCurrentDirectoryA(savedDirectory_.c_str()); }

std::string FreshSystem::CurrentDirectory() {
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    std::vector<char> buffer(size + 1);
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length);
}

}  // namespace support
