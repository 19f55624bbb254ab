#include "tray/MENUfrm.h"

#include "core/Mfrm.h"

#include <cassert>

namespace {

// The popup's layout, in the order of definition. "-" is a separator.
const char* const kM1Captions[] = {
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
const char* const kM2Captions[] = {"Fast Read", "Fast Sort", "Extended Help"};
constexpr int kCompanionEntries = 5;
constexpr int kSpecialModesEntry = 3;  // M1(3) opens M2
constexpr int kCompanionsEntry = 4;    // M1(4) opens M3

UINT StateFlags(const MenuEntry& entry) {
    return (entry.Enabled ? MF_ENABLED : MF_GRAYED) | (entry.Checked ? MF_CHECKED : MF_UNCHECKED);
}

}  // namespace

MENUfrm::MENUfrm(Mfrm& main) : FormWindow("QuellmarStarterMenuForm", "MENUfrm"), main_(main) {
    for (const char* caption : kM1Captions) m1_.push_back(MenuEntry{caption});
    for (const char* caption : kM2Captions) m2_.push_back(MenuEntry{caption});
    m3_.resize(kCompanionEntries);
    // Fast Read and Fast Sort exist with their commands but are never shown.
    m2_[0].Visible = false;
    m2_[1].Visible = false;

    bar_.reset(CreateMenu());
    HMENU popup = CreatePopupMenu();
    HMENU specialModes = CreatePopupMenu();
    HMENU companions = CreatePopupMenu();
    m1_[kSpecialModesEntry - 1].Submenu = specialModes;
    m1_[kCompanionsEntry - 1].Submenu = companions;

    for (int i = 1; i <= static_cast<int>(m2_.size()); ++i) {
        const MenuEntry& entry = m2_[i - 1];
        if (entry.Visible) AppendMenuA(specialModes, MF_STRING | StateFlags(entry), CommandId(2, i), entry.Caption.c_str());
    }
    for (int i = 1; i <= kCompanionEntries; ++i)
        AppendMenuA(companions, MF_STRING, CommandId(3, i), m3_[i - 1].Caption.c_str());
    for (int i = 1; i <= static_cast<int>(m1_.size()); ++i) {
        const MenuEntry& entry = m1_[i - 1];
        if (entry.Caption == "-")
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        else if (entry.Submenu)
            AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(entry.Submenu), entry.Caption.c_str());
        else
            AppendMenuA(popup, MF_STRING, CommandId(1, i), entry.Caption.c_str());
    }
    AppendMenuA(bar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "[M1]");
}

MENUfrm::~MENUfrm() = default;

MenuEntry& MENUfrm::At(int array, int index) {
    std::vector<MenuEntry>& entries = array == 1 ? m1_ : array == 2 ? m2_ : m3_;
    if (array < 1 || array > 3 || index < 1 || index > static_cast<int>(entries.size())) {
        // Only the layout's own entries are ever addressed; anything else is
        // the caller's mistake and lands on a scratch entry that no menu shows.
        assert(!"menu entry out of range");
        static MenuEntry nowhere;
        nowhere = MenuEntry{};
        return nowhere;
    }
    return entries[static_cast<std::size_t>(index - 1)];
}

const MenuEntry& MENUfrm::Entry(int array, int index) const {
    return const_cast<MENUfrm*>(this)->At(array, index);
}

// Brings the platform's menu item up to date with the entry. Separators,
// the submenu entries and hidden entries have no item to update.
void MENUfrm::Refresh(int array, int index) {
    const MenuEntry& entry = At(array, index);
    if (!entry.Visible || entry.Submenu || entry.Caption == "-") return;
    ModifyMenuA(bar_.get(), CommandId(array, index), MF_BYCOMMAND | MF_STRING | StateFlags(entry),
                CommandId(array, index), entry.Caption.c_str());
}

// The platform's menu always matches the entries, so an unchanged value
// needs no update: most openings change nothing.
void MENUfrm::SetCaption(int array, int index, const std::string& caption) {
    MenuEntry& entry = At(array, index);
    if (entry.Caption == caption) return;
    entry.Caption = caption;
    Refresh(array, index);
}

void MENUfrm::SetEnabled(int array, int index, bool enabled) {
    MenuEntry& entry = At(array, index);
    if (entry.Enabled == enabled) return;
    entry.Enabled = enabled;
    Refresh(array, index);
}

void MENUfrm::SetChecked(int array, int index, bool checked) {
    MenuEntry& entry = At(array, index);
    if (entry.Checked == checked) return;
    entry.Checked = checked;
    Refresh(array, index);
}

void MENUfrm::M1_Click(std::int16_t Index) { main_.ProgramReceivePopUpMenu_Click(1, Index); }
void MENUfrm::M2_Click(std::int16_t Index) { main_.ProgramReceivePopUpMenu_Click(2, Index); }
void MENUfrm::M3_Click(std::int16_t Index) { main_.ProgramReceivePopUpMenu_Click(3, Index); }

LRESULT MENUfrm::FormProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The menu's commands arrive at this window until the process ends: a
    // close request from outside must not destroy it.
    if (msg == WM_CLOSE) return 0;
    if (msg == WM_COMMAND && lParam == 0) {
        const int id = LOWORD(wParam);
        const auto index = static_cast<std::int16_t>(id % 100);
        switch (id / 100) {
        case 1: M1_Click(index); return 0;
        case 2: M2_Click(index); return 0;
        case 3: M3_Click(index); return 0;
        default: break;
        }
    }
    return FormWindow::FormProc(msg, wParam, lParam);
}
