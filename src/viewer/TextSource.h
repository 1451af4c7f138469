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

// Code page numbers of the two UTF-16 readings (the system's own identifiers; the conversion functions do
// not take them, the text view decodes them itself).
constexpr UINT kUtf16Le = 1200;
constexpr UINT kUtf16Be = 1201;
inline bool IsUtf16(UINT codePage) { return codePage == kUtf16Le || codePage == kUtf16Be; }
inline bool IsUnicode(UINT codePage) { return codePage == CP_UTF8 || IsUtf16(codePage); }

// What happened to a shown file since it was opened, as far as the view has noticed.
enum class TFileChange { fcNone, fcGrew, fcShrunk, fcDeleted, fcReplaced };

// The bytes a text view shows: a file read block by block into a small cache, or a short text held in
// memory. The file is held open from opening to the end of the viewing, sharing everything, so every byte
// shown comes from one and the same file even when another takes its name. In a reading of single bytes
// (ANSI, DOS, UTF-8) the text ends at the first zero byte; only the part before the farthest byte read so
// far is known to be free of zeros, so the end is found by a forward scan that the caller may interrupt.
// A file that shrinks ends where a read first comes back short; one that grows is followed by Refresh.
class TTextSource {
public:
    static constexpr size_t kBlockSize = 64 * 1024;
    static constexpr size_t kCachedBlocks = 16;

    TTextSource();
    ~TTextSource();
    TTextSource(const TTextSource &) = delete;
    TTextSource &operator=(const TTextSource &) = delete;

    // Opens a file; raises EViewLoadError ("Cannot open file <path>") when it cannot be opened or while
    // another program holds it open. Past that check the file stays open sharing everything, so the view
    // locks nobody out while it shows the file.
    void OpenFile(const std::wstring &path);
    // A short text in memory, in UTF-8 (a folder's path, a message).
    void SetText(const std::string &utf8);
    void Clear() { SetText({}); }
    bool IsFile() const { return !inMemory_; }
    // Closes the held file; a later read opens it again by name when the name still stands for it.
    void Release() {
        KnowIdentity();
        file_.reset();
    }

    // The code page the bytes must be shown in regardless of the view's choice (CP_UTF8 for texts in
    // memory), or 0 for a file's bytes.
    UINT FixedCodePage() const { return fixedCodePage_; }
    // The Unicode reading the file's first block asks for (a byte-order mark, or valid UTF-8 with letters
    // beyond ASCII): CP_UTF8, kUtf16Le or kUtf16Be; 0 for none.
    UINT Detected() const { return detected_; }
    // The reading the bytes are shown in: where the text starts (past a byte-order mark of this reading),
    // how many bytes a unit takes, and whether a zero byte ends the text (single-byte readings only).
    void SetReading(UINT codePage);
    TPos Origin() const { return origin_; }
    unsigned Unit() const { return unit_; }

    // The end as far as it is known: the first zero byte found so far, else the size the file has.
    TPos KnownEnd() const;
    // True once every byte before KnownEnd() has been read and found non-zero.
    bool EndKnown() const { return !zeroEnds_ || scanned_ >= KnownEnd(); }
    // The farthest byte before which the text is known to hold no zero.
    TPos ScannedTo() const { return zeroEnds_ ? std::min(scanned_, KnownEnd()) : KnownEnd(); }
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

    // Looks at the file as it is now: its size through the held handle (growth and truncation), and, when
    // `byName`, what its name stands for (deleted, or another file put in its place). Returns the change
    // found by this look (fcNone when nothing changed since the last one).
    TFileChange Refresh(bool byName);
    // What happened to the file, in words for the user; empty while nothing did.
    std::wstring Notice() const;
    // Counts the changes that make laid-out lines stale (growth, truncation).
    unsigned Generation() const { return generation_; }

private:
    struct TCached {
        TPos index;
        std::vector<char> bytes;
    };
    // The bytes of block `index` as the file holds them now, through the cache; a short read ends the text.
    const std::vector<char> &LoadBlock(TPos index);
    void Reset(TPos size, UINT fixedCodePage);
    void FoundZero(TPos pos) { zeroAt_ = std::min(zeroAt_, pos); }
    void Shrunk(TPos sizeNow);
    DWORD ReadFileAt(TPos pos, char *to, DWORD count);
    void LookAtName();
    bool Reopen();
    bool KnowIdentity();
    // True when another source of this program holds the file of this path.
    bool HeldHere(const std::wstring &path) const;

    std::wstring path_;
    ui::KernelHandle file_;
    BY_HANDLE_FILE_INFORMATION identity_{};
    bool identityKnown_ = false;
    std::string memory_;
    bool inMemory_ = true;
    UINT fixedCodePage_ = CP_UTF8;
    UINT detected_ = 0;
    TPos bom_ = 0; // the length of the byte-order mark of the detected reading
    TPos origin_ = 0;
    unsigned unit_ = 1;
    bool zeroEnds_ = true;
    TPos size_ = 0;
    TPos zeroAt_ = ~TPos(0);
    TPos scanned_ = 0;
    bool shrunk_ = false, deleted_ = false, replaced_ = false;
    unsigned generation_ = 0;
    std::list<TCached> cache_; // most recently used first
};

} // namespace viewer
