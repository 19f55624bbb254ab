// The notification area: icons keyed by (window, identifier), and the
// callback message it sends to an icon's window for a mouse action.
#include "platform/sim/UserState.h"

#include <algorithm>
#include <cstring>

using namespace sim::user;

namespace {

std::vector<sim::TrayIcon>::iterator FindIcon(HWND hwnd, UINT id) {
    std::vector<sim::TrayIcon>& icons = S().trayIcons;
    return std::find_if(icons.begin(), icons.end(),
                        [&](const sim::TrayIcon& icon) { return icon.hwnd == hwnd && icon.uID == id; });
}

void Apply(sim::TrayIcon& icon, const NOTIFYICONDATAA& data) {
    if (data.uFlags & NIF_MESSAGE) icon.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON) icon.icon = data.hIcon;
    if (data.uFlags & NIF_TIP) icon.tip.assign(data.szTip, strnlen(data.szTip, sizeof data.szTip));
}

BOOL Notify(DWORD message, const NOTIFYICONDATAA& data) {
    if (!S().taskbarPresent) return FALSE;
    auto found = FindIcon(data.hWnd, data.uID);
    const bool exists = found != S().trayIcons.end();
    switch (message) {
    case NIM_ADD: {
        if (exists) return FALSE;
        sim::TrayIcon icon;
        icon.hwnd = data.hWnd;
        icon.uID = data.uID;
        Apply(icon, data);
        S().trayIcons.push_back(icon);
        return TRUE;
    }
    case NIM_MODIFY:
        if (!exists) return FALSE;
        Apply(*found, data);
        return TRUE;
    case NIM_DELETE:
        if (!exists) return FALSE;
        S().trayIcons.erase(found);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

BOOL WINAPI Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data) {
    if (!data) return FALSE;
    sim::TrayCall call;
    call.message = message;
    if (data->cbSize >= NOTIFYICONDATAA_V1_SIZE) {
        std::memcpy(&call.data, data, NOTIFYICONDATAA_V1_SIZE);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
        call.bytes.assign(bytes, bytes + NOTIFYICONDATAA_V1_SIZE);
        // A record shorter than the first version's can't be read.
        call.result = Notify(message, *data);
    } else {
        std::memcpy(&call.data, data, sizeof data->cbSize);
        call.result = FALSE;
    }
    S().trayCalls.push_back(call);
    return call.result;
}

namespace sim {

void SetTaskbarPresent(bool present) {
    user::S().taskbarPresent = present;
    if (!present) user::S().trayIcons.clear();
}

std::vector<TrayIcon> TrayIcons() {
    return user::S().trayIcons;
}

const std::vector<TrayCall>& TrayCalls() {
    return user::S().trayCalls;
}

void ClearTrayCalls() {
    user::S().trayCalls.clear();
}

bool ClickTrayIcon(HWND hwnd, UINT uID, UINT mouseMessage) {
    auto found = FindIcon(hwnd, uID);
    if (found == user::S().trayIcons.end() || found->callbackMessage == 0 || !user::FindWindowPtr(hwnd)) return false;
    const UINT callback = found->callbackMessage;
    user::Deliver(hwnd, callback, uID, static_cast<LPARAM>(mouseMessage));
    return true;
}

}  // namespace sim
