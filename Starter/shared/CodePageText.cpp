#include "shared/CodePageText.h"

namespace {

unsigned char ByteAt(const std::string& text, std::string::size_type at) {
    return static_cast<unsigned char>(text[at]);
}

// The bytes of the character that starts at text[at].
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

}  // namespace

std::vector<std::string::size_type> CharacterStarts(const std::string& text, const CodePageRule& rule) {
    std::vector<std::string::size_type> starts;
    for (std::string::size_type at = 0; at < text.size(); at += CharacterLength(text, at, rule)) starts.push_back(at);
    return starts;
}

std::string SingleByteCharacters(const std::string& text, const CodePageRule& rule) {
    std::string view = text;
    for (std::string::size_type at = 0, length = 0; at < text.size(); at += length) {
        length = CharacterLength(text, at, rule);
        if (length > 1) view.replace(at, length, length, '\x80');
    }
    return view;
}
