#include "fileops/MakeDirectories.h"

#include <windows.h>

#include "ui/Application.h"
#include "ui/MessageBox.h"
#include "ui/Text.h"

namespace fileops {

namespace {

bool IsDirectory(const std::wstring &path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

unsigned long MakeDirectoriesError(std::wstring path) {
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    if (path.size() < 3 || IsDirectory(path))
        return IsDirectory(path) ? ERROR_SUCCESS : ERROR_PATH_NOT_FOUND;
    size_t cut = path.rfind(L'\\');
    std::wstring parent = cut == std::wstring::npos ? L"" : path.substr(0, cut + 1);
    if (parent == path)
        return ERROR_PATH_NOT_FOUND;
    // A parent that fails may still be there (a share's root): only this level's creation decides.
    const unsigned long parentError = MakeDirectoriesError(parent);
    // Made here, or by someone else meanwhile: either way it is there.
    if (CreateDirectoryW(path.c_str(), nullptr))
        return ERROR_SUCCESS;
    const unsigned long error = GetLastError();
    if (IsDirectory(path))
        return ERROR_SUCCESS;
    // "Path not found" says less than the reason the missing parent could not be made.
    return error == ERROR_PATH_NOT_FOUND && parentError != ERROR_SUCCESS ? parentError : error;
}

bool MakeDirectories(std::wstring path) {
    return MakeDirectoriesError(std::move(path)) == ERROR_SUCCESS;
}

void MakeDirectoriesAsked(const std::wstring &path, HWND owner) {
    if (const unsigned long error = MakeDirectoriesError(path)) {
        const std::wstring text = L"Cannot create the directory \"" + path + L"\".\n\n" + ui::SystemErrorText(error);
        ui::ShowMessage(owner, text, ui::Application().Title(), MB_OK | MB_ICONERROR);
    }
}

} // namespace fileops
