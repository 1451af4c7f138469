#include "search/FoundFiles.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace search {


std::wstring SizeKBText(uint64_t size) {
    uint64_t kb = size / 1024u + (size % 1024u != 0);
    return std::to_wstring(kb) + L" KB";
}

void TFoundFiles::Clear() {
    entries_.clear();
    order_.clear();
    shown_ = 0;
    runEnds_.clear();
    directories_.clear();
    directoryKeys_.clear();
    keys_.clear();
    lastWithHash_.clear();
    directoriesByKey_.clear();
    directoryRank_.clear();
}

void TFoundFiles::Add(const std::wstring &directory, const WIN32_FIND_DATAW &data) {
    Add(directory, data.cFileName, (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

void TFoundFiles::Add(const std::wstring &directory, std::wstring name, uint64_t size) {
    // The finder reports a folder's files one after the other: each folder is kept once.
    uint32_t number = directories_.empty() || directories_.back() != directory
                          ? AddDirectory(directory)
                          : static_cast<uint32_t>(directories_.size() - 1);
    Add(number, std::move(name), size);
}

uint32_t TFoundFiles::AddDirectory(const std::wstring &directory) {
    directories_.push_back(directory);
    directoryKeys_.push_back(sortKeys_.Key(directory));
    return static_cast<uint32_t>(directories_.size() - 1);
}

void TFoundFiles::Add(uint32_t directory, std::wstring name, uint64_t size) {
    constexpr size_t kHashes = 1024;
    constexpr uint32_t kNone = UINT32_MAX;
    if (lastWithHash_.empty()) lastWithHash_.assign(kHashes, kNone);
    uint32_t &last = lastWithHash_[std::hash<std::wstring>{}(name) % kHashes];
    size_t keyAt, keyLength;
    if (last != kNone && entries_[last].name == name) {
        keyAt = entries_[last].keyAt;
        keyLength = entries_[last].keyLength;
    } else {
        keyAt = keys_.size();
        keyLength = sortKeys_.Append(name, keys_);
    }
    last = static_cast<uint32_t>(entries_.size());
    entries_.push_back({std::move(name), directory, size, keyAt, static_cast<uint32_t>(keyLength)});
}

bool TFoundFiles::Less(uint32_t a, uint32_t b) const {
    const Entry &x = entries_[a], &y = entries_[b];
    // A name found again shares its key: rows of the same name, most of a tree's, go by folder at once.
    if (x.keyAt != y.keyAt || x.keyLength != y.keyLength) {
        // As std::string compares: bytes as unsigned, then the shorter first. Four bytes at a time, as
        // the library's memcmp goes byte by byte.
        const unsigned char *p = reinterpret_cast<const unsigned char *>(keys_.data()) + x.keyAt;
        const unsigned char *q = reinterpret_cast<const unsigned char *>(keys_.data()) + y.keyAt;
        const uint32_t common = std::min(x.keyLength, y.keyLength);
        uint32_t i = 0;
        for (; i + 4 <= common; i += 4) {
            uint32_t u, v;
            std::memcpy(&u, p + i, 4);
            std::memcpy(&v, q + i, 4);
            if (u != v) return __builtin_bswap32(u) < __builtin_bswap32(v);
        }
        for (; i < common; ++i)
            if (p[i] != q[i]) return p[i] < q[i];
        if (x.keyLength != y.keyLength) return x.keyLength < y.keyLength;
    }
    return directoryRank_[x.directory] < directoryRank_[y.directory];
}

// The directories found since the last merge join the order of the keys; then every directory's place.
void TFoundFiles::RankDirectories() {
    size_t ranked = directoriesByKey_.size();
    if (ranked == directories_.size()) return;
    for (size_t d = ranked; d < directories_.size(); ++d) directoriesByKey_.push_back(static_cast<uint32_t>(d));
    auto keyLess = [this](uint32_t a, uint32_t b) { return directoryKeys_[a] < directoryKeys_[b]; };
    std::sort(directoriesByKey_.begin() + static_cast<long>(ranked), directoriesByKey_.end(), keyLess);
    std::inplace_merge(directoriesByKey_.begin(), directoriesByKey_.begin() + static_cast<long>(ranked),
                       directoriesByKey_.end(), keyLess);
    directoryRank_.resize(directories_.size());
    uint32_t rank = 0;
    for (size_t i = 0; i < directoriesByKey_.size(); ++i) {
        if (i > 0 && keyLess(directoriesByKey_[i - 1], directoriesByKey_[i])) ++rank;
        directoryRank_[directoriesByKey_[i]] = rank;
    }
}

void TFoundFiles::SortNew() {
    const size_t begin = order_.size();
    if (begin == entries_.size()) return;
    RankDirectories();
    for (size_t i = begin; i < entries_.size(); ++i) order_.push_back(static_cast<uint32_t>(i));
    auto less = [this](uint32_t a, uint32_t b) { return Less(a, b); };
    std::stable_sort(order_.begin() + static_cast<long>(begin), order_.end(), less);
    runEnds_.push_back(order_.size());
    // A run joins the one before it once it is at least half as long: the runs then halve in length from
    // the first, and there are never more than about log(files) of them.
    while (runEnds_.size() >= 2) {
        const size_t n = runEnds_.size(), lastBegin = runEnds_[n - 2], end = runEnds_[n - 1];
        const size_t previousBegin = n >= 3 ? runEnds_[n - 3] : shown_;
        if ((end - lastBegin) * 2 < lastBegin - previousBegin) break;
        std::inplace_merge(order_.begin() + static_cast<long>(previousBegin),
                           order_.begin() + static_cast<long>(lastBegin), order_.begin() + static_cast<long>(end), less);
        runEnds_.erase(runEnds_.end() - 2);
    }
}

bool TFoundFiles::Merge() {
    SortNew();
    if (runEnds_.empty()) return false;
    auto less = [this](uint32_t a, uint32_t b) { return Less(a, b); };
    // From the shortest run up, the last into the shown rows.
    while (!runEnds_.empty()) {
        const size_t n = runEnds_.size(), end = runEnds_[n - 1];
        const size_t middle = n >= 2 ? runEnds_[n - 2] : shown_;
        const size_t first = n >= 3 ? runEnds_[n - 3] : n == 2 ? shown_ : 0;
        std::inplace_merge(order_.begin() + static_cast<long>(first), order_.begin() + static_cast<long>(middle),
                           order_.begin() + static_cast<long>(end), less);
        runEnds_.pop_back();
        if (!runEnds_.empty()) runEnds_.back() = end;
    }
    shown_ = order_.size();
    return true;
}

int TFoundFiles::FindPrefix(const std::wstring &prefix, int start) const {
    int n = Count();
    if (n == 0 || prefix.empty()) return -1;
    if (start < 0 || start >= n) start = 0;
    for (int k = 0; k < n; ++k) {
        int row = (start + k) % n;
        const std::wstring &name = Name(row);
        if (name.size() >= prefix.size() &&
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.c_str(), static_cast<int>(prefix.size()),
                           prefix.c_str(), static_cast<int>(prefix.size())) == CSTR_EQUAL)
            return row;
    }
    return -1;
}

} // namespace search
