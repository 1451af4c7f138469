#include "fileops/MakeDirectories.h"

#include <windows.h>

namespace fileops {

namespace {

bool IsDirectory(const std::wstring &path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool MakeDirectories(std::wstring path) {
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    if (path.size() < 3 || IsDirectory(path))
        return IsDirectory(path);
    size_t cut = path.rfind(L'\\');
    std::wstring parent = cut == std::wstring::npos ? L"" : path.substr(0, cut + 1);
    if (parent == path)
        return false;
    MakeDirectories(parent);
    // Made here, or by someone else meanwhile: either way it is there.
    return CreateDirectoryW(path.c_str(), nullptr) || IsDirectory(path);
}

} // namespace fileops
