#pragma once
#include <windows.h>

#include <string>

namespace fileops {

// Creates every missing level of a directory path, outermost first. A path shorter than three characters,
// an existing directory and a drive root end the climb. True when the directory exists afterwards.
bool MakeDirectories(std::wstring path);
// The same, answering with the system's error code of the creation that failed (0 when the directory
// exists afterwards).
unsigned long MakeDirectoriesError(std::wstring path);
// Creates the directories a person asked for and tells them why, when the system refuses (a name no file
// system accepts, no access, a full disk), in a message box over the owner.
void MakeDirectoriesAsked(const std::wstring &path, HWND owner);

} // namespace fileops
