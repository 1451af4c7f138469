#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ui/Keys.h"

namespace ui {

// The menu's shortcuts, read from an accelerator resource: key plus exact modifier set to command.
class TShortcutTable {
public:
    struct Entry {
        WORD key;
        TShiftState shift;
        int command;
    };

    static TShortcutTable FromResource(HINSTANCE instance, const wchar_t *name);
    // The command of the key with exactly these modifiers, 0 when none.
    int Find(WORD key, TShiftState shift) const;
    const std::vector<Entry> &Entries() const { return entries_; }
    // The key's name as a menu shows it after the tab, e.g. "Shift+Alt+F9".
    static std::wstring KeyText(WORD key, TShiftState shift);

private:
    std::vector<Entry> entries_;
};

} // namespace ui
