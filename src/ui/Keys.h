#pragma once
#include <windows.h>

namespace ui {

// The modifier keys and mouse buttons held during a key or mouse event.
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = unsigned;
constexpr TShiftState kModifierMask = ssShift | ssAlt | ssCtrl;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Modifier state as the thread's input state reports it at the current message.
inline TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    return s;
}

inline TShiftState MouseShiftState(WPARAM keys) {
    TShiftState s = KeyboardShiftState();
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    return s;
}

} // namespace ui
