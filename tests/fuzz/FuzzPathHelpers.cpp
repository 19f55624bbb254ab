// The path helpers and ShortenText: the pieces of a path must put it back
// together, and a shortened text must keep to its limit. The first two bytes
// give ShortenText's limit.
#include "companions/PathHelpers.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::int16_t maxLength = 0;
    if (size >= 2) {
        std::uint16_t raw = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
        std::memcpy(&maxLength, &raw, sizeof maxLength);
        data += 2;
        size -= 2;
    }
    std::string path(reinterpret_cast<const char*>(data), size);

    bool hasSlash = path.find('\\') != std::string::npos;
    if (hasSlash && GetFolder(path) + GetFileName(path) != path) std::abort();
    if (!hasSlash && (!GetFolder(path).empty() || !GetFileName(path).empty())) std::abort();

    bool hasDot = path.find('.') != std::string::npos;
    if (hasDot && RemoveExtension(path) + "." + GetExtension(path) != path) std::abort();
    if (!hasDot && (RemoveExtension(path) != path || !GetExtension(path).empty())) std::abort();

    std::string shortened = ShortenText(path, maxLength, {});
    std::size_t limit = maxLength < 3 ? 3 : static_cast<std::size_t>(maxLength);
    if (path.size() <= limit && shortened != path) std::abort();
    if (path.size() > limit) {
        if (shortened.size() != limit || shortened.compare(0, 3, "...") != 0) std::abort();
        if (path.compare(path.size() - (limit - 3), limit - 3, shortened, 3, limit - 3) != 0) std::abort();
    }
    return 0;
}
