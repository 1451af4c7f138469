#include "sysinfo/NumberFormat.h"

#include <windows.h>

#include <algorithm>

namespace sysinfo {

std::wstring FormatGrouped(std::int64_t value, const std::wstring &separator) {
    // Negated as unsigned: the magnitude of the smallest 64-bit number does not fit in 64 signed bits.
    const std::int64_t wide = value;
    std::uint64_t magnitude = wide < 0 ? 0 - static_cast<std::uint64_t>(wide) : static_cast<std::uint64_t>(wide);
    std::wstring digits = std::to_wstring(magnitude);
    std::wstring text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separator;
        text += digits[i];
    }
    return wide < 0 ? L"-" + text : text;
}

std::wstring FormatWithUnit(std::int64_t value, const std::wstring &unit, const std::wstring &separator) {
    return FormatGrouped(value, separator) + L" " + unit;
}

std::wstring FormatDecimal(std::int32_t value) {
    return std::to_wstring(value);
}

std::wstring FormatHex(std::int32_t value, int digits) {
    static const wchar_t hex[] = L"0123456789ABCDEF";
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    std::wstring text;
    do {
        text += hex[bits & 0xF];
        bits >>= 4;
    } while (bits != 0);
    if (static_cast<int>(text.size()) < digits)
        text.append(digits - text.size(), L'0');
    std::reverse(text.begin(), text.end());
    return L"0x" + text;
}

std::wstring LocaleThousandsSeparator() {
    wchar_t buffer[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, ARRAYSIZE(buffer)) <= 1)
        return L",";
    return buffer;
}

} // namespace sysinfo
