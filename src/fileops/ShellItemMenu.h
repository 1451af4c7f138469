#pragma once
#include <windows.h>

#include <string>

namespace fileops {

// The shell's context menu of one file-system path at a screen point, owned by the owner window; the
// command chosen there is carried out by the shell. True when the shell gave a menu (and, when something
// was chosen, carried it out); false when a step failed, with nothing shown of the program's own.
bool ShowItemContextMenu(const std::wstring &path, HWND owner, POINT screen);
// The shell's Properties of one path; true when the shell carried out the command.
bool ShowItemProperties(const std::wstring &path, HWND owner);

} // namespace fileops
