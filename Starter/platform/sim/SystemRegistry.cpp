// The simulated registry: four root trees of keys with typed values, key
// handles with their access rights, and trees that can be made read-only
// (HKEY_LOCAL_MACHINE for a standard user). Names of keys and values are
// compared without case and kept in the case they were created with.
#include "platform/sim/SystemWorld.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace sim::detail {

namespace {

struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::string name;
    int tree = 0;
    Key* parent = nullptr;
    bool deleted = false;  // open handles keep a deleted key alive, as on Windows
    std::map<std::string, std::shared_ptr<Key>> subkeys;  // by lower-case name
    std::map<std::string, Value> values;                  // by lower-case name
};

struct OpenKey {
    std::shared_ptr<Key> key;
    REGSAM access;
};

constexpr int kTreeCount = 4;  // HKEY_CLASSES_ROOT .. HKEY_USERS
std::shared_ptr<Key> trees[kTreeCount];
bool writable[kTreeCount] = {true, true, true, true};

std::map<HKEY, OpenKey> openKeys;
// Never reset: a key handle that survived a reset must not name a new key.
ULONG_PTR nextKeyHandle = 0x2000;

constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE |
                                0x00040000 /* WRITE_DAC */ | 0x00080000 /* WRITE_OWNER */;

// Generic rights as the registry maps them.
REGSAM SpecificRights(REGSAM access) {
    if (access & 0x80000000) access |= KEY_READ;        // GENERIC_READ
    if (access & 0x40000000) access |= KEY_WRITE;       // GENERIC_WRITE
    if (access & 0x20000000) access |= KEY_READ;        // GENERIC_EXECUTE
    if (access & 0x10000000) access |= KEY_ALL_ACCESS;  // GENERIC_ALL
    return access;
}

bool AsksToWrite(REGSAM access) { return (SpecificRights(access) & kWriteRights) != 0; }

int TreeOfRoot(HKEY key) {
    ULONG_PTR value = reinterpret_cast<ULONG_PTR>(key) & 0xFFFFFFFFu;
    if (value >= 0x80000000u && value <= 0x80000003u) return static_cast<int>(value - 0x80000000u);
    return -1;
}

bool IsRoot(HKEY key) { return TreeOfRoot(key) >= 0; }

// The key a handle stands for, with the rights it was opened with.
LSTATUS Resolve(HKEY handle, std::shared_ptr<Key>* key, REGSAM* access) {
    int tree = TreeOfRoot(handle);
    if (tree >= 0) {
        *key = trees[tree];
        *access = KEY_ALL_ACCESS;
        return ERROR_SUCCESS;
    }
    auto found = openKeys.find(handle);
    if (found == openKeys.end()) return ERROR_INVALID_HANDLE;
    if (found->second.key->deleted) return ERROR_KEY_DELETED;
    *key = found->second.key;
    *access = SpecificRights(found->second.access);
    return ERROR_SUCCESS;
}

// The levels of a key path: "\" between them; empty levels (doubled or
// trailing "\") are skipped, a leading "\" is an error, as Windows has it.
LSTATUS SplitKeyPath(LPCSTR path, std::vector<std::string>* levels) {
    levels->clear();
    if (path == nullptr) return ERROR_SUCCESS;
    if (path[0] == '\\') return ERROR_BAD_PATHNAME;
    std::string current;
    for (const char* p = path;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (!current.empty()) levels->push_back(current);
            current.clear();
            if (*p == '\0') break;
        } else {
            current += *p;
        }
    }
    return ERROR_SUCCESS;
}

std::shared_ptr<Key> FindSubkey(const std::shared_ptr<Key>& base, const std::vector<std::string>& levels) {
    std::shared_ptr<Key> key = base;
    for (const std::string& level : levels) {
        auto found = key->subkeys.find(Lower(level));
        if (found == key->subkeys.end()) return nullptr;
        key = found->second;
    }
    return key;
}

HKEY NewKeyHandle(const std::shared_ptr<Key>& key, REGSAM access) {
    HKEY handle = reinterpret_cast<HKEY>(nextKeyHandle);
    nextKeyHandle += 4;
    openKeys[handle] = OpenKey{key, access};
    return handle;
}

void MarkDeleted(Key& key) {
    key.deleted = true;
    for (auto& sub : key.subkeys) MarkDeleted(*sub.second);
}

void Unlink(Key& key) {
    MarkDeleted(key);
    if (key.parent != nullptr) key.parent->subkeys.erase(Lower(key.name));
}

std::shared_ptr<Key> AddSubkey(const std::shared_ptr<Key>& parent, const std::string& name) {
    auto key = std::make_shared<Key>();
    key->name = name;
    key->tree = parent->tree;
    key->parent = parent.get();
    parent->subkeys[Lower(name)] = key;
    return key;
}

