// KZSubClassmod: routes the raw messages of any window to target forms before
// the window's own procedure sees them. A caller registers a target for a
// window under a source name with KZSubClass; the engine then installs its
// own window procedure, SubClass_WindowProc, which hands every message of the
// window to each enabled target of each entry of that window and afterwards
// returns a result a target supplied, or passes the message on to the
// window's own procedure. UnSubClassAll gives every window its procedure back.
//
// The engine keeps the window's own procedure in the window's user-data slot
// (GWLP_USERDATA) while the window is subclassed, so it serves only windows
// whose user-data slot no other code uses. One thread only.
#pragma once

#include "shared/Boolean.h"
#include "platform/Win32Api.h"
#include "subclass/KZSubClassInterfaces.h"

#include <string>

// Most entries, most targets per entry and most forms in the form table.
inline constexpr int KZSubClassTableLimit = 32766;

// Registers targetForm for the window of source (or windowHandle when it is
// nonzero) under sourceName, or, when the pair (sourceName, targetForm) is
// known already, only sets its enabled flag. A target joining an existing
// entry goes first when insertFirst is nonzero, else last. The window of a
// known source name never changes.
void KZSubClass(KZSubClassSource& source, const std::string& sourceName, KZSubClassTarget& targetForm,
                Boolean enabled, HWND windowHandle, Boolean insertFirst);

// Restores every subclassed window (its own procedure, user-data slot 0) and
// empties the entry table. The form table stays.
void UnSubClassAll();

// Puts a form into the form table unless it is there already.
void TargetForm_Add(KZSubClassTarget& form);

// Position (from 1) of the entry with this source name, compared exactly; 0
// when there is none.
int SubClass_Find(const std::string& sourceName);
// Position (from 1) of the form in the target list of the entry at
// entryPosition; 0 when it isn't there or there is no such entry.
int TargetForm_Find(int entryPosition, const KZSubClassTarget& form);
// Position (from 1) of the form in the form table; 0 when it isn't there.
int TargetForm_Index(const KZSubClassTarget& form);

// The engine's window procedure, installed in every subclassed window.
LRESULT CALLBACK SubClass_WindowProc(HWND hwnd, UINT Msg, WPARAM wParam, LPARAM lParam);
