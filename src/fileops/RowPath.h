#pragma once
#include <windows.h>

#include <string>

#include "fileops/PathRules.h"

namespace filelist {
class TFileList;
}

namespace fileops {

// The exact path of a list row for the use (see ExactPathFor), or why nothing reaches its item.
TExactPath ExactRowPath(const filelist::TFileList &view, int row, TPathUse use);
// The same path, or empty after saying why in a box over `owner`.
std::wstring ExactRowPathOrSay(HWND owner, const filelist::TFileList &view, int row, TPathUse use);

} // namespace fileops
