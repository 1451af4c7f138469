#include "filelist/FileColumns.h"

#include <commctrl.h>

#include <cwchar>

namespace filelist {

const std::array<TColumnInfo, fiAll> kColumnTable = {{
    {L"Name", 120, LVCFMT_LEFT},
    {L"Size", 60, LVCFMT_RIGHT},
    {L"Type", 100, LVCFMT_LEFT},
    {L"Modified", 60, LVCFMT_LEFT},
    {L"Created", 100, LVCFMT_LEFT},
    {L"Last Access", 85, LVCFMT_LEFT},
    {L"Attributes", 60, LVCFMT_LEFT},
    {L"Dos Name", 130, LVCFMT_LEFT},
    {L"Dos Ext", 60, LVCFMT_LEFT},
    {L"Path", 200, LVCFMT_LEFT},
}};

TColumnMap BuildColumnMap(TFileInfos columns) {
    TColumnMap map;
    map.columnOf.fill(-1);
    map.columnOf[fiName] = 0;
    map.memberAt[0] = fiName;
    map.columnOf[fiSize] = 1;
    map.memberAt[1] = fiSize;
    map.count = 2;
    for (int m = fiType; m < fiAll; ++m) {
        if (!IsShown(columns, static_cast<TFileInfo>(m))) continue;
        map.columnOf[m] = map.count;
        map.memberAt[map.count] = static_cast<TFileInfo>(m);
        ++map.count;
    }
    return map;
}

bool MatchesFileTypes(DWORD attributes, TFileTypes types) {
    if (types & FileTypeBit(ftAll)) return true;
    struct Need {
        DWORD attribute;
        TFileType type;
    };
    static const Need needs[] = {{FILE_ATTRIBUTE_ARCHIVE, ftArchive},
                                 {FILE_ATTRIBUTE_READONLY, ftReadonly},
                                 {FILE_ATTRIBUTE_HIDDEN, ftHidden},
                                 {FILE_ATTRIBUTE_SYSTEM, ftSystem},
                                 {FILE_ATTRIBUTE_TEMPORARY, ftTemporary}};
    for (const Need &n : needs)
        if ((attributes & n.attribute) && !(types & FileTypeBit(n.type))) return false;
    return true;
}

std::wstring AttributeLetters(DWORD attributes) {
    std::wstring s;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) s += L'D';
    if (attributes & FILE_ATTRIBUTE_ARCHIVE) s += L'A';
    if (attributes & FILE_ATTRIBUTE_READONLY) s += L'R';
    if (attributes & FILE_ATTRIBUTE_SYSTEM) s += L'S';
    if (attributes & FILE_ATTRIBUTE_HIDDEN) s += L'H';
    if (attributes & FILE_ATTRIBUTE_TEMPORARY) s += L'T';
    return s;
}

std::wstring SizeText(unsigned long long size) {
    wchar_t digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + size % 10);
        size /= 10;
    } while (size);
    std::wstring s(n < 10 ? 10 - n : 0, L' ');
    while (n) s += digits[--n];
    return s;
}

std::wstring ExtensionOf(const std::wstring &fileName) {
    size_t dot = fileName.rfind(L'.');
    if (dot == std::wstring::npos) return {};
    return fileName.substr(dot);
}

std::wstring FallbackTypeName(const std::wstring &fileName) {
    std::wstring ext = ExtensionOf(fileName);
    if (!ext.empty()) CharUpperBuffW(ext.data(), static_cast<DWORD>(ext.size()));
    return ext + L" File";
}

std::wstring FormatFileTime(const FILETIME &utc) {
    FILETIME local{};
    SYSTEMTIME st{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return {};
    return FormatLocalTime(st);
}

std::wstring FormatLocalTime(const SYSTEMTIME &local) {
    wchar_t date[80] = {}, time[80] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, date, 80);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 80);
    return std::wstring(date) + L"  " + time;
}

std::wstring TFileTimeFormatter::Format(const FILETIME &utc) {
    unsigned long long ticks = (static_cast<unsigned long long>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
    unsigned long long minute = ticks / (60ull * 10000000ull);
    Slot &slot = cache_[minute % kSlots];
    if (slot.minute != minute) {
        slot.minute = minute;
        slot.text = FormatFileTime(utc);
    }
    return slot.text;
}

} // namespace filelist
