#include "companions/PathHelpers.h"

#include <vector>

namespace {

constexpr const char* kEllipsis = "...";
constexpr std::string::size_type kEllipsisLength = 3;

}  // namespace

std::string GetFileName(const std::string& path, const CodePageRule& rule) {
    std::string::size_type slash = SingleByteCharacters(path, rule).find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}

std::string GetFolder(const std::string& path, const CodePageRule& rule) {
    std::string::size_type slash = SingleByteCharacters(path, rule).find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string GetExtension(const std::string& path, const CodePageRule& rule) {
    std::string::size_type dot = SingleByteCharacters(path, rule).find_last_of('.');
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string RemoveExtension(const std::string& path, const CodePageRule& rule) {
    std::string::size_type dot = SingleByteCharacters(path, rule).find_last_of('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string ShortenText(const std::string& text, std::int16_t maxLength, const CodePageRule& rule) {
    // Below three there is no room for anything but the ellipsis itself.
    std::string::size_type limit = maxLength < 3 ? kEllipsisLength : static_cast<std::string::size_type>(maxLength);
    std::vector<std::string::size_type> starts = CharacterStarts(text, rule);
    const std::string::size_type count = starts.size();
    if (count <= limit) return text;
    starts.push_back(text.size());  // keeping no character at all (a limit of 3) keeps nothing
    return kEllipsis + text.substr(starts[count - (limit - kEllipsisLength)]);
}

std::string RemoveLastCharacter(const std::string& text, const CodePageRule& rule) {
    const std::vector<std::string::size_type> starts = CharacterStarts(text, rule);
    return starts.empty() ? text : text.substr(0, starts.back());
}
