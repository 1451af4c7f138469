#pragma once

#include <windows.h>

#include <string>

// A fresh folder below the temp folder for one test, removed with all it holds when the test ends.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree &) = delete;
    TempTree &operator=(const TempTree &) = delete;

    // With its trailing backslash.
    const std::wstring &Root() const { return root_; }
    // Creates the file (and its folders) below the root; returns its full path.
    std::wstring File(const std::wstring &relative, const std::string &content = {});
    std::wstring Dir(const std::wstring &relative);
    static void SetWriteTime(const std::wstring &path, const FILETIME &time);
    static FILETIME WriteTime(const std::wstring &path);

private:
    std::wstring root_;
};
