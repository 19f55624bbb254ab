// Menus: menu bars and popup menus, their items (by position or by command,
// a search by command going into submenus), states and texts, and the
// popup menu's modal loop with the user's scripted choice.
#include "platform/sim/UserState.h"

#include <algorithm>
#include <cstring>

using namespace sim::user;

namespace {

constexpr UINT kTypeBits = MF_SEPARATOR | MF_POPUP | 0x0004 /*MF_BITMAP*/ | 0x0100 /*MF_OWNERDRAW*/ |
                           0x0020 /*MF_MENUBARBREAK*/ | 0x0040 /*MF_MENUBREAK*/ | 0x4000 /*MF_RIGHTJUSTIFY*/;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

HMENU NewMenu(bool popup) {
    HMENU menu = reinterpret_cast<HMENU>(NewHandleValue());
    S().menus[menu].popup = popup;
    return menu;
}

// The item addressed by position or by command. A search by command goes
// through each submenu before it looks at the submenu's own entry, and an
// entry that opens a submenu matches its identifier only when nothing else
// does.
MenuItem* FindItemByCommand(HMENU menu, UINT id, HMENU* owner, int depth) {
    Menu* m = FindMenuPtr(menu);
    if (!m || depth > 16) return nullptr;
    MenuItem* fallback = nullptr;
    HMENU fallbackOwner = nullptr;
    for (MenuItem& item : m->items) {
        if (item.type & MF_POPUP) {
            HMENU subOwner = nullptr;
            if (MenuItem* found = FindItemByCommand(item.submenu, id, &subOwner, depth + 1)) {
                if (owner) *owner = subOwner;
                return found;
            }
            if (!fallback && item.id == id) {
                fallback = &item;
                fallbackOwner = menu;
            }
        } else if (item.id == id) {
            if (owner) *owner = menu;
            return &item;
        }
    }
    if (fallback && owner) *owner = fallbackOwner;
    return fallback;
}

MenuItem* FindItem(HMENU menu, UINT position, UINT flags, HMENU* owner = nullptr) {
    Menu* m = FindMenuPtr(menu);
    if (!m) return nullptr;
    if (flags & MF_BYPOSITION) {
        if (position >= m->items.size()) return nullptr;
        if (owner) *owner = menu;
        return &m->items[position];
    }
    return FindItemByCommand(menu, position, owner, 0);
}

void SetItem(MenuItem& item, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
    item.type = flags & kTypeBits;
    item.state = flags & kStateBits;
    if (item.type & MF_POPUP) {
        item.submenu = reinterpret_cast<HMENU>(idOrSubmenu);
        item.id = static_cast<UINT>(idOrSubmenu);
    } else {
        item.submenu = nullptr;
        item.id = static_cast<UINT>(idOrSubmenu);
    }
    const bool isString = !(flags & (MF_SEPARATOR | 0x0004 | 0x0100));
    item.text = isString && text ? text : "";
    // A separator can never be chosen: it counts as grayed and disabled.
    if (flags & MF_SEPARATOR) item.state |= MF_GRAYED | MF_DISABLED;
}

std::vector<sim::MenuItemSnapshot> Snapshot(HMENU menu, int depth) {
    std::vector<sim::MenuItemSnapshot> items;
    Menu* m = FindMenuPtr(menu);
    if (!m || depth > 16) return items;
    for (const MenuItem& item : m->items) {
        sim::MenuItemSnapshot snap;
        snap.text = item.text;
        snap.flags = item.type | item.state;
        if (item.type & MF_POPUP) {
            snap.submenu = item.submenu;
            snap.items = Snapshot(item.submenu, depth + 1);
        } else if (!(item.type & MF_SEPARATOR)) {
            snap.id = item.id;
        }
        items.push_back(std::move(snap));
    }
    return items;
}

// Ends the tracking state however the popup loop is left (a window
// procedure called from it may end the process, which unwinds through here).
struct TrackingGuard {
    TrackingGuard() {
        S().trackingMenu = true;
        S().endMenuRequested = false;
    }
    ~TrackingGuard() {
        S().trackingMenu = false;
        S().endMenuRequested = false;
    }
};

}  // namespace

HMENU WINAPI CreateMenu() {
    return NewMenu(false);
}

HMENU WINAPI CreatePopupMenu() {
    return NewMenu(true);
}

BOOL WINAPI IsMenu(HMENU menu) {
    return FindMenuPtr(menu) ? TRUE : FALSE;
}

BOOL WINAPI DestroyMenu(HMENU menu) {
    if (!CheckMenu(menu)) return FALSE;
    DestroyMenuTree(menu);
    return TRUE;
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
    Menu* m = CheckMenu(menu);
    if (!m) return FALSE;
    if ((flags & MF_POPUP) && !CheckMenu(reinterpret_cast<HMENU>(idOrSubmenu))) return FALSE;
    MenuItem item;
    SetItem(item, flags, idOrSubmenu, text);
    m->items.push_back(item);
    return TRUE;
}

BOOL WINAPI ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
    if (!CheckMenu(menu)) return FALSE;
    if ((flags & MF_POPUP) && !CheckMenu(reinterpret_cast<HMENU>(idOrSubmenu))) return FALSE;
    MenuItem* item = FindItem(menu, position, flags);
    if (!item) return FALSE;
    // An entry that stops opening a submenu lets go of it: the submenu
    // lives on until it is destroyed.
    SetItem(*item, flags & ~MF_BYPOSITION, idOrSubmenu, text);
    return TRUE;
}

