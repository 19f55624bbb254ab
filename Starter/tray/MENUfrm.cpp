#include "tray/MENUfrm.h"

#include "core/Mfrm.h"
#include "tray/MenuLayout.h"

#include <cassert>

namespace {

UINT StateFlags(const MenuEntry& entry) {
    return (entry.Enabled ? MF_ENABLED : MF_GRAYED) | (entry.Checked ? MF_CHECKED : MF_UNCHECKED);
}

// Makes submenu an entry of parent, which owns it from then on.
void Attach(HMENU parent, platform::unique_hmenu& submenu, const std::string& caption) {
    if (AppendMenuA(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.get()), caption.c_str())) submenu.release();
}

}  // namespace

MENUfrm::MENUfrm(Mfrm& main) : FormWindow("QuellmarStarterMenuForm", "MENUfrm"), main_(main) {
    for (const char* caption : kM1Captions) m1_.push_back(MenuEntry{caption});
    for (const char* caption : kM2Captions) m2_.push_back(MenuEntry{caption});
    m3_.resize(kM3Entries);
    m2_[M2FastRead - 1].Visible = false;
    m2_[M2FastSort - 1].Visible = false;

    bar_.reset(CreateMenu());
    platform::unique_hmenu popup(CreatePopupMenu()), specialModes(CreatePopupMenu()), companions(CreatePopupMenu());
    m1_[M1SpecialModes - 1].Submenu = specialModes.get();
    m1_[M1Companions - 1].Submenu = companions.get();

    for (int i = 1; i <= static_cast<int>(m2_.size()); ++i) {
        const MenuEntry& entry = m2_[i - 1];
        if (entry.Visible)
            AppendMenuA(specialModes.get(), MF_STRING | StateFlags(entry), CommandId(MenuIndexM2, i), entry.Caption.c_str());
    }
    for (int i = 1; i <= kM3Entries; ++i)
        AppendMenuA(companions.get(), MF_STRING, CommandId(MenuIndexM3, i), m3_[i - 1].Caption.c_str());
    for (int i = 1; i <= static_cast<int>(m1_.size()); ++i) {
        const MenuEntry& entry = m1_[i - 1];
        if (entry.Caption == "-")
            AppendMenuA(popup.get(), MF_SEPARATOR, 0, nullptr);
        else if (entry.Submenu)
            Attach(popup.get(), i == M1SpecialModes ? specialModes : companions, entry.Caption);
        else
            AppendMenuA(popup.get(), MF_STRING, CommandId(MenuIndexM1, i), entry.Caption.c_str());
    }
    Attach(bar_.get(), popup, "[M1]");
}

MENUfrm::~MENUfrm() = default;

MenuEntry& MENUfrm::At(int array, int index) {
    std::vector<MenuEntry>& entries = array == MenuIndexM1 ? m1_ : array == MenuIndexM2 ? m2_ : m3_;
    if (array < MenuIndexM1 || array > MenuIndexM3 || index < 1 || index > static_cast<int>(entries.size())) {
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

void MENUfrm::M1_Click(std::int16_t Index) { main_.ProgramReceivePopUpMenu_Click(MenuIndexM1, Index); }
void MENUfrm::M2_Click(std::int16_t Index) { main_.ProgramReceivePopUpMenu_Click(MenuIndexM2, Index); }
void MENUfrm::M3_Click(std::int16_t Index) { main_.ProgramReceivePopUpMenu_Click(MenuIndexM3, Index); }

LRESULT MENUfrm::FormProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The menu's commands arrive at this window until the process ends: a
    // close request from outside must not destroy it.
    if (msg == WM_CLOSE) return 0;
    if (msg == WM_COMMAND && lParam == 0) {
        const int id = LOWORD(wParam);
        const auto index = static_cast<std::int16_t>(id % 100);
        switch (id / 100) {
        case MenuIndexM1: M1_Click(index); return 0;
        case MenuIndexM2: M2_Click(index); return 0;
        case MenuIndexM3: M3_Click(index); return 0;
        default: break;
        }
    }
    return FormWindow::FormProc(msg, wParam, lParam);
}
