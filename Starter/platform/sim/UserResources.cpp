// Icons from the program's resources, the cursor and the screen's metrics.
#include "platform/sim/UserState.h"

using namespace sim::user;

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr int kIconSize = 32;
constexpr int kSmallIconSize = 16;

}  // namespace

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT) {
    if (type != IMAGE_ICON) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Only icons of the program module, by number; the system's own images
    // (a NULL module) aren't part of this desktop.
    if (!instance || !name || !IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    State& s = S();
    bool anyIcon = false;
    for (const auto& entry : s.iconResources) anyIcon = anyIcon || entry.second;
    auto found = s.iconResources.find(id);
    if (found == s.iconResources.end() || !found->second) {
        // A module without any resource has no resource section at all.
        SetLastError(anyIcon ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    HICON icon = reinterpret_cast<HICON>(NewHandleValue());
    s.icons[icon] = sim::IconInfo{icon, id, cx ? cx : kIconSize, cy ? cy : kIconSize};
    return icon;
}

BOOL WINAPI DestroyIcon(HICON icon) {
    if (S().icons.erase(icon) == 0) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (!point) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    *point = S().cursor;
    return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN: return kScreenWidth;
    case SM_CYSCREEN: return kScreenHeight;
    case SM_CXICON:
    case SM_CYICON: return kIconSize;
    case SM_CXSMICON:
    case SM_CYSMICON: return kSmallIconSize;
    default: return 0;
    }
}

namespace sim {

void SetCursorPos(int x, int y) {
    user::S().cursor = POINT{x, y};
}

void SetIconResource(WORD id, bool present) {
    user::S().iconResources[id] = present;
}

std::size_t IconCount() {
    return user::S().icons.size();
}

std::vector<IconInfo> Icons() {
    std::vector<IconInfo> all;
    for (const auto& entry : user::S().icons) all.push_back(entry.second);
    return all;
}

}  // namespace sim