BOOL WINAPI EnableMenuItem(HMENU menu, UINT id, UINT enable) {
    if (!CheckMenu(menu)) return -1;
    MenuItem* item = FindItem(menu, id, enable);
    if (!item) return -1;
    const UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
    item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(previous);
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT id, UINT check) {
    if (!CheckMenu(menu)) return static_cast<DWORD>(-1);
    MenuItem* item = FindItem(menu, id, check);
    if (!item) return static_cast<DWORD>(-1);
    const DWORD previous = item->state & MF_CHECKED;
    item->state = (item->state & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

HMENU WINAPI GetMenu(HWND hwnd) {
    Window* w = CheckWindow(hwnd);
    if (!w || (w->style & WS_CHILD)) return nullptr;
    return w->menu;
}

BOOL WINAPI SetMenu(HWND hwnd, HMENU menu) {
    Window* w = CheckWindow(hwnd);
    if (!w) return FALSE;
    if (w->style & WS_CHILD) return FALSE;
    if (menu && !CheckMenu(menu)) return FALSE;
    w->menu = menu;
    return TRUE;
}

HMENU WINAPI GetSubMenu(HMENU menu, int position) {
    Menu* m = CheckMenu(menu);
    if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return nullptr;
    const MenuItem& item = m->items[static_cast<std::size_t>(position)];
    return (item.type & MF_POPUP) ? item.submenu : nullptr;
}

int WINAPI GetMenuItemCount(HMENU menu) {
    Menu* m = CheckMenu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU menu, int position) {
    Menu* m = FindMenuPtr(menu);
    if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return static_cast<UINT>(-1);
    const MenuItem& item = m->items[static_cast<std::size_t>(position)];
    return (item.type & MF_POPUP) ? static_cast<UINT>(-1) : item.id;
}

UINT WINAPI GetMenuState(HMENU menu, UINT id, UINT flags) {
    if (!CheckMenu(menu)) return static_cast<UINT>(-1);
    MenuItem* item = FindItem(menu, id, flags);
    if (!item) return static_cast<UINT>(-1);
    if (item->type & MF_POPUP) {
        // The high byte holds the number of the submenu's entries.
        Menu* sub = FindMenuPtr(item->submenu);
        const UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
        return (count << 8) | ((item->type | item->state) & 0xff);
    }
    return item->type | item->state;
}

int WINAPI GetMenuStringA(HMENU menu, UINT id, LPSTR buffer, int maxCount, UINT flags) {
    if (!CheckMenu(menu)) return 0;
    MenuItem* item = FindItem(menu, id, flags);
    if (!item) return 0;
    if (!buffer) return static_cast<int>(item->text.size());
    if (maxCount <= 0) return 0;
    const std::size_t n = std::min(item->text.size(), static_cast<std::size_t>(maxCount - 1));
    std::memcpy(buffer, item->text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

BOOL WINAPI EndMenu() {
    if (S().trackingMenu) S().endMenuRequested = true;
    return TRUE;
}

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    if (!CheckMenu(menu)) return FALSE;
    if (!CheckWindow(owner)) return FALSE;
    if (S().trackingMenu) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    TrackingGuard tracking;
    const bool notify = !(flags & TPM_NONOTIFY);
    if (notify) {
        SendMessageA(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessageA(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    }

    sim::PopupMenuShown shown;
    shown.menu = menu;
    shown.flags = flags;
    shown.x = x;
    shown.y = y;
    shown.owner = owner;
    shown.ownerWasForeground = GetForegroundWindow() == owner;
    shown.items = Snapshot(menu, 0);

    // The menu is open: the modal loop dispatches what is posted meanwhile,
    // and the test may act as the user or as other programs.
    PumpModalLoop();
    if (!S().endMenuRequested && S().popupMenuHook) {
        std::function<void(const sim::PopupMenuShown&)> hook = S().popupMenuHook;
        hook(shown);
        if (!S().endMenuRequested) PumpModalLoop();
    }

    PopupChoice choice;
    if (!S().popupChoices.empty()) {
        choice = S().popupChoices.front();
        S().popupChoices.pop_front();
    }
    if (S().endMenuRequested) choice = PopupChoice{};
    if (!choice.dismiss) {
        MenuItem* item = FindMenuPtr(menu) ? FindItemByCommand(menu, choice.id, nullptr, 0) : nullptr;
        const bool clickable = item && !(item->type & (MF_POPUP | MF_SEPARATOR)) &&
                               !(item->state & (MF_GRAYED | MF_DISABLED));
        if (clickable) shown.chosen = choice.id;
        else shown.choiceRefused = true;
    }
    S().popupMenus.push_back(shown);

    // The closing notifications; the last two come even with TPM_NONOTIFY.
    if (notify) SendMessageA(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    SendMessageA(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessageA(owner, WM_EXITMENULOOP, TRUE, 0);

    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(shown.chosen);
    // The chosen command reaches the owner after the menu has closed.
    if (shown.chosen) PostMessageA(owner, WM_COMMAND, shown.chosen, 0);
    return TRUE;
}

namespace sim {

std::size_t MenuCount() {
    return user::S().menus.size();
}

std::vector<MenuItemSnapshot> MenuItems(HMENU menu) {
    return Snapshot(menu, 0);
}

const std::vector<PopupMenuShown>& PopupMenus() {
    return user::S().popupMenus;
}

void ClearPopupMenus() {
    user::S().popupMenus.clear();
}

void ChoosePopupMenuItem(UINT commandId) {
    user::S().popupChoices.push_back(user::PopupChoice{false, commandId});
}

void DismissPopupMenu() {
    user::S().popupChoices.push_back(user::PopupChoice{true, 0});
}

void SetPopupMenuHook(std::function<void(const PopupMenuShown&)> hook) {
    user::S().popupMenuHook = std::move(hook);
}

}  // namespace sim