void AddPath(int tree, const std::string& path) {
    std::vector<std::string> levels;
    SplitKeyPath(path.c_str(), &levels);
    std::shared_ptr<Key> key = trees[tree];
    for (const std::string& level : levels) {
        auto found = key->subkeys.find(Lower(level));
        key = found != key->subkeys.end() ? found->second : AddSubkey(key, level);
    }
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The key a handle stands for and the levels of a path below it.
LSTATUS ResolvePath(HKEY handle, LPCSTR path, std::shared_ptr<Key>* base, REGSAM* access,
                    std::vector<std::string>* levels) {
    LSTATUS status = Resolve(handle, base, access);
    if (status != ERROR_SUCCESS) return status;
    return SplitKeyPath(path, levels);
}

}  // namespace

void ResetRegistry() {
    for (auto& entry : openKeys) entry.second.key->deleted = true;
    openKeys.clear();
    for (int tree = 0; tree < kTreeCount; ++tree) {
        if (trees[tree]) MarkDeleted(*trees[tree]);
        trees[tree] = std::make_shared<Key>();
        trees[tree]->tree = tree;
        writable[tree] = true;
    }
    const int machine = 2, user = 1;
    AddPath(machine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    AddPath(machine, "Software\\Microsoft\\Windows NT\\CurrentVersion");
    AddPath(user, "Software");
}

}  // namespace sim::detail

namespace sim {

void SetRegistryWritable(HKEY root, bool isWritable) {
    int tree = detail::TreeOfRoot(root);
    if (tree >= 0) detail::writable[tree] = isWritable;
}

std::size_t OpenKeyCount() { return detail::openKeys.size(); }

}  // namespace sim

using sim::detail::Key;
using sim::detail::Value;

LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    using namespace sim::detail;
    if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::shared_ptr<Key> base;
    REGSAM baseAccess = 0;
    std::vector<std::string> levels;
    LSTATUS status = ResolvePath(hKey, lpSubKey, &base, &baseAccess, &levels);
    if (status != ERROR_SUCCESS) return status;
    if (levels.empty() && IsRoot(hKey)) {
        *phkResult = hKey;  // a root opened by itself is the root's own handle
        return ERROR_SUCCESS;
    }
    std::shared_ptr<Key> key = FindSubkey(base, levels);
    if (!key) return ERROR_FILE_NOT_FOUND;
    if (AsksToWrite(samDesired) && !writable[key->tree]) return ERROR_ACCESS_DENIED;
    *phkResult = NewKeyHandle(key, samDesired);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired,
                               const SECURITY_ATTRIBUTES*, PHKEY phkResult, LPDWORD lpdwDisposition) {
    using namespace sim::detail;
    if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::shared_ptr<Key> base;
    REGSAM baseAccess = 0;
    std::vector<std::string> levels;
    LSTATUS status = ResolvePath(hKey, lpSubKey, &base, &baseAccess, &levels);
    if (status != ERROR_SUCCESS) return status;

    std::shared_ptr<Key> existing = FindSubkey(base, levels);
    if (!writable[base->tree] && (!existing || AsksToWrite(samDesired))) return ERROR_ACCESS_DENIED;
    std::shared_ptr<Key> key = base;
    for (const std::string& level : levels) {
        auto found = key->subkeys.find(Lower(level));
        key = found != key->subkeys.end() ? found->second : AddSubkey(key, level);
    }
    if (lpdwDisposition != nullptr) *lpdwDisposition = existing ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *phkResult = NewKeyHandle(key, samDesired);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                                LPDWORD lpcbData) {
    using namespace sim::detail;
    std::shared_ptr<Key> key;
    REGSAM access = 0;
    LSTATUS status = Resolve(hKey, &key, &access);
    if (status != ERROR_SUCCESS) return status;
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) return ERROR_INVALID_PARAMETER;
    if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    auto found = key->values.find(Lower(lpValueName != nullptr ? lpValueName : ""));
    if (found == key->values.end()) return ERROR_FILE_NOT_FOUND;
    const Value& value = found->second;
    DWORD size = static_cast<DWORD>(value.data.size());
    if (lpType != nullptr) *lpType = value.type;
    if (lpData == nullptr) {
        if (lpcbData != nullptr) *lpcbData = size;
        return ERROR_SUCCESS;
    }
    if (*lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (size > 0) std::memcpy(lpData, value.data.data(), size);
    // Text that was stored without its zero gets one in the buffer when
    // there is room; the size reported stays that of the data.
    if (IsStringType(value.type) && size > 0 && size < *lpcbData && lpData[size - 1] != 0) lpData[size] = 0;
    *lpcbData = size;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    using namespace sim::detail;
    std::shared_ptr<Key> key;
    REGSAM access = 0;
    LSTATUS status = Resolve(hKey, &key, &access);
    if (status != ERROR_SUCCESS) return status;
    if ((access & KEY_SET_VALUE) == 0 || !writable[key->tree]) return ERROR_ACCESS_DENIED;
    if (lpData == nullptr && cbData != 0) return ERROR_NOACCESS;
    // Text written without counting its zero gets it counted when the zero
    // is there right behind the data, as Windows does.
    if (IsStringType(dwType) && cbData > 0 && lpData[cbData - 1] != 0 && lpData[cbData] == 0) ++cbData;
    std::string name = lpValueName != nullptr ? lpValueName : "";
    Value& value = key->values[Lower(name)];
    if (value.name.empty()) value.name = name;
    value.type = dwType;
    value.data.assign(lpData, lpData + cbData);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    using namespace sim::detail;
    std::shared_ptr<Key> key;
    REGSAM access = 0;
    LSTATUS status = Resolve(hKey, &key, &access);
    if (status != ERROR_SUCCESS) return status;
    if ((access & KEY_SET_VALUE) == 0 || !writable[key->tree]) return ERROR_ACCESS_DENIED;
    return key->values.erase(Lower(lpValueName != nullptr ? lpValueName : "")) != 0 ? ERROR_SUCCESS
                                                                                    : ERROR_FILE_NOT_FOUND;
}

