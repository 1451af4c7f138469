#pragma once
#include <string>

#include "filelist/FileList.h"

namespace app {

// Marks of one file list. No operation leaves the parent row ".." marked.
void MarkAll(filelist::TFileList &list);
void UnmarkAll(filelist::TFileList &list);
void InvertMarks(filelist::TFileList &list);
// Flips the row's mark; the parent row becomes unmarked instead. Nothing for no row.
void ToggleMark(filelist::TFileList &list, int row);
// Marks (or unmarks) the rows whose names the system's own search for Directory + pattern finds,
// comparing names without regard to ASCII case.
void MarkGroup(filelist::TFileList &list, const std::wstring &pattern, bool mark);

} // namespace app
