#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "ui/Handles.h"

namespace viewer {

using TPos = std::uint64_t;

// The bytes a text view shows: a file read block by block into a small cache, or a short text held in
// memory. The text ends at the first zero byte. Only the part before the farthest byte read so far is
// known to be free of zeros, so the end is found by a forward scan that the caller may interrupt; a file
// that shrinks while shown ends where a read first came back short, and one that grows shows no more than
// it held when it was opened.
class TTextSource {
public:
    static constexpr size_t kBlockSize = 64 * 1024;
    static constexpr size_t kCachedBlocks = 16;

    TTextSource() = default;
    TTextSource(const TTextSource &) = delete;
    TTextSource &operator=(const TTextSource &) = delete;

    // Opens a file; raises EViewLoadError ("Cannot open file <path>") when it cannot be opened or while
    // another program holds it open. Past that check the file is opened only for each read, sharing
    // everything, so the view locks nobody out while it shows the file.
    void OpenFile(const std::wstring &path);
    // A short text in memory, in UTF-8 (a folder's path, a message).
    void SetText(const std::string &utf8);
    void Clear() { SetText({}); }

    // The code page the bytes must be shown in regardless of the view's choice (CP_UTF8 for texts in
    // memory), or 0 for a file's bytes.
    UINT FixedCodePage() const { return fixedCodePage_; }

    // The end as far as it is known: the first zero byte found so far, else the size the file had.
    TPos KnownEnd() const { return end_; }
    // True once every byte before KnownEnd() has been read and found non-zero.
    bool EndKnown() const { return scanned_ >= end_; }
    // The farthest byte before which the text is known to hold no zero.
    TPos ScannedTo() const { return std::min(scanned_, end_); }
    // Makes sure the bytes before `pos` (clamped to the end) are known to hold no zero, reading forward from
    // the farthest byte scanned so far. `interrupted` is asked between large steps; when it says yes the
    // scan stops and false is returned.
    bool ScanTo(TPos pos, const std::function<bool()> &interrupted = {});
    bool ScanToEnd(const std::function<bool()> &interrupted = {}) { return ScanTo(~TPos(0), interrupted); }

    // The byte at pos, or -1 at or beyond the end. Scans up to pos first.
    int At(TPos pos);
    // Up to `count` bytes from pos, stopping at the end; returns how many were copied.
    size_t Read(TPos pos, char *to, size_t count);
    // The block holding pos and its length within the text (0 at or beyond the end); valid until the next
    // call that reads.
    const char *Block(TPos pos, size_t &length);

private:
    struct TCached {
        TPos index;
        std::vector<char> bytes;
    };
    // The bytes of block `index` as the file holds them now, through the cache; a short read ends the text.
    const std::vector<char> &LoadBlock(TPos index);
    void Reset(TPos size, UINT fixedCodePage);
    void CutAt(TPos pos);
    void Shrunk(TPos readEnd, TPos sizeNow);
    DWORD ReadFileAt(TPos pos, char *to, DWORD count, TPos &sizeNow);

    std::wstring path_;
    std::string memory_;
    bool inMemory_ = true;
    UINT fixedCodePage_ = CP_UTF8;
    TPos end_ = 0;
    TPos scanned_ = 0;
    std::list<TCached> cache_; // most recently used first
};

} // namespace viewer