LSTATUS WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    using namespace sim::detail;
    if (lpSubKey == nullptr) return ERROR_INVALID_PARAMETER;
    std::shared_ptr<Key> base;
    REGSAM access = 0;
    std::vector<std::string> levels;
    LSTATUS status = ResolvePath(hKey, lpSubKey, &base, &access, &levels);
    if (status != ERROR_SUCCESS) return status;
    std::shared_ptr<Key> key = FindSubkey(base, levels);
    if (!key) return ERROR_FILE_NOT_FOUND;
    // A root can't go; nor can a key with subkeys.
    if (key->parent == nullptr || !key->subkeys.empty() || !writable[key->tree]) return ERROR_ACCESS_DENIED;
    Unlink(*key);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteKeyExA(HKEY hKey, LPCSTR lpSubKey, REGSAM, DWORD) {
    return RegDeleteKeyA(hKey, lpSubKey);
}

LSTATUS WINAPI RegDeleteTreeA(HKEY hKey, LPCSTR lpSubKey) {
    using namespace sim::detail;
    std::shared_ptr<Key> base;
    REGSAM access = 0;
    std::vector<std::string> levels;
    LSTATUS status = ResolvePath(hKey, lpSubKey, &base, &access, &levels);
    if (status != ERROR_SUCCESS) return status;
    std::shared_ptr<Key> key = FindSubkey(base, levels);
    if (!key) return ERROR_FILE_NOT_FOUND;
    if (!writable[key->tree]) return ERROR_ACCESS_DENIED;
    if (lpSubKey == nullptr) {
        // Without a subkey name the key stays and everything in it goes.
        for (auto& sub : key->subkeys) MarkDeleted(*sub.second);
        key->subkeys.clear();
        key->values.clear();
        return ERROR_SUCCESS;
    }
    if (key->parent == nullptr) return ERROR_ACCESS_DENIED;
    Unlink(*key);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                                LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                                LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                                PFILETIME lpftLastWriteTime) {
    using namespace sim::detail;
    std::shared_ptr<Key> key;
    REGSAM access = 0;
    LSTATUS status = Resolve(hKey, &key, &access);
    if (status != ERROR_SUCCESS) return status;
    if (lpReserved != nullptr) return ERROR_INVALID_PARAMETER;
    if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    if (lpClass != nullptr && lpcchClass != nullptr && *lpcchClass > 0) lpClass[0] = '\0';
    if (lpcchClass != nullptr) *lpcchClass = 0;
    DWORD maxSubkey = 0, maxName = 0, maxData = 0;
    for (const auto& sub : key->subkeys) maxSubkey = std::max(maxSubkey, static_cast<DWORD>(sub.second->name.size()));
    for (const auto& value : key->values) {
        maxName = std::max(maxName, static_cast<DWORD>(value.second.name.size()));
        maxData = std::max(maxData, static_cast<DWORD>(value.second.data.size()));
    }
    if (lpcSubKeys != nullptr) *lpcSubKeys = static_cast<DWORD>(key->subkeys.size());
    if (lpcbMaxSubKeyLen != nullptr) *lpcbMaxSubKeyLen = maxSubkey;
    if (lpcbMaxClassLen != nullptr) *lpcbMaxClassLen = 0;
    if (lpcValues != nullptr) *lpcValues = static_cast<DWORD>(key->values.size());
    if (lpcbMaxValueNameLen != nullptr) *lpcbMaxValueNameLen = maxName;
    if (lpcbMaxValueLen != nullptr) *lpcbMaxValueLen = maxData;
    if (lpcbSecurityDescriptor != nullptr) *lpcbSecurityDescriptor = 0;
    if (lpftLastWriteTime != nullptr) *lpftLastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY hKey) {
    using namespace sim::detail;
    if (IsRoot(hKey)) return ERROR_SUCCESS;
    return openKeys.erase(hKey) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
