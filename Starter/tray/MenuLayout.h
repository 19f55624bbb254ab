// The popup menu's layout: its three menu arrays and their entries by
// Index, as the menu form's click handlers hand them on to the main form
// (MenuIndex, SubMenuIndex). M1 is the popup itself; M2, the special modes,
// and M3, the companions, open from two of its entries.
#pragma once

#include <cstdint>

// MenuIndex: which array.
enum MenuArray : std::int16_t { MenuIndexM1 = 1, MenuIndexM2 = 2, MenuIndexM3 = 3 };

// M1's captions in their order, Index 1 first; "-" is a separator.
inline constexpr const char* kM1Captions[] = {
    "&Launch Quellmar (Normal Mode)",
    "-",
    "Launch Quellmar (Special Modes)...",
    "Launch Halvane Application...",
    "-",
    "Visit &Homepage",
    "-",
    "&Auto Start Quellmar",
    "-",
    "&Close Starter",
    "&Remove Starter",
};
// M1's entries by Index (the separators have none of their own).
enum M1Entry : std::int16_t {
    M1Target = 1,  // launch, restore or close Quellmar, by its caption
    M1SpecialModes = 3,
    M1Companions = 4,
    M1HomePage = 6,
    M1AutoStart = 8,
    M1CloseStarter = 10,
    M1RemoveStarter = 11,
};

// M2's captions and entries: Fast Read and Fast Sort exist with their
// commands but are never shown.
inline constexpr const char* kM2Captions[] = {"Fast Read", "Fast Sort", "Extended Help"};
enum M2Entry : std::int16_t { M2FastRead = 1, M2FastSort = 2, M2ExtendedHelp = 3 };

// M3: one entry per slot of the companion list, captions set at each opening.
inline constexpr int kM3Entries = 5;
