// Registry data as text, for every type and length: the first four bytes
// give the type, the rest is the data. A binary value must give its hex
// pairs, a DWORD a decimal number, and nothing may read past the data.
#include "registry/Rmod.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DWORD type = 0;
    if (size >= 4) {
        std::memcpy(&type, data, 4);
        data += 4;
        size -= 4;
    }
    // A copy of exactly the data's length (none at all for empty data), so
    // ASan sees any read beyond it.
    std::unique_ptr<BYTE[]> copy(new BYTE[size]);
    if (size) std::memcpy(copy.get(), data, size);
    DWORD length = static_cast<DWORD>(size);
    std::string text = Rmod::RegistryDataToText(type, copy.get(), length);

    if (type == REG_BINARY) {
        std::size_t expected = size == 0 ? 0 : size * 3 - 1;
        if (text.size() != expected) std::abort();
    } else if (type == REG_DWORD) {
        if (text.empty() || text.size() > 11) std::abort();
        std::int32_t v = 0;
        std::memcpy(&v, copy.get(), size < 4 ? size : 4);
        if (text != std::to_string(v)) std::abort();
    } else {
        if (text.size() > size || text.find('\0') != std::string::npos) std::abort();
    }
    return 0;
}
