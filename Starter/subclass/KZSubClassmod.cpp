#include "subclass/KZSubClassmod.h"

#include "platform/AppRuntime.h"

#include <unordered_map>
#include <vector>

namespace {

// One target of an entry: its enabled flag and its form's position in the
// form table (from 1).
struct SubClassTarget {
    Boolean enabled = False;
    int form = 0;
};

// One source name: the window it watches, where that window's messages go
// on to, and its targets in calling order.
struct SubClassEntry {
    std::string sourceName;
    HWND hwnd = nullptr;
    LONG_PTR previousWindowProc = 0;
    std::vector<SubClassTarget> targets;
};

std::vector<SubClassEntry>& Entries() {
    static std::vector<SubClassEntry> entries;
    return entries;
}

// Every form that ever became a target, for the life of the process.
std::vector<KZSubClassTarget*>& Forms() {
    static std::vector<KZSubClassTarget*> forms;
    return forms;
}

// Positions by key, kept beside the two tables so that filling them to their
// limits stays fast. Entries are only ever appended or all dropped at once,
// forms only appended, so the positions never move.
std::unordered_map<std::string, int>& EntryPositions() {
    static std::unordered_map<std::string, int> positions;
    return positions;
}

std::unordered_map<const KZSubClassTarget*, int>& FormPositions() {
    static std::unordered_map<const KZSubClassTarget*, int> positions;
    return positions;
}

int Count(const std::vector<SubClassEntry>& entries) {
    return static_cast<int>(entries.size());
}

void ShowOverflow(const char* text) {
    platform::MsgBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// The enabled flag of the target with this form in the entry, as it stands
// now; False when the entry or the target is gone.
bool TargetEnabled(int entryPosition, int form) {
    std::vector<SubClassEntry>& entries = Entries();
    if (entryPosition < 1 || entryPosition > Count(entries)) return false;
    for (const SubClassTarget& target : entries[static_cast<std::size_t>(entryPosition - 1)].targets)
        if (target.form == form) return target.enabled != 0;
    return false;
}

}  // namespace

int SubClass_Find(const std::string& sourceName) {
    auto found = EntryPositions().find(sourceName);
    return found == EntryPositions().end() ? 0 : found->second;
}

int TargetForm_Index(const KZSubClassTarget& form) {
    auto found = FormPositions().find(&form);
    return found == FormPositions().end() ? 0 : found->second;
}

int TargetForm_Find(int entryPosition, const KZSubClassTarget& form) {
    const std::vector<SubClassEntry>& entries = Entries();
    if (entryPosition < 1 || entryPosition > Count(entries)) return 0;
    const int index = TargetForm_Index(form);
    if (index == 0) return 0;
    const std::vector<SubClassTarget>& targets = entries[static_cast<std::size_t>(entryPosition - 1)].targets;
    for (std::size_t j = 0; j < targets.size(); ++j)
        if (targets[j].form == index) return static_cast<int>(j) + 1;
    return 0;
}

void TargetForm_Add(KZSubClassTarget& form) {
    if (TargetForm_Index(form) != 0) return;
    if (static_cast<int>(Forms().size()) >= KZSubClassTableLimit) {
        ShowOverflow("internal error in TargetForm_Add() (KZSubClass): overflow !");
        return;
    }
    Forms().push_back(&form);
    FormPositions()[&form] = static_cast<int>(Forms().size());
}

void KZSubClass(KZSubClassSource& source, const std::string& sourceName, KZSubClassTarget& targetForm,
                Boolean enabled, HWND windowHandle, Boolean insertFirst) {
    std::vector<SubClassEntry>& entries = Entries();
    const int position = SubClass_Find(sourceName);

    if (position == 0) {
        if (Count(entries) >= KZSubClassTableLimit) {
            ShowOverflow("internal error in KZSubClass(): overflow !");
            return;
        }
        TargetForm_Add(targetForm);
        const int form = TargetForm_Index(targetForm);
        if (form == 0) return;  // the form table is full: no entry without its target

        SubClassEntry entry;
        entry.sourceName = sourceName;
        entry.hwnd = windowHandle ? windowHandle : source.hwnd();
        entry.targets.push_back(SubClassTarget{enabled, form});

        // A nonzero user-data slot holds the window's own procedure: the
        // window is subclassed already, under another source name.
        const LONG_PTR ownProc = GetWindowLongPtrA(entry.hwnd, GWLP_USERDATA);
        if (ownProc != 0) {
            entry.previousWindowProc = ownProc;
        } else {
            entry.previousWindowProc =
                SetWindowLongPtrA(entry.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubClass_WindowProc));
            SetWindowLongPtrA(entry.hwnd, GWLP_USERDATA, entry.previousWindowProc);
        }
        entries.push_back(std::move(entry));
        EntryPositions()[sourceName] = Count(entries);
        return;
    }

