// Number reading of the companion list and of the icon index: any bytes must
// give a value within the limits asked for, never a fault, and narrower
// limits must only hold the same reading.
#include "companions/NumberText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::int32_t wide =
        ReadRoundedNumber(text, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    if (ReadIconIndex(text) != std::clamp<std::int32_t>(wide, kMinIconIndex, kMaxIconIndex)) std::abort();

    const std::int16_t fileType = ReadCompanionFileType(text);
    if (fileType != ReadRoundedNumber(text.substr(0, 4), -32768, 32767)) std::abort();

    const std::int16_t iconIndex = ReadCompanionIconIndex(text);
    if (iconIndex < kMinIconIndex || iconIndex > kMaxIconIndex) std::abort();
    return 0;
}
