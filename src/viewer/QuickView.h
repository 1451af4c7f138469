#pragma once
#include <string>

#include "viewer/TextView.h"

namespace viewer {

// A quick-view pane: lies in a side's place and shows a row of the other side, a folder as its full path
// and an empty line, a file as its text, decoded as the viewer decodes it (UTF-8 or UTF-16 when its start
// says so, else the Windows character set), followed while it grows. Read-only, no tab stop, no scroll
// bars, long lines wrapped.
class TQuickViewPane : public TTextView {
public:
    void Create(HWND parent, int id);

    // Empties the pane and fills it with the row. A file that cannot be opened shows the error in the pane
    // itself, so that holding Down over a folder of such files never stops at a message box per row.
    void Fill(const std::wstring &fullPath, bool isFolder);
};

} // namespace viewer