    const int existing = TargetForm_Find(position, targetForm);
    if (existing != 0) {
        entries[static_cast<std::size_t>(position - 1)].targets[static_cast<std::size_t>(existing - 1)].enabled =
            enabled;
        return;
    }
    if (static_cast<int>(entries[static_cast<std::size_t>(position - 1)].targets.size()) >= KZSubClassTableLimit) {
        ShowOverflow("internal error in KZSubClass(): overflow (2) !");
        return;
    }
    TargetForm_Add(targetForm);
    const int form = TargetForm_Index(targetForm);
    if (form == 0) return;  // the form table is full: the entry stays as it was
    std::vector<SubClassTarget>& targets = entries[static_cast<std::size_t>(position - 1)].targets;
    if (insertFirst)
        targets.insert(targets.begin(), SubClassTarget{enabled, form});
    else
        targets.push_back(SubClassTarget{enabled, form});
}

void UnSubClassAll() {
    // Taken out of the table first: nothing below calls a window procedure,
    // but the table must be empty whatever happens next.
    std::vector<SubClassEntry> entries;
    entries.swap(Entries());
    EntryPositions().clear();
    for (const SubClassEntry& entry : entries) {
        SetWindowLongPtrA(entry.hwnd, GWLP_WNDPROC, entry.previousWindowProc);
        SetWindowLongPtrA(entry.hwnd, GWLP_USERDATA, 0);
    }
}

LRESULT CALLBACK SubClass_WindowProc(HWND hwnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    // Each invocation keeps its own result and matched entry: a target's
    // handler may run a modal loop that brings this procedure back in.
    LRESULT ReturnValue = 0;
    bool ReturnValueUsedFlag = false;
    int matched = 0;
    // The window whose message this is; targets may change hwnd for those
    // after them, not which entries the message belongs to.
    const HWND window = hwnd;

    const int n = Count(Entries());  // entries made by a callback don't see this message
    for (int i = 1; i <= n; ++i) {
        if (i > Count(Entries())) break;  // a callback emptied the table
        if (Entries()[static_cast<std::size_t>(i - 1)].hwnd != window) continue;
        matched = i;
        // The targets as they stand when the entry's turn comes. A target
        // joining meanwhile waits for the next message; a target disabled by
        // an earlier one's handler is passed over.
        std::vector<int> forms;
        for (const SubClassTarget& target : Entries()[static_cast<std::size_t>(i - 1)].targets)
            forms.push_back(target.form);
        for (int form : forms) {
            if (Count(Entries()) < i) continue;  // a callback emptied the table
            if (!TargetEnabled(i, form)) continue;
            std::string SourceDescription = Entries()[static_cast<std::size_t>(i - 1)].sourceName;
            Forms()[static_cast<std::size_t>(form - 1)]->KZSubClassWindowProc(SourceDescription, hwnd, Msg, wParam,
                                                                             lParam, ReturnValue, ReturnValueUsedFlag);
        }
    }

    if (matched != 0 && Count(Entries()) >= matched) {
        if (ReturnValueUsedFlag) return ReturnValue;
        const auto ownProc = reinterpret_cast<WNDPROC>(Entries()[static_cast<std::size_t>(matched - 1)].previousWindowProc);
        return CallWindowProcA(ownProc, hwnd, Msg, wParam, lParam);
    }
    // No entry for this window (UnSubClassAll ran inside a callback).
    return 0;
}
