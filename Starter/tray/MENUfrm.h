// MENUfrm: the hidden form that owns the starter's popup menu. Its window is
// the menu's owner and receives the chosen command, which its click
// handlers hand to the main form as (MenuIndex, SubMenuIndex).
#pragma once

#include "platform/FormWindow.h"
#include "platform/Handles.h"

#include <cstdint>
#include <string>
#include <vector>

class Mfrm;

// One entry of a menu control array.
struct MenuEntry {
    std::string Caption;
    bool Enabled = true;
    bool Checked = false;
    bool Visible = true;
    HMENU Submenu = nullptr;  // for the entries that open a submenu
};

class MENUfrm : public platform::FormWindow {
public:
    explicit MENUfrm(Mfrm& main);
    ~MENUfrm() override;

    // The menu bar; its first drop-down list (Menu1, "[M1]") is the popup.
    HMENU MenuBar() const { return bar_.get(); }

    // An entry, addressed by array (MenuIndexM1 ...) and Index (tray/MenuLayout.h).
    const MenuEntry& Entry(int array, int index) const;
    void SetCaption(int array, int index, const std::string& caption);
    void SetEnabled(int array, int index, bool enabled);
    void SetChecked(int array, int index, bool checked);

    // The command identifier of an entry in the platform's menu.
    static UINT CommandId(int array, int index) { return static_cast<UINT>(array * 100 + index); }

    void M1_Click(std::int16_t Index);
    void M2_Click(std::int16_t Index);
    void M3_Click(std::int16_t Index);

protected:
    LRESULT FormProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    MenuEntry& At(int array, int index);
    void Refresh(int array, int index);

    Mfrm& main_;
    platform::unique_hmenu bar_;
    std::vector<MenuEntry> m1_, m2_, m3_;  // element 0 is Index 1
};
