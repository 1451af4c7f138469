#pragma once
#include <windows.h>

#include <string>

#include "driver/TempDir.h"

namespace fileopstest {

// The trash that Wine's Recycle Bin sends files to in this test program, ending in "\": every test
// program that deletes to the Recycle Bin points the desktop's data folder at a temporary folder that does
// not exist yet (a new user's home), so the user's own trash is never touched (TrashSandbox.cpp).
std::wstring TrashFolder();

// What the trash holds under the name ("" when nothing); the trashed file is removed so tests leave no traces.
inline std::string TakeFromTrash(const std::wstring &name) {
    std::wstring trash = TrashFolder();
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

// Points the desktop's data folder somewhere else for as long as it lives (the process's variable and the
// C runtime's copy that Wine's shell reads), then puts the old value back.
class DataHomeScope {
public:
    // The data folder is the name inside the (existing) folder.
    DataHomeScope(const std::wstring &folder, const std::string &name);
    ~DataHomeScope();
    DataHomeScope(const DataHomeScope &) = delete;
    DataHomeScope &operator=(const DataHomeScope &) = delete;

private:
    std::wstring old_;
    bool hadOld_ = false;
};

} // namespace fileopstest
