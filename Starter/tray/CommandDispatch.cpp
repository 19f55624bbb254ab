// Every command the user gives the starter: the chosen menu entry, by its
// array and Index, carried out.
#include "companions/CompanionLauncher.h"
#include "core/Mfrm.h"
#include "core/RunEntries.h"
#include "core/TargetApp.h"
#include "integration/AutoStartSetting.h"
#include "integration/HomePage.h"
#include "platform/AppRuntime.h"
#include "registry/Rmod.h"
#include "tray/MENUfrm.h"
#include "tray/MenuLayout.h"

#include "shared/TextRules.h"

namespace {

constexpr UINT kQuestion = MB_YESNO | MB_ICONQUESTION;      // 36
constexpr UINT kNotice = MB_OK | MB_ICONINFORMATION;        // 64
constexpr UINT kWarning = MB_OK | MB_ICONEXCLAMATION;       // 48

constexpr const char* kAutoStartQuestion =
    "Quellmar will now be automatically started at Windows start up "
    "so that you can use it to quickly play mp3 files and start any of the Halvane applications "
    "or to create your own skin. Do you agree ?";
constexpr const char* kRemoveQuestion =
    "Quellmar Starter needs hardly memory and allows you to quickly start Quellmar, the great tool to clean up "
    "your mp3 collection. Do you really want to remove Quellmar Starter ?";
constexpr const char* kReinstallNotice = "To reinstall Quellmar Starter just start it once again manually.";
constexpr const char* kDeclinedNotice = "Good boy.";
constexpr const char* kSettingNotSaved =
    "The auto start setting could not be saved, please ask your administrator for the right to change it !";
constexpr const char* kNotRemoved =
    "Quellmar Starter could not be removed from the Windows start up, please ask your administrator for the right "
    "to change it !";
constexpr const char* kSpecialModeNotFound =
    "Quellmar was not found in current directory, please move this program to the right location !";

// The first three characters of a caption, letter case folded.
std::string CaptionKey(const std::string& caption) { return AsciiUpper(caption.substr(0, 3)); }

const char* SpecialModeSwitch(std::int16_t index) {
    switch (index) {
    case M2FastRead: return " /FastRead";
    case M2FastSort: return " /FastSort";
    case M2ExtendedHelp: return " /ExtendedHelp";
    default: return nullptr;
    }
}

}  // namespace

void Mfrm::ProgramReceivePopUpMenu_Click(std::int16_t MenuIndex, std::int16_t SubMenuIndex) {
    const std::string targetPath = GetTargetPath();

    if (MenuIndex == MenuIndexM1) {
        switch (SubMenuIndex) {
        case M1Target: {
            const std::string key = CaptionKey(Menu().Entry(MenuIndexM1, M1Target).Caption);
            if (key == "LAU")
                LaunchTarget();
            else if (key == "RES")
                ControlTarget(TargetActionRestore);
            else if (key == "CLO")
                ControlTarget(TargetActionClose);
            break;
        }
        case M1HomePage:
            VisitHomePage();
            break;
        case M1AutoStart: {
            // The new value is the one the user chose at the click. While the
            // question is open the tray still answers, and a second choice of
            // this entry may have stored its answer by the time the box closes.
            const Boolean chosen = AutoStartTarget != False ? False : True;
            // Switching on changes the machine's start-up: ask first.
            if (chosen == False || platform::MsgBox(kAutoStartQuestion, kQuestion) == IDYES) {
                const Boolean previous = AutoStartTarget;
                AutoStartTarget = chosen;
                SaveAutoStartSetting(AutoStartTarget);
                // Without the right to write the setting the next start
                // would not honour it: don't show it as stored.
                if (LoadAutoStartSetting() != AutoStartTarget) {
                    AutoStartTarget = previous;
                    platform::MsgBox(kSettingNotSaved, kWarning);
                }
            }
            break;
        }
        case M1CloseStarter:
            Form_Unload(0);
        case M1RemoveStarter:
            if (platform::MsgBox(kRemoveQuestion, kQuestion) != IDYES) {
                platform::MsgBox(kDeclinedNotice, kNotice);
                break;
            }
            // Deleted and read back before the user is told: a starter that
            // may not write the Run key would be back at the next log-on, so
            // it says so and stays.
            if (!Rmod::DeleteRegistryValueInBothViews(HKEY_LOCAL_MACHINE, kRunKey, kRunValueName)) {
                platform::MsgBox(kNotRemoved, kWarning);
                break;
            }
            platform::MsgBox(kReinstallNotice, kNotice);
            Form_Unload(0);
            break;
        default:
            break;
        }
    } else if (MenuIndex == MenuIndexM2) {
        const char* modeSwitch = SpecialModeSwitch(SubMenuIndex);
        if (!modeSwitch) return;
        if (TargetFilePresent(targetPath))
            StartTarget(targetPath, modeSwitch);
        else
            platform::MsgBox(kSpecialModeNotFound, kWarning);
    } else if (MenuIndex == MenuIndexM3) {
        LaunchCompanion(Companions, SubMenuIndex);
    }
}
