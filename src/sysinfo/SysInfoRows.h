#pragma once
#include <string>
#include <vector>

#include "sysinfo/SysFacts.h"

namespace sysinfo {

// One row of the System Info Manager's list; an empty row separates groups.
struct TInfoRow {
    std::wstring caption;
    std::wstring value;
};

// What the list shows for a tree node.
struct TCategoryRows {
    std::vector<TInfoRow> rows;
    // The list's column captions: "Parameter" and "Value", or "Font Name" and nothing for the fonts.
    std::wstring firstColumn = L"Parameter";
    std::wstring secondColumn = L"Value";
    // False when the category has nothing worth a list (no sound device description, a drive that
    // cannot be read): the window then shows its clock instead.
    bool success = true;
};

// A disk node's text: "C: [SYSTEM]...Fixed".
std::wstring DiskNodeText(wchar_t letter, const std::wstring &volumeLabel, const std::wstring &typeName);
bool IsDiskNode(const std::wstring &nodeText);

// The rows of the node with this text. The text is matched exactly against the category names; a disk
// node first makes its letter the collector's current drive. `fonts` is the screen's font list.
TCategoryRows CategoryRows(TSysFacts &facts, const std::wstring &nodeText, const std::vector<std::wstring> &fonts);

// The screen's font family names with "Default" among them, sorted without regard to letter case.
std::vector<std::wstring> ScreenFontNames();

// The current date and time in the user's short date format and time format.
std::wstring DateTimeText();

} // namespace sysinfo
