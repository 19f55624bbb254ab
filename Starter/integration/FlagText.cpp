#include "integration/FlagText.h"

#include "shared/TextRules.h"

namespace {

constexpr const char* kTrueText = "True";
constexpr const char* kFalseText = "False";

}  // namespace

Boolean TextToFlag(const std::string& text) {
    return AsciiUpper(text) == "TRUE" ? True : False;
}

std::string FlagToText(Boolean flag) {
    return flag == True ? kTrueText : kFalseText;
}
