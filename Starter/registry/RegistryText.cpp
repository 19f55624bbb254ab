#include "registry/RegistryText.h"

namespace {

std::string HexPairs(const unsigned char* data, std::size_t length) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 3);
    for (std::size_t i = 0; i < length; ++i) {
        if (i > 0) text += ' ';
        text += digits[data[i] >> 4];
        text += digits[data[i] & 0x0F];
    }
    return text;
}

std::string SignedDecimal(const unsigned char* data, std::size_t length) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4 && i < length; ++i) bits |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    return std::to_string(static_cast<std::int32_t>(bits));
}

std::string TextBeforeZero(const unsigned char* data, std::size_t length) {
    std::size_t end = 0;
    while (end < length && data[end] != 0) ++end;
    return std::string(reinterpret_cast<const char*>(data), end);
}

}  // namespace

std::string RegistryDataToText(std::uint32_t type, const unsigned char* data, std::size_t length) {
    if (data == nullptr) length = 0;
    switch (type) {
    case RegistryBinary: return HexPairs(data, length);
    case RegistryDword: return SignedDecimal(data, length);
    default: return TextBeforeZero(data, length);
    }
}
