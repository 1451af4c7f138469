#include "ui/Shortcuts.h"

#include <string>

namespace ui {

TShortcutTable TShortcutTable::FromResource(HINSTANCE instance, const wchar_t *name) {
    TShortcutTable table;
    HACCEL accel = LoadAcceleratorsW(instance, name);
    if (!accel) return table;
    int n = CopyAcceleratorTableW(accel, nullptr, 0);
    std::vector<ACCEL> raw(n);
    CopyAcceleratorTableW(accel, raw.data(), n);
    DestroyAcceleratorTable(accel);
    for (const ACCEL &a : raw) {
        if (!(a.fVirt & FVIRTKEY)) continue;
        TShiftState s = 0;
        if (a.fVirt & FSHIFT) s |= ssShift;
        if (a.fVirt & FALT) s |= ssAlt;
        if (a.fVirt & FCONTROL) s |= ssCtrl;
        table.entries_.push_back({a.key, s, a.cmd});
    }
    return table;
}

int TShortcutTable::Find(WORD key, TShiftState shift) const {
    shift &= kModifierMask;
    for (const Entry &e : entries_)
        if (e.key == key && e.shift == shift) return e.command;
    return 0;
}

std::wstring TShortcutTable::KeyText(WORD key, TShiftState shift) {
    std::wstring text;
    if (shift & ssShift) text += L"Shift+";
    if (shift & ssCtrl) text += L"Ctrl+";
    if (shift & ssAlt) text += L"Alt+";
    if (key >= VK_F1 && key <= VK_F24) text += L"F" + std::to_wstring(key - VK_F1 + 1);
    else if (key == VK_RETURN) text += L"Enter";
    else if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) text += static_cast<wchar_t>(key);
    else text += L"?" + std::to_wstring(key);
    return text;
}

} // namespace ui
