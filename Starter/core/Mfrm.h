// Mfrm, the main form: the starter's start object. It is never seen; its
// hidden window carries the tray icon and receives the icon's notifications,
// and it owns all of the starter's state for the life of the process.
#pragma once

#include "companions/CompanionList.h"
#include "shared/Boolean.h"
#include "platform/FormWindow.h"
#include "subclass/KZSubClassmod.h"

#include <cstdint>
#include <memory>
#include <string>

class MENUfrm;

class Mfrm : public platform::FormWindow, public KZSubClassTarget {
public:
    Mfrm();
    ~Mfrm() override;

    // Start-up: single instance, tray icon, Run entries, companion list,
    // auto-start. Ends the process when another instance runs or the tray
    // icon can't be added.
    void Form_Load();
    // Shutdown: removes the tray icon, unhooks every subclassed window and
    // ends the process. Cancel is neither read nor set.
    [[noreturn]] void Form_Unload(std::int16_t Cancel);

    // Every message of the main window arrives here first.
    void KZSubClassWindowProc(std::string& SourceDescription, HWND& hwnd, UINT& Msg, WPARAM& wParam,
                              LPARAM& lParam, LRESULT& ReturnValue, bool& ReturnValueUsedFlag) override;

    // The tray icon.
    bool AddTrayIcon(platform::FormWindow& form, KZSubClassTarget& callback, const std::string& toolTip);
    bool RemoveTrayIcon(platform::FormWindow& form, KZSubClassTarget& callback);
    // Adds the tray icon, or, while the shell refuses it, tries again on a
    // timer until it is there; again: a try of that timer.
    void ShowTrayIcon(bool again);
    // At log-on the shell may be busy or not there yet: waits, with the
    // message loop running, until the icon is there or timeoutMs have
    // passed. True when it is.
    bool WaitForTrayIcon(UINT timeoutMs);

    // The popup menu.
    void PrepareMenu(std::int16_t MenuIndex);
    LONG ProgramGetMousePosX();
    LONG ProgramGetMousePosY();
    void ProgramOpenPopUpMenu(LONG XPos, LONG YPos, std::int16_t PopUpMenuIndex);

    // The command of a chosen menu entry.
    void ProgramReceivePopUpMenu_Click(std::int16_t MenuIndex, std::int16_t SubMenuIndex);

    // The menu form, made when first needed.
    MENUfrm& Menu();

    // State kept for the whole run.
    CompanionList Companions;
    Boolean AutoStartTarget = False;
    UINT TrayCallbackMessage = 0;

protected:
    LRESULT FormProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr const char* kTrayToolTip = "Quellmar Starter";
    // The main window's timers: the bound of the wait for the icon, and its retries.
    static constexpr UINT_PTR kIconWaitTimerId = 1;
    static constexpr UINT_PTR kIconRetryTimerId = 2;

    // The taskbar was (re)created: the icon is put (back) in it.
    void OnTaskbarCreated();
    // The display's DPI changed: the icon is loaded again for dpi (0: the
    // window's DPI now) and handed to the tray.
    void OnDpiChanged(UINT dpi);
    // Hands the form's icon, as it is now, to its tray icon (NIM_MODIFY).
    bool ModifyTrayIcon(platform::FormWindow& form, const std::string& toolTip);

    std::unique_ptr<MENUfrm> menu_;
    UINT taskbarCreatedMessage_ = 0;
    // The tray icon was added and not removed since.
    bool iconShown_ = false;
    // When the latest round of tries to add the icon began.
    ULONGLONG iconRetriesSince_ = 0;
};
