// Number reading of the companion list and of the icon index: any bytes must
// give a value, never a fault, and the list's readings must stay in range.
#include "companions/NumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    double value = ReadNumber(text);
    if (std::isnan(value)) std::abort();

    std::int32_t rounded = RoundToInt32(value);
    if (std::isfinite(value) && std::fabs(value - rounded) > 0.5 && value > -2147483648.0 && value < 2147483647.0)
        std::abort();

    std::int16_t fileType = ReadCompanionFileType(text);
    if (fileType != RoundToInt16(ReadNumber(text.substr(0, 4)))) std::abort();

    std::int16_t iconIndex = ReadCompanionIconIndex(text);
    if (iconIndex < kMinIconIndex || iconIndex > kMaxIconIndex) std::abort();
    return 0;
}
