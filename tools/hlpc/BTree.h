#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ByteBuffer.h"

namespace hlpc {

// One entry of a B+ tree: its bytes in a leaf page and the bytes of its key in an index page.
struct BTreeEntry {
    std::string leaf;
    std::string key;
};

struct BTreeFormat {
    uint16_t flags;
    uint16_t pageSize;
    const char *structure; // describes the leaf entries, e.g. "L4"
};

inline constexpr BTreeFormat kDirectoryTree{0x0402, 1024, "z4"};
inline constexpr BTreeFormat kContextTree{0x0002, 2048, "L4"};
inline constexpr BTreeFormat kTitleTree{0x0002, 2048, "Lz"};

// The tree header and pages for entries already in the tree's key order.
ByteBuffer BuildBTree(const std::vector<BTreeEntry> &sortedEntries, const BTreeFormat &format);

} // namespace hlpc
