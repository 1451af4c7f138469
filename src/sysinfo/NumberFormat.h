#pragma once
#include <cstdint>
#include <string>

namespace sysinfo {

// The number texts of the information windows. Byte counts are 64-bit so that large drives and memory show
// their true size; a negative value (-1, "cannot be read") keeps its minus sign.

// "#,##0": decimal digits grouped by three with the separator, no decimals.
std::wstring FormatGrouped(std::int64_t value, const std::wstring &separator);
// "#,##0 <unit>": the grouped number, a space and the unit; an empty unit leaves the trailing space.
std::wstring FormatWithUnit(std::int64_t value, const std::wstring &unit, const std::wstring &separator);
// The plain signed decimal number.
std::wstring FormatDecimal(std::int32_t value);
// "0x" and the 32-bit pattern of the value as `digits` upper-case hexadecimal digits, padded with zeros.
std::wstring FormatHex(std::int32_t value, int digits);

// The thousands separator of the user's locale ("," when the locale gives none).
std::wstring LocaleThousandsSeparator();

// The units the windows show.
inline const std::wstring kUnitBytes = L"B";
inline const std::wstring kUnitBytesCyrillic = L"\u0411";
inline const std::wstring kUnitPercent = L"%";

// The same formats with the user's thousands separator.
inline std::wstring FormatWithUnit(std::int64_t value, const std::wstring &unit) {
    return FormatWithUnit(value, unit, LocaleThousandsSeparator());
}

} // namespace sysinfo
