// Rmod: registry reads and writes for the rest of the starter. Every key is
// opened and closed inside one call (unique_hkey), every value is read back
// as text whatever its type, and three types can be written.
#include "registry/Rmod.h"

#include "platform/Handles.h"
#include "registry/RegistryText.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace Rmod {

bool RegistryQueryFailed = false;

namespace {

// The registry's own access masks, as numbers, so that the module asks for
// exactly these rights on every platform.
constexpr REGSAM kKeyRead = 0x20019;
constexpr REGSAM kKeyWrite = 0x20006;

// The registry view of every key under a root. The suite's programs are
// 32-bit and keep their settings in the 32-bit view of HKEY_LOCAL_MACHINE,
// so both builds use that view there and see one set of settings (Windows
// runs that view's Run entries at log-on as well). Other roots have one view.
REGSAM ViewOf(HKEY root) { return root == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0; }

// The one road to an open key: in the view asked for, ViewOf(root) unless
// a key of the other view is meant.
platform::unique_hkey OpenKey(HKEY root, const std::string& keyPath, REGSAM access, REGSAM view) {
    platform::unique_hkey key;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, access | view, key.put()) != ERROR_SUCCESS) key.release();
    return key;
}

}  // namespace

std::string QueryRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName) {
    RegistryQueryFailed = true;
    platform::unique_hkey key = OpenKey(root, keyPath, kKeyRead, ViewOf(root));
    if (!key) return std::string();
    // One buffer for every query, made at the first and kept for the life of
    // the process (on the heap: a static array would be stored in the program
    // file). Only the reported length of it is read, so text stored without
    // its zero ends there, and what an earlier query left is never seen.
    static const std::unique_ptr<BYTE[]> buffer(new BYTE[RegistryQueryBufferSize]);
    DWORD type = 0;
    DWORD length = RegistryQueryBufferSize;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, buffer.get(), &length) != ERROR_SUCCESS)
        return std::string();
    if (length > RegistryQueryBufferSize) return std::string();  // never trust a size beyond the buffer
    RegistryQueryFailed = false;
    return RegistryDataToText(type, buffer.get(), length);
}

LSTATUS WriteRegistryString(HKEY key, const std::string& valueName, DWORD type, const std::string& value) {
    // The text and its terminating zero, counted.
    return RegSetValueExA(key, valueName.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}

LSTATUS WriteRegistryDword(HKEY key, const std::string& valueName, DWORD type, LONG value) {
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    BYTE data[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8), static_cast<BYTE>(bits >> 16),
                    static_cast<BYTE>(bits >> 24)};
    return RegSetValueExA(key, valueName.c_str(), 0, type, data, 4);
}

LSTATUS WriteRegistryBinary(HKEY key, const std::string& valueName, DWORD type, const std::string& value) {
    // One byte per character, no terminating zero: "AB" is stored as 41 42.
    static const BYTE none = 0;
    const BYTE* data = value.empty() ? &none : reinterpret_cast<const BYTE*>(value.data());
    return RegSetValueExA(key, valueName.c_str(), 0, type, data, static_cast<DWORD>(value.size()));
}

namespace {

// A text read as a 32-bit signed number for REG_DWORD: an optional sign
// and decimal digits, nothing else, within the range of LONG. Any other text
// is no number, and nothing is written for it rather than a made-up 0.
std::optional<LONG> NumberOfText(const std::string& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<LONG>(value);
}

// Opens the key for writing, creating it (and every missing level) when
// the first open fails.
platform::unique_hkey OpenForWrite(HKEY root, const std::string& keyPath) {
    platform::unique_hkey key = OpenKey(root, keyPath, kKeyWrite, ViewOf(root));
    if (key) return key;
    CreateRegistryKey(root, keyPath);
    return OpenKey(root, keyPath, kKeyWrite, ViewOf(root));
}

void WriteValue(HKEY root, const std::string& keyPath, const std::string& valueName, const std::string& text,
                DWORD valueType) {
    // The key is opened, or made, before the type is looked at: a type code
    // that can't be written still leaves a missing key made, and empty.
    platform::unique_hkey key = OpenForWrite(root, keyPath);
    if (!key) return;
    switch (valueType) {
    case RegistryString: WriteRegistryString(key.get(), valueName, RegistryString, text); break;
    case RegistryBinary: WriteRegistryBinary(key.get(), valueName, RegistryBinary, text); break;
    case RegistryDword:
        if (const std::optional<LONG> number = NumberOfText(text))
            WriteRegistryDword(key.get(), valueName, RegistryDword, *number);
        break;
    default: break;
    }
}

}  // namespace

void SetRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName, const std::string& value,
                      DWORD valueType) {
    WriteValue(root, keyPath, valueName, value, valueType);
}

void CreateRegistryKey(HKEY root, const std::string& keyPath) {
    platform::unique_hkey key;
    DWORD disposition = 0;
    char noClass[] = "";
    if (RegCreateKeyExA(root, keyPath.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, kKeyWrite | ViewOf(root), nullptr,
                        key.put(), &disposition) != ERROR_SUCCESS)
        key.release();
}

void DeleteRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName) {
    platform::unique_hkey key = OpenKey(root, keyPath, kKeyWrite, ViewOf(root));
    if (key) RegDeleteValueA(key.get(), valueName.c_str());
}

void DeleteRegistryKey(HKEY root, const std::string& keyPath) {
    // RegDeleteKeyA can't reach another view than the process's own.
    RegDeleteKeyExA(root, keyPath.c_str(), ViewOf(root), 0);
}

bool DeleteRegistryValueInBothViews(HKEY root, const std::string& keyPath, const std::string& valueName) {
    bool gone = true;
    for (REGSAM view : {ViewOf(root), REGSAM{KEY_WOW64_64KEY}}) {
        if (platform::unique_hkey key = OpenKey(root, keyPath, kKeyWrite, view))
            RegDeleteValueA(key.get(), valueName.c_str());
        platform::unique_hkey key = OpenKey(root, keyPath, kKeyRead, view);
        if (key && RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            gone = false;
    }
    return gone;
}

}  // namespace Rmod
