#pragma once
#include <windows.h>

#include <string>

#include "config/Colors.h"

namespace config {

// The settings key below HKEY_LOCAL_MACHINE; the leading backslash makes the path absolute.
inline constexpr wchar_t kSettingsKeyPath[] = L"\\SOFTWARE\\Kestrune\\Zelvor";

// One registry accessor for one operation: opens the settings key with full access without creating it,
// reads or writes one value at a time, and closes the key when it goes. A key that cannot be opened is
// not reported here: text reads then give the empty text and the other reads and every write fail
// with the value's name.
class TSettingsKey {
public:
    TSettingsKey();
    ~TSettingsKey();
    TSettingsKey(const TSettingsKey &) = delete;
    TSettingsKey &operator=(const TSettingsKey &) = delete;

    bool IsOpen() const { return key_ != nullptr; }

    static bool Exists();
    // Creates the key (and the keys above it) and leaves it open; "Failed to create key %s" otherwise.
    static TSettingsKey Create();

    // Missing or empty values read as the empty text; data is cut at its first NUL.
    std::wstring ReadString(const wchar_t *name) const;
    void WriteString(const wchar_t *name, const std::wstring &value);
    // Only the exact text "True" is yes.
    bool ReadBool(const wchar_t *name) const { return ReadString(name) == L"True"; }
    void WriteBool(const wchar_t *name, bool value) { WriteString(name, value ? L"True" : L"False"); }
    // A decimal text, as the window position values are kept.
    int ReadInteger(const wchar_t *name) const;
    void WriteInteger(const wchar_t *name, int value) { WriteString(name, std::to_wstring(value)); }
    // A 32-bit registry integer that is a colour value (Colors.h); another number fails as a bad value.
    TColor ReadColor(const wchar_t *name) const;
    void WriteColor(const wchar_t *name, TColor value);

private:
    explicit TSettingsKey(HKEY key) : key_(key) {}

    HKEY key_ = nullptr;
};

// The decimal text as an integer; "'%s' is not a valid integer value" when it is none.
int StrToInt(const std::wstring &text);

} // namespace config
