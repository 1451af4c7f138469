#pragma once

#include <windows.h>

#include <string>

#include "driver/TempDir.h"

// The test driver's temporary folder, with the names and file times the finder tests use.
class TempTree {
public:
    // With its trailing backslash.
    const std::wstring &Root() const { return dir_.Path(); }
    // Creates the file (and its folders) below the root; returns its full path.
    std::wstring File(const std::wstring &relative, const std::string &content = {}) {
        return dir_.File(relative, content);
    }
    // Creates the folder (and its parents); returns its path with the trailing backslash.
    std::wstring Dir(const std::wstring &relative) { return dir_.Folder(relative) + L"\\"; }
    static void SetWriteTime(const std::wstring &path, const FILETIME &time);
    static FILETIME WriteTime(const std::wstring &path);

private:
    testdriver::TempDir dir_;
};
