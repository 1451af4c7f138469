#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace filelist {

// One entry of a directory as a read-ahead found it: what a search record holds, less the short name.
struct TFoundEntry {
    std::wstring name;
    DWORD attributes = 0;
    DWORD sizeHigh = 0, sizeLow = 0;
    FILETIME created{}, lastAccess{}, modified{};

    // The search record the entry came from, as a file list's add event expects it.
    void ToFindData(WIN32_FIND_DATAW &fd) const;
};

// Reads one directory on a thread of its own, so that at start-up the saved folders are read while the
// window is still being made. What is found is handed over in batches as it comes.
class TDirectoryReadAhead {
public:
    enum class TState { more, done, failed };

    // Starts reading `dir` (ending with "\") at once.
    explicit TDirectoryReadAhead(std::wstring dir);
    // Tells the reader to stop; it ends on its own, and is waited for when the program ends.
    ~TDirectoryReadAhead();
    TDirectoryReadAhead(const TDirectoryReadAhead &) = delete;
    TDirectoryReadAhead &operator=(const TDirectoryReadAhead &) = delete;

    const std::wstring &Directory() const { return dir_; }
    // Moves what was found since the last call to the end of `out`, waiting up to `waitMs` while nothing
    // new is there. `done` once the whole directory has been handed over (a directory that cannot be
    // opened has no entries, as with a search of one's own); `failed` if the reader could not finish.
    TState Take(std::vector<TFoundEntry> &out, DWORD waitMs);
    // True once the whole directory has been read, in no more than `maxEntries` entries.
    bool ReadInFull(size_t maxEntries) const;
    // True while no entry read and not yet taken is a file.
    bool FoldersOnly() const;

private:
    struct TShared;
    std::wstring dir_;
    std::shared_ptr<TShared> shared_;
};

// The read-aheads of start-up: started before the window exists and claimed by the first listing of
// exactly that folder. What is not claimed when start-up ends is dropped, so that no later listing shows
// an old snapshot of a folder.
// False when `dir` is empty and nothing is read.
bool StartReadAhead(const std::wstring &dir);
std::unique_ptr<TDirectoryReadAhead> ClaimReadAhead(const std::wstring &dir);
// Whether the read-ahead of `dir` (ending with "\") has read all of it, in no more than `maxEntries` entries.
bool ReadAheadInFull(const std::wstring &dir, size_t maxEntries);
// Whether the read-ahead of `dir` has found folders only (".." among them) so far.
bool ReadAheadFoldersOnly(const std::wstring &dir);
void DropReadAheads();

} // namespace filelist
