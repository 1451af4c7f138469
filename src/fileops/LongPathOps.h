#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace fileops {

// A step that failed: the path it acted on and the system's error code.
struct TStepFailure {
    std::wstring path;
    DWORD code = ERROR_SUCCESS;
    explicit operator bool() const { return code != ERROR_SUCCESS; }
};

// What a source holds, found by walking it before anything is done with it. Links are not walked.
struct TItemScan {
    unsigned long long bytes = 0;           // the bytes of its files
    std::vector<unsigned long long> sizes;  // each file's size, for whole allocation units
    unsigned long files = 0;                // its files and links, the item itself included
    bool longPaths = false;                 // a path inside (or of a target inside) needs "\\?\" to be reached exactly
    bool readOnly = false;                  // it holds a read-only file
    std::vector<std::wstring> links;        // the links (reparse points) it is or holds
    std::wstring blocked;                   // a path inside that nothing can reach exactly, with why
    TStepFailure unreadable;                // a folder that cannot be listed or a file that cannot be read
    // The target files that exist before the operation, with their size and write time, so that what the
    // operation did not touch is told from a copy it cut off.
    std::map<std::wstring, std::pair<unsigned long long, FILETIME>> targetsBefore;
};

// Walks a source (file or folder); target is where it is to go, empty for a delete. Files are opened for
// reading when checkReading is set.
TItemScan ScanItem(const std::wstring &source, const std::wstring &target, bool checkReading);

// The answers to "delete this read-only file?", as Windows gives them.
enum TReadOnlyAnswer { roYes, roYesToAll, roNo, roCancel };

// What the work of one run shares with whoever watches it: the cancel request, the progress counted in
// files and bytes, the item at hand, and the question a read-only file to delete asks.
struct TWorkControl {
    std::atomic<bool> cancel{false};
    std::atomic<unsigned long long> doneBytes{0}, itemDone{0}, itemBytes{0};
    std::atomic<unsigned long> doneFiles{0};
    // Asks about one read-only file; unset, every read-only file is deleted. Called from the work's thread.
    std::function<TReadOnlyAnswer(const std::wstring &path)> askReadOnly;
    bool readOnlyToAll = false;
    void SetCurrent(const std::wstring &path);
    std::wstring Current();

private:
    std::mutex mutex_;
    std::wstring current_;
};

// The same steps as the shell's, on "\\?\" paths, so names ending in a space or a dot, device names and
// paths of any length are reached exactly as listed. Folders go with everything in them; a link (junction,
// symbolic link, any reparse point) is copied, moved or removed as a link and what it points at is never
// touched. Each file is written under a temporary name beside its target and takes the real name only when
// complete, so a target is always either the old file or the whole new one. A cancel stops within a
// block and returns ERROR_CANCELLED. The control may be null.
TStepFailure CopyItem(const std::wstring &source, const std::wstring &target, TWorkControl *control = nullptr);
TStepFailure MoveItem(const std::wstring &source, const std::wstring &target, TWorkControl *control = nullptr);
// A read-only file inside is asked about through the control; one kept leaves its folders too.
TStepFailure DeleteItem(const std::wstring &path, TWorkControl *control = nullptr);

// The temporary names a copy writes beside its targets start so: "~zelvor-<process>-<count>.tmp".
inline constexpr wchar_t kTemporaryPrefix[] = L"~zelvor-";
// Called after every block a copy writes, with the run's cancel request; tests pause a copy here.
extern std::function<void(const std::atomic<bool> &cancel)> CopyBlockHook;

// File facts through "\\?\" paths: exists, is a folder, size of a file.
bool ItemExists(const std::wstring &path);
// Exists under exactly this name: a file system that ignores case (as Wine's lookups do) must not take a
// case twin for the item.
bool ItemExistsExactly(const std::wstring &path);
bool ItemIsFolder(const std::wstring &path);
// A link: a reparse point, file or folder.
bool ItemIsLink(const std::wstring &path);
bool ItemSize(const std::wstring &path, unsigned long long &size, FILETIME *written = nullptr);

// The free bytes of the volume that holds a folder; false when the system cannot tell. Tests replace it.
extern std::function<bool(const std::wstring &path, unsigned long long &freeBytes)> FreeSpaceQuery;
// The allocation unit of the volume that holds a folder (1 when the system cannot tell).
unsigned long AllocationUnitOf(const std::wstring &folder);
// The root of the volume a path is on: its mount point where the system tells it ("C:\", "C:\mnt\other\"),
// else its drive or share ("\\server\share\"); compared without regard to case.
std::wstring VolumeOf(const std::wstring &path);

} // namespace fileops
