#include "integration/AutoStartSetting.h"

#include "registry/Rmod.h"

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

Boolean LoadAutoStartSetting() {
    std::string text = Rmod::QueryRegistryValue(HKEY_LOCAL_MACHINE, AutoStartKey, AutoStartValueName);
    if (Rmod::RegistryQueryFailed) return False;
    return TextToFlag(text);
}

void SaveAutoStartSetting(Boolean autoStartTarget) {
    Rmod::DeleteRegistryKey(HKEY_LOCAL_MACHINE, AutoStartKey);
    Rmod::CreateRegistryKey(HKEY_LOCAL_MACHINE, AutoStartKey);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, AutoStartKey, AutoStartValueName, FlagToText(autoStartTarget), REG_SZ);
}
