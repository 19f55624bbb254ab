#include "harness/Registry.h"

#include <utility>
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

bool RegistryKeyExists(HKEY root, const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
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

bool DeleteRegistryValue(HKEY root, const char* key, const char* name) {
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(root, key, 0, KEY_WRITE, &opened);
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    status = RegDeleteValueA(opened, name);
    RegCloseKey(opened);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteRegistryTree(HKEY root, const char* key) {
    RegDeleteTreeA(root, key);
    LONG status = RegDeleteKeyA(root, key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

SavedRegistryValue::SavedRegistryValue(HKEY root, std::string key, std::string name)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
    keyExisted_ = RegistryKeyExists(root_, key_.c_str());
    saved_ = ReadRegistryValue(root_, key_.c_str(), name_.c_str());
}

SavedRegistryValue::~SavedRegistryValue() {
    if (!keyExisted_) {
        DeleteRegistryTree(root_, key_.c_str());
        return;
    }
    if (!saved_.present) {
        DeleteRegistryValue(root_, key_.c_str(), name_.c_str());
        return;
    }
    HKEY opened = nullptr;
    if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return;
    std::string data = saved_.data;
    bool text = saved_.type == REG_SZ || saved_.type == REG_EXPAND_SZ;
    if (text) data += '\0';  // read without its closing zero
    RegSetValueExA(opened, name_.c_str(), 0, saved_.type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(opened);
}

}  // namespace e2e
