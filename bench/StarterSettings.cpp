#include "StarterSettings.h"

#include <windows.h>

namespace bench {

namespace {

struct Location {
    const char* key;
    const char* value;
};

constexpr Location kLocations[] = {
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Quellmar Starter"},
    {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Run", "Quellmar Starter"},
    {"Software\\Quellmar\\Starter\\StartUp", "auto start target program"},
};

struct View {
    REGSAM flag;
    const char* name;
};

// The 32-bit starter writes to the 32-bit view, the 64-bit one to the
// 64-bit view; both builds run in the same prefix.
constexpr View kViews[] = {{KEY_WOW64_32KEY, "32-bit"}, {KEY_WOW64_64KEY, "64-bit"}};

}  // namespace

std::vector<std::string> ClearStarterAutoLaunch() {
    std::vector<std::string> found;
    for (const View& view : kViews) {
        for (const Location& location : kLocations) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, location.key, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | view.flag, &key) !=
                ERROR_SUCCESS)
                continue;
            if (RegQueryValueExA(key, location.value, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
                const bool deleted = RegDeleteValueA(key, location.value) == ERROR_SUCCESS;
                found.push_back(std::string("HKLM\\") + location.key + " \"" + location.value + "\" (" + view.name +
                                " view)" + (deleted ? "" : " (NOT deleted)"));
            }
            RegCloseKey(key);
        }
    }
    return found;
}

}  // namespace bench
