// The starter loaded on a fresh simulated desktop, as the platform loads it:
// the main form's window first, then its load handler.
#pragma once

#include "core/Mfrm.h"
#include "platform/sim/SimDesktop.h"
#include "subclass/KZSubClassmod.h"
#include "tray/MENUfrm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

inline constexpr const char* kStarterFolder = "C:\\Program Files\\Quellmar\\";
inline constexpr const char* kTargetPath = "C:\\Program Files\\Quellmar\\Quellmar.exe";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunKeyNT = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";

class StarterTest : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override { UnSubClassAll(); }

    // Creates the main form and runs Form_Load; false when start-up ended
    // the process.
    bool Load() {
        form = std::make_unique<Mfrm>();
        if (!form->Create()) return false;
        try {
            form->Form_Load();
        } catch (const sim::ProcessExited&) {
            return false;
        }
        return true;
    }

    // The user releases a mouse button over the tray icon; the menu's
    // command, if one was chosen, is then dispatched by the message loop.
    // False when the starter ended.
    bool ClickIcon(UINT mouseMessage = WM_RBUTTONUP) {
        try {
            sim::ClickTrayIcon(form->hwnd(), 1, mouseMessage);
            sim::DispatchPendingMessages();
        } catch (const sim::ProcessExited&) {
            return false;
        }
        return true;
    }

    // Opens the menu and chooses the entry (array, index).
    bool Choose(int array, int index) {
        sim::ChoosePopupMenuItem(MENUfrm::CommandId(array, index));
        return ClickIcon();
    }

    // Quellmar's program file beside the starter; each start shows the
    // window its switch asks for.
    void InstallQuellmar() {
        sim::AddProgram(kTargetPath);
        sim::SetProcessStartHook([](const sim::ProcessStart& start) {
            if (start.program != kTargetPath) return;
            const std::string& line = start.commandLine;
            if (line.find("/FastRead") != std::string::npos) sim::CreateTopLevelWindow("FastRead - Quellmar");
            else if (line.find("/FastSort") != std::string::npos) sim::CreateTopLevelWindow("FastSort - Quellmar");
            else if (line.find("/ExtendedHelp") != std::string::npos) sim::CreateTopLevelWindow("Quellmar (extended help mode)");
            else sim::CreateTopLevelWindow("Quellmar");
        });
    }

    std::unique_ptr<Mfrm> form;
};
