#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "search/SortKeys.h"

namespace search {

// The Size column of a found file: its whole size in kilobytes, rounded up, followed by " KB".
std::wstring SizeKBText(uint64_t size);

// The rows of the Find Files list: each found file's name, size and directory. Files are appended as the
// finder reports them and join the shown rows, in ascending order of their names, at the next Merge; so a
// search of many files neither re-sorts nor moves the whole list for each file. Files of the same name are
// shown in the order of their directories, whatever order the file system lists them in.
class TFoundFiles {
public:
    void Clear();
    void Swap(TFoundFiles &other) noexcept {
        entries_.swap(other.entries_);
        order_.swap(other.order_);
        std::swap(shown_, other.shown_);
        runEnds_.swap(other.runEnds_);
        directories_.swap(other.directories_);
        directoryKeys_.swap(other.directoryKeys_);
        keys_.swap(other.keys_);
        lastWithHash_.swap(other.lastWithHash_);
        directoriesByKey_.swap(other.directoriesByKey_);
        directoryRank_.swap(other.directoryRank_);
    }
    void Add(const std::wstring &directory, const WIN32_FIND_DATAW &data);
    void Add(const std::wstring &directory, std::wstring name, uint64_t size);
    // The same in two steps, for a caller that knows when the folder changes: the folder's number, then
    // files by that number.
    uint32_t AddDirectory(const std::wstring &directory);
    void Add(uint32_t directory, std::wstring name, uint64_t size);
    // Brings the files added since the last merge into the shown rows; true when there were any.
    bool Merge();
    // Puts the files added since the last call in order without showing them yet: called while a search
    // runs, it leaves the merge little to do when it ends. The sorted runs grow as a binary counter does,
    // so each file is moved about log(files) times in all, however often this is called.
    void SortNew();

    // The shown rows, in name order.
    int Count() const { return static_cast<int>(shown_); }
    const std::wstring &Name(int row) const { return At(row).name; }
    // What the row shows, the same for as long as the rows last: a row shows another file only when this
    // changes.
    uint32_t Identity(int row) const { return order_[static_cast<size_t>(row)]; }
    const std::wstring &Directory(int row) const { return directories_[At(row).directory]; }
    std::wstring SizeText(int row) const { return SizeKBText(At(row).size); }
    // The first shown row at or after start (wrapping round) whose name begins with the prefix, letter case
    // ignored; -1 when none.
    int FindPrefix(const std::wstring &prefix, int start) const;

private:
    struct Entry {
        std::wstring name;
        uint32_t directory;
        uint64_t size;
        // The locale's sort key of the name, in keys_: ordering compares bytes only. The keys share one
        // buffer, as a string each cost the search an allocation a file.
        size_t keyAt;
        uint32_t keyLength;
    };
    const Entry &At(int row) const { return entries_[order_[static_cast<size_t>(row)]]; }
    bool Less(uint32_t a, uint32_t b) const;
    void RankDirectories();

    std::vector<Entry> entries_;
    // The entries' numbers: the shown rows [0, shown_) in order, then sorted runs ending at runEnds_,
    // then the entries not yet sorted.
    std::vector<uint32_t> order_;
    size_t shown_ = 0;
    std::vector<size_t> runEnds_;
    std::vector<std::wstring> directories_;
    std::vector<std::string> directoryKeys_;
    std::vector<char> keys_;
    // The directories in the order of their keys, and each one's place in it (equal keys, equal places):
    // rows of the same name, many in a tree, are ordered by a number instead of by two long keys.
    std::vector<uint32_t> directoriesByKey_, directoryRank_;
    // The row last added with each hash of a name (by hash modulo the size): a name found again, as the
    // same names come back in folder after folder, takes that row's key instead of asking the locale again.
    std::vector<uint32_t> lastWithHash_;
    TSortKeys sortKeys_; // stays with these rows when they are swapped for others
};

} // namespace search
