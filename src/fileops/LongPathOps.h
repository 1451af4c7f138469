#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace fileops {

// A step that failed: the path it acted on and the system's error code.
struct TStepFailure {
    std::wstring path;
    DWORD code = ERROR_SUCCESS;
    explicit operator bool() const { return code != ERROR_SUCCESS; }
};

// What a source holds, found by walking it before anything is done with it.
struct TItemScan {
    unsigned long long bytes = 0; // the bytes of its files
    bool longPaths = false;       // a path inside (or of a target inside) needs "\\?\" to be reached exactly
    std::wstring blocked;         // a path inside that nothing can reach exactly, with why
    TStepFailure unreadable;      // a folder that cannot be listed or a file that cannot be read
    // The target files that exist before the operation, with their size and write time, so that what the
    // operation did not touch is told from a copy it cut off.
    std::map<std::wstring, std::pair<unsigned long long, FILETIME>> targetsBefore;
};

// Walks a source (file or folder); target is where it is to go, empty for a delete. Files are opened for
// reading when checkReading is set.
TItemScan ScanItem(const std::wstring &source, const std::wstring &target, bool checkReading);

// The same steps as the shell's, on "\\?\" paths, so names ending in a space or a dot, device names and
// paths of any length are reached exactly as listed. Folders go with everything in them. A file that is
// replaced is copied beside its target first and takes its place only when complete.
TStepFailure CopyItem(const std::wstring &source, const std::wstring &target);
TStepFailure MoveItem(const std::wstring &source, const std::wstring &target);
TStepFailure DeleteItem(const std::wstring &path);

// File facts through "\\?\" paths: exists, is a folder, size of a file.
bool ItemExists(const std::wstring &path);
// Exists under exactly this name: a file system that ignores case (as Wine's lookups do) must not take a
// case twin for the item.
bool ItemExistsExactly(const std::wstring &path);
bool ItemIsFolder(const std::wstring &path);
bool ItemSize(const std::wstring &path, unsigned long long &size, FILETIME *written = nullptr);

// The free bytes of the volume that holds a path; false when the system cannot tell. Tests replace it.
extern std::function<bool(const std::wstring &path, unsigned long long &freeBytes)> FreeSpaceQuery;
// The root of the volume a path is on ("C:\", "\\server\share\"), compared without regard to case.
std::wstring VolumeOf(const std::wstring &path);

} // namespace fileops
