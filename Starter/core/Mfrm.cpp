#include "core/Mfrm.h"

#include "core/InstanceName.h"
#include "core/OwnPath.h"
#include "core/RunEntries.h"
#include "core/TargetApp.h"
#include "integration/AutoStartSetting.h"
#include "platform/ActiveCodePage.h"
#include "platform/AppRuntime.h"
#include "registry/Rmod.h"
#include "shared/TextRules.h"
#include "tray/MENUfrm.h"

namespace {

// How long a starter launched before the taskbar, or while the shell is
// busy, waits for its icon.
constexpr UINT kTaskbarWaitMs = 60000;

}  // namespace

// The taskbar announces itself with this message whenever it is
// (re)created: at log-on after the starter, after a shell restart, or when
// the display scale changes. Known from the form's creation on, so that no
// announcement is missed.
Mfrm::Mfrm()
    : FormWindow("QuellmarStarterMainForm", "Quellmar Starter v1.0"),
      taskbarCreatedMessage_(RegisterWindowMessageA("TaskbarCreated")) {}

Mfrm::~Mfrm() = default;

MENUfrm& Mfrm::Menu() {
    if (!menu_) {
        menu_ = std::make_unique<MENUfrm>(*this);
        menu_->Create();
    }
    return *menu_;
}

void Mfrm::Form_Load() {
    // The program's own path, worked out once: the name it claims and what
    // the Run entries start.
    const std::string ownFullPath = OwnFullPath(platform::AppFile(), platform::ActiveCodePageRule());
    if (platform::PrevInstance(InstanceName(ownFullPath))) platform::EndProcess();

    // A shell of lower rights announces itself too, to a starter started
    // as administrator.
    ChangeWindowMessageFilterEx(hwnd(), taskbarCreatedMessage_, MSGFLT_ALLOW, nullptr);
    ShowTrayIcon(false);
    if (!WaitForTrayIcon(kTaskbarWaitMs)) Form_Unload(0);

    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName, Quoted(ownFullPath), REG_SZ);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyNT, kRunValueName, Quoted(ownFullPath), REG_SZ);

    Companions.SetUpCompanionList(HKEY_LOCAL_MACHINE, "Software\\Quellmar\\", "", 0, "", 0);

    SetEnabled(false);
    SetVisible(false);

    AutoStartTarget = LoadAutoStartSetting();
    if (AutoStartTarget == True) LaunchTarget();
}

void Mfrm::Form_Unload(std::int16_t /*Cancel*/) {
    iconShown_ = false;
    RemoveTrayIcon(*this, *this);
    UnSubClassAll();
    platform::EndProcess();
}

void Mfrm::OnTaskbarCreated() {
    // The new taskbar may be at a new scale. An icon that survived gets the
    // new image through the modify that counts it as there.
    const platform::unique_hicon replaced = ReloadIcon();
    ShowTrayIcon(false);
}

void Mfrm::OnDpiChanged(UINT dpi) {
    // The icon replaced is destroyed only once the tray has the new one.
    const platform::unique_hicon replaced = ReloadIcon(dpi);
    ModifyTrayIcon(*this, kTrayToolTip);
}

LRESULT Mfrm::FormProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        OnTaskbarCreated();
        return 0;
    }
    // Closing the main window by any road (a close request from another
    // program, the end of the session) unloads the form: the same shutdown
    // as "Close Starter", so the tray icon never outlives the starter.
    if (msg == WM_CLOSE) Form_Unload(0);
    // The tray icon is drawn for the display's DPI: the new DPI comes in
    // wParam's low word; a change of the primary display may bring only
    // WM_DISPLAYCHANGE, and the window's DPI is read then.
    if (msg == WM_DPICHANGED) {
        OnDpiChanged(LOWORD(wParam));
        return 0;
    }
    if (msg == WM_DISPLAYCHANGE) OnDpiChanged(0);
    if (msg == WM_TIMER && wParam == kIconRetryTimerId) {
        ShowTrayIcon(true);
        return 0;
    }
    return FormWindow::FormProc(msg, wParam, lParam);
}
