#include "integration/FlagText.h"

namespace {

constexpr const char* kTrueText = "True";
constexpr const char* kFalseText = "False";

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

Boolean TextToFlag(const std::string& text) {
    static constexpr char kUpperTrue[] = "TRUE";
    if (text.size() != sizeof kUpperTrue - 1) return False;
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (AsciiUpper(text[i]) != kUpperTrue[i]) return False;
    }
    return True;
}

std::string FlagToText(Boolean flag) {
    return flag == True ? kTrueText : kFalseText;
}
