#include "HlpReader.h"

#include <stdexcept>

std::string HlpReader::Z(size_t at) const {
    std::string s;
    while (U8(at) != 0)
        s += static_cast<char>(U8(at++));
    return s;
}

std::string HlpReader::Text(size_t at, size_t length) const {
    std::string s;
    for (size_t i = 0; i < length; ++i)
        s += static_cast<char>(U8(at + i));
    return s;
}

HlpReader::File HlpReader::FileAt(size_t header) const {
    return {header, U32(header), U32(header + 4), U8(header + 8)};
}

std::optional<HlpReader::File> HlpReader::Find(const std::string &name) const {
    BTreeView directory(*this, FileAt(U32(4)).Data());
    auto entry = directory.Find(name);
    if (!entry)
        return std::nullopt;
    return FileAt(U32(*entry + name.size() + 1));
}

BTreeView::BTreeView(const HlpReader &file, size_t start)
    : magic(file.U16(start)), flags(file.U16(start + 2)), pageSize(file.U16(start + 4)), root(file.U16(start + 26)),
      mustBeNegOne(file.U16(start + 28)), totalPages(file.U16(start + 30)), levels(file.U16(start + 32)),
      entries(file.U32(start + 34)), structure(file.Z(start + 6)), file_(file), start_(start) {
    if (structure.size() != 2)
        throw std::runtime_error("unknown B+ tree structure " + structure);
}

size_t BTreeView::KeySize(size_t at) const {
    return structure[0] == 'z' ? file_.Z(at).size() + 1 : 4;
}

size_t BTreeView::EntrySize(size_t at) const {
    size_t key = KeySize(at);
    return key + (structure[1] == 'z' ? file_.Z(at + key).size() + 1 : 4);
}

int BTreeView::Compare(size_t at, const std::string *s, int32_t n) const {
    if (structure[0] == 'z') {
        int c = file_.Z(at).compare(*s);
        return c < 0 ? -1 : c > 0;
    }
    int32_t k = static_cast<int32_t>(file_.U32(at));
    return k < n ? -1 : k > n;
}

std::optional<size_t> BTreeView::Search(const std::string *s, int32_t n) const {
    uint16_t page = root;
    for (uint16_t level = 1; level < levels; ++level) {
        size_t p = Page(page);
        uint16_t count = file_.U16(p + 2);
        uint16_t child = file_.U16(p + 4);
        size_t at = p + 6;
        for (uint16_t i = 0; i < count; ++i) {
            size_t key = KeySize(at);
            if (Compare(at, s, n) > 0)
                break;
            child = file_.U16(at + key);
            at += key + 2;
        }
        page = child;
    }
    size_t p = Page(page);
    size_t at = p + 8;
    for (uint16_t i = 0; i < file_.U16(p + 2); ++i, at += EntrySize(at))
        if (Compare(at, s, n) == 0)
            return at;
    return std::nullopt;
}

std::optional<size_t> BTreeView::Find(const std::string &key) const {
    return Search(&key, 0);
}
std::optional<size_t> BTreeView::Find(int32_t key) const {
    return Search(nullptr, key);
}

std::vector<size_t> BTreeView::Leaves() const {
    uint16_t page = root;
    for (uint16_t level = 1; level < levels; ++level)
        page = file_.U16(Page(page) + 4);
    std::vector<size_t> result;
    for (; page != 0xFFFF; page = file_.U16(Page(page) + 6)) {
        size_t at = Page(page) + 8;
        for (uint16_t i = 0; i < file_.U16(Page(page) + 2); ++i, at += EntrySize(at))
            result.push_back(at);
    }
    return result;
}

std::string BTreeView::CheckPages() const {
    // Every page is a leaf or an index page by the level it is reached at; walk the whole tree.
    size_t leafEntries = 0;
    std::vector<std::pair<uint16_t, uint16_t>> todo{{root, 1}};
    while (!todo.empty()) {
        auto [page, level] = todo.back();
        todo.pop_back();
        if (page >= totalPages)
            return "page number out of range";
        size_t p = Page(page);
        uint16_t count = file_.U16(p + 2);
        size_t at = p + (level == levels ? 8 : 6);
        for (uint16_t i = 0; i < count; ++i) {
            if (level == levels) {
                at += EntrySize(at);
            } else {
                at += KeySize(at);
                todo.push_back({file_.U16(at), static_cast<uint16_t>(level + 1)});
                at += 2;
            }
        }
        if (level < levels)
            todo.push_back({file_.U16(p + 4), static_cast<uint16_t>(level + 1)});
        else
            leafEntries += count;
        if (file_.U16(p) != p + pageSize - at)
            return "free byte count of page " + std::to_string(page) + " is wrong";
    }
    return leafEntries == entries ? "" : "entry count differs from the leaves";
}
