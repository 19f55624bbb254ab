#include "companions/PathHelpers.h"

namespace {

constexpr const char* kEllipsis = "...";
constexpr std::string::size_type kEllipsisLength = 3;

}  // namespace

std::string GetFileName(const std::string& path) {
    std::string::size_type slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}

std::string GetFolder(const std::string& path) {
    std::string::size_type slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string GetExtension(const std::string& path) {
    std::string::size_type dot = path.find_last_of('.');
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string RemoveExtension(const std::string& path) {
    std::string::size_type dot = path.find_last_of('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string ShortenText(const std::string& text, std::int16_t maxLength) {
    // Below three there is no room for anything but the ellipsis itself.
    std::string::size_type limit = maxLength < 3 ? kEllipsisLength : static_cast<std::string::size_type>(maxLength);
    if (text.size() <= limit) return text;
    std::string::size_type keep = limit - kEllipsisLength;
    return kEllipsis + text.substr(text.size() - keep);
}
