#include "fileops/MakeDirectories.h"

#include <windows.h>

namespace fileops {

void MakeDirectories(std::wstring path) {
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    if (path.size() < 3)
        return;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    size_t cut = path.rfind(L'\\');
    std::wstring parent = cut == std::wstring::npos ? L"" : path.substr(0, cut + 1);
    if (parent == path)
        return;
    MakeDirectories(parent);
    CreateDirectoryW(path.c_str(), nullptr);
}

} // namespace fileops
