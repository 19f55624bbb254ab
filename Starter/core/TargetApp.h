// Quellmar, the program the starter exists for: where its program file is,
// starting it, telling whether and in which mode it runs, and restoring or
// closing its window. Quellmar is recognised only by its window captions.
#pragma once

#include "shared/Boolean.h"
#include "platform/Win32Api.h"

#include <cstdint>
#include <string>

enum TargetState : std::int16_t {
    TargetNotRunning = 1,
    TargetNormalMode = 2,
    TargetFastSortMode = 4,
    TargetFastReadMode = 8,
    TargetExtendedHelpMode = 16,
};

enum TargetAction : std::int16_t {
    TargetActionClose = 1,
    TargetActionRestore = 2,
};

// The starter's own directory followed by "Quellmar.exe".
std::string GetTargetPath();

// True when Quellmar's program file is there to be started: a file with
// normal attributes (not hidden, not a system file, not a folder).
bool TargetFilePresent(const std::string& targetPath);

// Starts Quellmar with an optional mode switch (" /FastRead" ...). The path
// is quoted on the command line, so a folder with blanks can't start
// another program. When the start fails although the file is there, the
// user is told; the starter goes on either way.
void StartTarget(const std::string& targetPath, const std::string& modeSwitch);

// Starts Quellmar in its normal mode, or says that it is missing.
void LaunchTarget();

// Which Quellmar runs, by the caption of its top-level window; window and
// minimised describe the window found (0 and False when none is).
TargetState GetTargetState(HWND& window, Boolean& minimised);

// Restores (TargetActionRestore) or restores and closes (TargetActionClose)
// the running Quellmar. False when it does not run, when its window is hung
// or doesn't answer within 5 s (it is then left alone) or the action is
// unknown.
Boolean ControlTarget(std::int16_t action);
