#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

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
        directories_.swap(other.directories_);
        directoryKeys_.swap(other.directoryKeys_);
        keys_.swap(other.keys_);
        lastWithHash_.swap(other.lastWithHash_);
        directoriesByKey_.swap(other.directoriesByKey_);
        directoryRank_.swap(other.directoryRank_);
    }
    void Add(const std::wstring &directory, const WIN32_FIND_DATAW &data);
    void Add(const std::wstring &directory, std::wstring name, uint64_t size);
    // Brings the files added since the last merge into the shown rows; true when there were any.
    bool Merge();

    // The shown rows, in name order.
    int Count() const { return static_cast<int>(order_.size()); }
    const std::wstring &Name(int row) const { return At(row).name; }
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
    std::vector<uint32_t> order_;
    std::vector<std::wstring> directories_;
    std::vector<std::string> directoryKeys_;
    std::vector<char> keys_;
    // The directories in the order of their keys, and each one's place in it (equal keys, equal places):
    // rows of the same name, many in a tree, are ordered by a number instead of by two long keys.
    std::vector<uint32_t> directoriesByKey_, directoryRank_;
    // The row last added with each hash of a name (by hash modulo the size): a name found again, as the
    // same names come back in folder after folder, takes that row's key instead of asking the locale again.
    std::vector<uint32_t> lastWithHash_;
};

} // namespace search
