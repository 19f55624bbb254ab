#include "companions/PathHelpers.h"

#include <vector>

namespace {

constexpr const char* kEllipsis = "...";
constexpr std::string::size_type kEllipsisLength = 3;

unsigned char ByteAt(const std::string& text, std::string::size_type at) {
    return static_cast<unsigned char>(text[at]);
}

// The bytes of the character that starts at text[at]. A byte that can't
// start a character of the rule (a stray UTF-8 trail byte, a lead byte at
// the end) counts as a character of its own.
std::string::size_type CharacterLength(const std::string& text, std::string::size_type at, const CodePageRule& rule) {
    const unsigned char lead = ByteAt(text, at);
    if (rule.kind == CodePageRule::Kind::DoubleByte) return rule.leadBytes[lead] && at + 1 < text.size() ? 2 : 1;
    if (rule.kind == CodePageRule::Kind::SingleByte) return 1;
    const std::string::size_type length = lead >= 0xC2 && lead <= 0xDF   ? 2
                                          : lead >= 0xE0 && lead <= 0xEF ? 3
                                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                         : 1;
    std::string::size_type n = 1;
    while (n < length && at + n < text.size() && (ByteAt(text, at + n) & 0xC0) == 0x80) ++n;
    return n;
}

// Where each character of text begins, in order.
std::vector<std::string::size_type> CharacterStarts(const std::string& text, const CodePageRule& rule) {
    std::vector<std::string::size_type> starts;
    for (std::string::size_type at = 0; at < text.size(); at += CharacterLength(text, at, rule)) starts.push_back(at);
    return starts;
}

}  // namespace

std::string SingleByteCharacters(const std::string& text, const CodePageRule& rule) {
    std::string view = text;
    for (std::string::size_type at = 0, length = 0; at < text.size(); at += length) {
        length = CharacterLength(text, at, rule);
        if (length > 1) view.replace(at, length, length, '\x80');
    }
    return view;
}

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
