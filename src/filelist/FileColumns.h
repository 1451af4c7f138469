#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

namespace filelist {

enum TFileType { ftArchive, ftReadonly, ftSystem, ftHidden, ftTemporary, ftAll };
using TFileTypes = std::uint8_t; // member n is bit n
constexpr TFileTypes FileTypeBit(TFileType t) { return static_cast<TFileTypes>(1u << t); }
constexpr TFileTypes kAllFileTypes = 0x3F;

enum TFileInfo { fiName, fiSize, fiType, fiModified, fiCreated, fiLastAccess, fiAttributes, fiDosName, fiDosExt, fiPath, fiAll };
using TFileInfos = std::uint16_t; // member n is bit n
constexpr TFileInfos FileInfoBit(TFileInfo i) { return static_cast<TFileInfos>(1u << i); }
constexpr TFileInfos kDefaultViewColumns =
    FileInfoBit(fiName) | FileInfoBit(fiSize) | FileInfoBit(fiType) | FileInfoBit(fiModified);

struct TColumnInfo {
    const wchar_t *caption;
    int width;
    int format; // LVCFMT_LEFT or LVCFMT_RIGHT
};
extern const std::array<TColumnInfo, fiAll> kColumnTable;

// A member is shown when it or fiAll is in the set.
inline bool IsShown(TFileInfos columns, TFileInfo member) {
    return (columns & FileInfoBit(member)) || (columns & FileInfoBit(fiAll));
}

// Which member each list-view column shows, and the column of each member (-1: none).
struct TColumnMap {
    std::array<int, fiAll> columnOf{};
    std::array<TFileInfo, fiAll> memberAt{};
    int count = 0;
};
// Name and Size always have columns 0 and 1 (zero width when not shown); the shown optional members follow.
TColumnMap BuildColumnMap(TFileInfos columns);

// True when every one of the entry's archive, read-only, hidden, system and temporary attributes is admitted.
bool MatchesFileTypes(DWORD attributes, TFileTypes types);
// "D", "A", "R", "S", "H", "T" for directory, archive, read-only, system, hidden, temporary, in that order.
std::wstring AttributeLetters(DWORD attributes);
// The size in decimal, right-aligned in ten characters ("%10d"); longer numbers take the room they need.
std::wstring SizeText(unsigned long long size);
// The extension with its dot in upper case followed by " File": the type of a file the shell does not know.
std::wstring FallbackTypeName(const std::wstring &fileName);
// The extension with its leading dot, or empty.
std::wstring ExtensionOf(const std::wstring &fileName);

// Local date in the user's short format, two blanks, and time without seconds. Results are cached by
// minute, since a listing formats many equal times.
class TFileTimeFormatter {
public:
    std::wstring Format(const FILETIME &utc);

private:
    static constexpr int kSlots = 4096;
    struct Slot {
        unsigned long long minute = ~0ull;
        std::wstring text;
    };
    std::array<Slot, kSlots> cache_;
};
std::wstring FormatFileTime(const FILETIME &utc);
// The same text of a local date and time.
std::wstring FormatLocalTime(const SYSTEMTIME &local);

} // namespace filelist
