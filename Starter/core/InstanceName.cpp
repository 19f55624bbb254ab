#include "core/InstanceName.h"

#include "shared/TextRules.h"

#include <cstdint>

std::string InstanceName(const std::string& programPath) {
    std::uint64_t digest = 0xcbf29ce484222325ULL;
    for (char c : AsciiUpper(programPath)) digest = (digest ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    std::string name = "Local\\QuellmarStarter.";
    for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789ABCDEF"[(digest >> shift) & 0xF];
    return name;
}
