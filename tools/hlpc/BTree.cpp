#include "BTree.h"

#include <stdexcept>

namespace hlpc {

namespace {

constexpr size_t kLeafHeader = 8;
constexpr size_t kIndexHeader = 6;
constexpr uint16_t kNoPage = 0xFFFF;

struct Page {
    ByteBuffer bytes;
    std::string firstKey;
};

// Cuts items into pages of at most `room` bytes each (an item never spans two pages).
std::vector<std::vector<size_t>> Paginate(const std::vector<std::string> &items, size_t room) {
    std::vector<std::vector<size_t>> pages(1);
    size_t used = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].size() > room)
            throw std::length_error("a B+ tree entry is larger than a page");
        if (used + items[i].size() > room && !pages.back().empty()) {
            pages.emplace_back();
            used = 0;
        }
        pages.back().push_back(i);
        used += items[i].size();
    }
    return pages;
}

} // namespace

ByteBuffer BuildBTree(const std::vector<BTreeEntry> &entries, const BTreeFormat &format) {
    const size_t pageSize = format.pageSize;
    std::vector<Page> pages;

    std::vector<std::string> leafItems;
    for (const auto &e : entries)
        leafItems.push_back(e.leaf);
    auto leafGroups = Paginate(leafItems, pageSize - kLeafHeader);
    for (size_t p = 0; p < leafGroups.size(); ++p) {
        Page page;
        size_t used = 0;
        for (size_t i : leafGroups[p])
            used += leafItems[i].size();
        page.bytes.U16(static_cast<uint16_t>(pageSize - kLeafHeader - used));
        page.bytes.U16(static_cast<uint16_t>(leafGroups[p].size()));
        page.bytes.U16(p == 0 ? kNoPage : static_cast<uint16_t>(p - 1));
        page.bytes.U16(p + 1 == leafGroups.size() ? kNoPage : static_cast<uint16_t>(p + 1));
        for (size_t i : leafGroups[p])
            page.bytes.Bytes(leafItems[i]);
        page.firstKey = leafGroups[p].empty() ? std::string() : entries[leafGroups[p].front()].key;
        pages.push_back(std::move(page));
    }

    // Index levels: each page points at its first child and holds (first key, page) of the others.
    size_t levelBegin = 0;
    size_t levelEnd = pages.size();
    uint16_t levels = 1;
    while (levelEnd - levelBegin > 1) {
        std::vector<std::vector<size_t>> groups; // child page numbers, the first one without a key
        for (size_t c = levelBegin, used = 0; c < levelEnd; ++c) {
            size_t cost = pages[c].firstKey.size() + 2;
            if (groups.empty() || used + cost > pageSize - kIndexHeader) {
                groups.push_back({c});
                used = 0;
            } else {
                groups.back().push_back(c);
                used += cost;
            }
        }
        if (groups.size() == levelEnd - levelBegin)
            throw std::length_error("B+ tree keys too large for an index page");
        size_t nextBegin = pages.size();
        for (const auto &group : groups) {
            Page page;
            ByteBuffer items;
            for (size_t k = 1; k < group.size(); ++k) {
                items.Bytes(pages[group[k]].firstKey);
                items.U16(static_cast<uint16_t>(group[k]));
            }
            page.bytes.U16(static_cast<uint16_t>(pageSize - kIndexHeader - items.Size()));
            page.bytes.U16(static_cast<uint16_t>(group.size() - 1));
            page.bytes.U16(static_cast<uint16_t>(group.front()));
            page.bytes.Append(items);
            page.firstKey = pages[group.front()].firstKey;
            pages.push_back(std::move(page));
        }
        levelBegin = nextBegin;
        levelEnd = pages.size();
        ++levels;
    }
    if (pages.size() > 0xFFFF)
        throw std::length_error("B+ tree too large");

    ByteBuffer tree;
    tree.U16(0x293B);
    tree.U16(format.flags);
    tree.U16(format.pageSize);
    tree.Fixed(format.structure, 16);
    tree.U16(0);
    tree.U16(static_cast<uint16_t>(pages.size() - levels));
    tree.U16(static_cast<uint16_t>(pages.size() - 1)); // the root is built last
    tree.U16(0xFFFF);
    tree.U16(static_cast<uint16_t>(pages.size()));
    tree.U16(levels);
    tree.U32(static_cast<uint32_t>(entries.size()));
    for (auto &page : pages) {
        tree.Append(page.bytes);
        tree.Zeros(pageSize - page.bytes.Size());
    }
    return tree;
}

} // namespace hlpc
