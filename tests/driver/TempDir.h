#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testdriver {

// A fresh, empty folder of its own for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // The folder's path, ending in "\".
    const std::wstring &Path() const { return path_; }
    std::wstring operator/(const std::wstring &name) const { return path_ + name; }
    // Creates a file (and its folders) with the given content; returns its full path.
    std::wstring File(const std::wstring &relative, const std::string &content = "", DWORD attributes = 0);
    std::wstring Folder(const std::wstring &relative, DWORD attributes = 0);

private:
    std::wstring path_;
};

// Makes entries under a folder from the Linux side, where names may hold what Windows calls refuses
// ("*", "?", "\\", bytes that are no UTF-8). Each name is a byte string, "/" between levels; a name ending in
// "/" is a folder, any other a file with the content. True when all are there. Under Wine only.
struct UnixEntry {
    std::string name;
    std::string content;
};
// With `onlyMissing`, an entry that is there already is left as it is.
bool MakeFromUnix(const std::wstring &folder, const std::vector<UnixEntry> &entries, bool onlyMissing = false);
// Runs a Linux shell command and waits for it; true when it succeeded. The Linux path of a Windows path.
bool RunUnix(const std::string &command);
std::string UnixPathOf(const std::wstring &path);

bool Exists(const std::wstring &path);
// A folder on a medium that cannot be written, holding "cmd.his" with the line "old" (made by the suite's
// fixture "readonly_folder"); its path ending in "\", or empty when the suite could not make one.
std::wstring ReadOnlyFolder();
std::string ReadFileBytes(const std::wstring &path);
// The names in a folder (its path ending in "\"), sorted, without "." and "..".
std::vector<std::wstring> NamesIn(const std::wstring &folder);
void RemoveTree(const std::wstring &path);

} // namespace testdriver
