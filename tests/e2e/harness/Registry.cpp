#include "harness/Registry.h"

#include <vector>

namespace e2e {

RegistryValue ReadRegistryValue(HKEY root, const char* key, const char* name) {
    RegistryValue value;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return value;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(opened, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 1);
        if (RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            value.present = true;
            value.type = type;
            value.data.assign(data.data(), size);
            bool text = type == REG_SZ || type == REG_EXPAND_SZ;
            if (text && !value.data.empty() && value.data.back() == '\0') value.data.pop_back();
        }
    }
    RegCloseKey(opened);
    return value;
}

bool WriteRegistryString(HKEY root, const char* key, const char* name, const std::string& text) {
    HKEY opened = nullptr;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1));
    RegCloseKey(opened);
    return status == ERROR_SUCCESS;
}

void ClearStarterRegistry() {
    for (const char* key : {kRunKey, kRunKeyNt}) {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_WRITE, &opened) == ERROR_SUCCESS) {
            RegDeleteValueA(opened, kRunValue);
            RegCloseKey(opened);
        }
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
}

}  // namespace e2e
