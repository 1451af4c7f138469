#pragma once
#include <windows.h>

#include <cstdint>

namespace config {

// A colour value as the settings store keeps it: 0x00BBGGRR for an RGB colour, or 0x80000000 plus a
// system-colour index for a system colour.
using TColor = std::uint32_t;

constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor clWindowText = kSystemColorFlag | COLOR_WINDOWTEXT;
constexpr TColor clWindow = kSystemColorFlag | COLOR_WINDOW;

// The highest system-colour index Windows XP knows (COLOR_MENUBAR); GetSysColor gives black for others.
constexpr TColor kLastSystemColor = 30;

// A colour value is an RGB colour (its top byte 0) or the flag plus an index the system has a colour for.
constexpr bool IsColor(TColor color) {
    return (color & kSystemColorFlag) ? (color & ~kSystemColorFlag) <= kLastSystemColor : (color >> 24) == 0;
}

// The colour a window paints for a colour value.
inline COLORREF ColorToRGB(TColor color) {
    if (color & kSystemColorFlag)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

struct TNamedColor {
    const wchar_t *name;
    TColor value;
};

// The sixteen colours the Configuration dialog offers, in the order of its lists.
inline constexpr TNamedColor kStandardColors[16] = {
    {L"Black", 0x000000},  {L"Maroon", 0x000080},  {L"Green", 0x008000}, {L"Olive", 0x008080},
    {L"Navy", 0x800000},   {L"Purple", 0x800080},  {L"Teal", 0x808000},  {L"Gray", 0x808080},
    {L"Silver", 0xC0C0C0}, {L"Red", 0x0000FF},     {L"Lime", 0x00FF00},  {L"Yellow", 0x00FFFF},
    {L"Blue", 0xFF0000},   {L"Fuchsia", 0xFF00FF}, {L"Aqua", 0xFFFF00},  {L"White", 0xFFFFFF},
};

} // namespace config
