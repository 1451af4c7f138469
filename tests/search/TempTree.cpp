#include "TempTree.h"

#include "search/Handles.h"

#include <stdexcept>

void TempTree::SetWriteTime(const std::wstring &path, const FILETIME &time) {
    UniqueFileHandle file(NullIfInvalid(CreateFileW(
        path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)));
    if (!file || !SetFileTime(file.get(), nullptr, nullptr, &time))
        throw std::runtime_error("cannot set the test file's time");
}

FILETIME TempTree::WriteTime(const std::wstring &path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}
