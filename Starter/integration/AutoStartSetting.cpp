#include "integration/AutoStartSetting.h"

#include "integration/FlagText.h"
#include "registry/Rmod.h"

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
