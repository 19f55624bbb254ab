// The tray icon: one icon, identifier 1, on the main window, with the
// tooltip "Quellmar Starter". The notification area reports mouse actions on
// it as TrayCallbackMessage, which reaches Mfrm through the subclassing
// engine under the source name below, one registration however often the
// icon is added again.
#include "core/Mfrm.h"
#include "platform/Handles.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kTraySource = "KZSystray_TargetObject";
constexpr UINT kTrayIconId = 1;
// A shell that is busy (at log-on, just after a restart) refuses the icon
// for a while: it is tried again every few seconds for a minute, then every
// half minute, and the timer goes once the icon is there.
constexpr UINT kIconRetrySoonMs = 2000;
constexpr ULONGLONG kIconRetrySoonForMs = 60000;
constexpr UINT kIconRetryLaterMs = 30000;

// The record as the notification area's first version knows it: 88 bytes on
// the 32-bit build. The tooltip field is the text, a zero byte and blanks.
NOTIFYICONDATAA TrayRecord(platform::FormWindow& form, UINT callbackMessage, const std::string& toolTip) {
    NOTIFYICONDATAA record;
    std::memset(&record, 0, sizeof record);
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = form.hwnd();
    record.uID = kTrayIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = callbackMessage;
    record.hIcon = form.Icon();
    std::memset(record.szTip, ' ', sizeof record.szTip);
    const std::size_t length = std::min(toolTip.size(), sizeof record.szTip - 1);
    std::memcpy(record.szTip, toolTip.data(), length);
    record.szTip[length] = '\0';
    return record;
}

// The form's window as the subclassing engine's source.
class FormSource : public KZSubClassSource {
public:
    explicit FormSource(const platform::FormWindow& form) : form_(form) {}
    HWND hwnd() const override { return form_.hwnd(); }

private:
    const platform::FormWindow& form_;
};

}  // namespace

bool Mfrm::AddTrayIcon(platform::FormWindow& form, KZSubClassTarget& callback, const std::string& toolTip) {
    if (TrayCallbackMessage == 0) TrayCallbackMessage = RegisterWindowMessageA("KZSystray");
    NOTIFYICONDATAA record = TrayRecord(form, TrayCallbackMessage, toolTip);
    // A busy shell refuses an add after its time-out that may have got
    // through all the same: the icon is there when a modify of it works.
    if (!Shell_NotifyIconA(NIM_ADD, &record) && !Shell_NotifyIconA(NIM_MODIFY, &record)) return false;
    iconShown_ = true;
    FormSource source(form);
    KZSubClass(source, kTraySource, callback, True, nullptr, False);
    return true;
}

bool Mfrm::RemoveTrayIcon(platform::FormWindow& form, KZSubClassTarget& callback) {
    NOTIFYICONDATAA record = TrayRecord(form, 0, "");
    if (!Shell_NotifyIconA(NIM_DELETE, &record)) return false;
    iconShown_ = false;
    FormSource source(form);
    KZSubClass(source, kTraySource, callback, False, nullptr, False);
    return true;
}

bool Mfrm::ModifyTrayIcon(platform::FormWindow& form, const std::string& toolTip) {
    NOTIFYICONDATAA record = TrayRecord(form, TrayCallbackMessage, toolTip);
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

void Mfrm::ShowTrayIcon(bool again) {
    if (AddTrayIcon(*this, *this, kTrayToolTip)) {
        KillTimer(hwnd(), kIconRetryTimerId);
        return;
    }
    const ULONGLONG now = GetTickCount64();
    if (!again) iconRetriesSince_ = now;
    const bool soon = now - iconRetriesSince_ < kIconRetrySoonForMs;
    SetTimer(hwnd(), kIconRetryTimerId, soon ? kIconRetrySoonMs : kIconRetryLaterMs, nullptr);
}

bool Mfrm::WaitForTrayIcon(UINT timeoutMs) {
    const platform::unique_timer bound(hwnd(), kIconWaitTimerId, timeoutMs);
    MSG msg{};
    while (!iconShown_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT for the main loop
            break;
        }
        if (got == -1) break;
        if (msg.message == WM_TIMER && msg.hwnd == hwnd() && msg.wParam == bound.id()) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return iconShown_;
}
