#include "config/SettingsKey.h"

#include <climits>
#include <cwctype>
#include <vector>

#include "ui/Text.h"

namespace config {

namespace {

// RegOpenKeyEx and RegCreateKeyEx take the path without the leading backslash.
const wchar_t *RelativePath() {
    return kSettingsKeyPath + 1;
}

std::wstring Quoted(const wchar_t *format, const std::wstring &text) {
    std::wstring message = format;
    message.replace(message.find(L"%s"), 2, text);
    return message;
}

[[noreturn]] void Fail(const wchar_t *format, const std::wstring &text) {
    throw ui::Error(Quoted(format, text));
}

} // namespace

TSettingsKey::TSettingsKey() {
    // A user who may read the key but not write it (a limited user on XP) still gets the settings read;
    // writes then fail with the value's name.
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, RelativePath(), 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS &&
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, RelativePath(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
        key_ = nullptr;
}

TSettingsKey::~TSettingsKey() {
    if (key_)
        RegCloseKey(key_);
}

bool TSettingsKey::Exists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, RelativePath(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

TSettingsKey TSettingsKey::Create() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, RelativePath(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        Fail(L"Failed to create key %s", kSettingsKeyPath);
    return TSettingsKey(key);
}

std::wstring TSettingsKey::ReadString(const wchar_t *name) const {
    if (!key_)
        return {};
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || bytes == 0)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        Fail(L"Invalid data type for '%s'", name);
    // The value may change between the two calls; ask again while it grows.
    std::vector<wchar_t> buffer;
    LSTATUS status;
    do {
        buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        status = RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer.data()), &bytes);
    } while (status == ERROR_MORE_DATA);
    if (status != ERROR_SUCCESS)
        Fail(L"Failed to get data for '%s'", name);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        Fail(L"Invalid data type for '%s'", name);
    std::wstring text(buffer.data(), bytes / sizeof(wchar_t));
    if (size_t nul = text.find(L'\0'); nul != std::wstring::npos)
        text.erase(nul);
    return text;
}

void TSettingsKey::WriteString(const wchar_t *name, const std::wstring &value) {
    // Stored without a terminating NUL; an empty text stores zero bytes. The system counts a NUL that
    // follows the data in memory into a string value, so the copy ends in a character that is none.
    std::wstring data = value + L' ';
    if (!key_ || RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(data.data()),
                                static_cast<DWORD>(value.size() * sizeof(wchar_t))) != ERROR_SUCCESS)
        Fail(L"Failed to set data for '%s'", name);
}

int TSettingsKey::ReadInteger(const wchar_t *name) const {
    return StrToInt(ReadString(name));
}

TColor TSettingsKey::ReadColor(const wchar_t *name) const {
    DWORD type = 0, value = 0, bytes = sizeof value;
    if (!key_)
        Fail(L"Failed to get data for '%s'", name);
    LSTATUS status = RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE *>(&value), &bytes);
    if (status == ERROR_MORE_DATA)
        Fail(L"Invalid data type for '%s'", name);
    if (status != ERROR_SUCCESS)
        Fail(L"Failed to get data for '%s'", name);
    if (type != REG_DWORD || bytes != sizeof value)
        Fail(L"Invalid data type for '%s'", name);
    // A number that names no colour would paint as black, names on black as like as not.
    if (!IsColor(value))
        Fail(L"Invalid colour value for '%s'", name);
    return value;
}

void TSettingsKey::WriteColor(const wchar_t *name, TColor value) {
    DWORD data = value;
    if (!key_ ||
        RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&data), sizeof data) != ERROR_SUCCESS)
        Fail(L"Failed to set data for '%s'", name);
}

int StrToInt(const std::wstring &text) {
    size_t i = 0;
    while (i < text.size() && text[i] == L' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    long long value = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    if (digits == 0 || i != text.size() || value > INT_MAX || value < INT_MIN)
        Fail(L"'%s' is not a valid integer value", text);
    return static_cast<int>(value);
}

} // namespace config
