#pragma once
#include <windows.h>

#include <string>

#include "driver/TempDir.h"

namespace fileopstest {

// The desktop's trash that Wine's Recycle Bin sends files to; empty when there is no such place.
inline std::wstring TrashFolder() {
    wchar_t home[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH))
        return {};
    std::wstring path = home;
    if (path.rfind(L"\\??\\", 0) == 0)
        path.erase(0, 4);
    return path + L"\\.local\\share\\Trash\\";
}

// What the trash holds under the name ("" when nothing); the trashed file is removed so tests leave no traces.
inline std::string TakeFromTrash(const std::wstring &name) {
    std::wstring trash = TrashFolder();
    if (trash.empty())
        return {};
    std::string content = testdriver::ReadFileBytes(trash + L"files\\" + name);
    DeleteFileW((trash + L"files\\" + name).c_str());
    DeleteFileW((trash + L"info\\" + name + L".trashinfo").c_str());
    return content;
}

// A file name no earlier run has left in the trash.
inline std::wstring UniqueName(const std::wstring &stem) {
    static unsigned counter = 0;
    return stem + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L"-" +
           std::to_wstring(++counter) + L".txt";
}

} // namespace fileopstest
