#include "support/UniqueName.h"

#include "platform/Win32Api.h"

namespace support {

std::string UniqueName() {
    static unsigned counter = 0;
    ++counter;
#ifdef _WIN32
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" + std::to_string(counter);
#else
    return std::to_string(counter);
#endif
}

}  // namespace support
