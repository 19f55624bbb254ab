// The icon split: any icon text must give a trimmed file and an index within
// -32767..32767, and leave the caller's index alone without a comma.
#include "companions/FileAssociation.h"
#include "companions/NumberText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string icon(reinterpret_cast<const char*>(data), size);
    std::string iconFile = " caller ";
    std::int16_t iconIndex = 12345;
    SplitIcon(icon, iconFile, iconIndex);

    std::string::size_type comma = icon.find(',');
    if (comma == std::string::npos) {
        if (iconFile != "caller" || iconIndex != 12345) std::abort();
    } else {
        if (iconIndex < kMinIconIndex || iconIndex > kMaxIconIndex) std::abort();
        // The file is a piece of what stands before the first comma.
        if (icon.substr(0, comma).find(iconFile) == std::string::npos) std::abort();
    }
    if (!iconFile.empty() && (iconFile.front() == ' ' || iconFile.back() == ' ')) std::abort();
    return 0;
}
