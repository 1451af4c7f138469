#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A small reader of .hlp files, written apart from the compiler so that the tests check the
// file format itself rather than the compiler's own view of it. Reads past the end throw.
class HlpReader {
public:
    explicit HlpReader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t Size() const { return bytes_.size(); }
    uint8_t U8(size_t at) const { return bytes_.at(at); }
    uint16_t U16(size_t at) const { return static_cast<uint16_t>(U8(at) | U8(at + 1) << 8); }
    uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
    std::string Z(size_t at) const; // a NUL-terminated string
    std::string Text(size_t at, size_t length) const;

    // An internal file: its 9-byte header at `header`, its data after it.
    struct File {
        size_t header = 0;
        uint32_t reserved = 0, used = 0;
        uint8_t flags = 0;
        size_t Data() const { return header + 9; }
    };
    File FileAt(size_t header) const;
    // Looks a name up through the directory's B+ tree.
    std::optional<File> Find(const std::string &name) const;

private:
    std::vector<uint8_t> bytes_;
};

// A B+ tree inside an internal file, keyed as its structure string says ("z": string, "L": i32).
class BTreeView {
public:
    BTreeView(const HlpReader &file, size_t start);

    uint16_t magic, flags, pageSize, root, mustBeNegOne, totalPages, levels;
    uint32_t entries;
    std::string structure;

    size_t Page(uint16_t n) const { return start_ + 38 + size_t{n} * pageSize; }
    size_t UsedSize() const { return 38 + size_t{totalPages} * pageSize; }
    size_t EntrySize(size_t at) const;
    // Offsets of all leaf entries, following the leaf chain from the leftmost leaf.
    std::vector<size_t> Leaves() const;
    // Offset of the leaf entry with that key, found by descending from the root.
    std::optional<size_t> Find(const std::string &key) const;
    std::optional<size_t> Find(int32_t key) const;
    // Checks every page's free-byte count and the leaf count; returns a fault or "".
    std::string CheckPages() const;

private:
    int Compare(size_t at, const std::string *s, int32_t n) const;
    size_t KeySize(size_t at) const;
    std::optional<size_t> Search(const std::string *s, int32_t n) const;

    const HlpReader &file_;
    size_t start_;
};
