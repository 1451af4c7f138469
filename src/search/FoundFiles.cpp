#include "search/FoundFiles.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace search {

namespace {

// Appends the locale's sort key of the name to `keys`; returns its length.
size_t AppendSortKey(const std::wstring &name, std::vector<char> &keys) {
    char buffer[512];
    int n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, name.c_str(), -1, reinterpret_cast<wchar_t *>(buffer),
                         sizeof buffer);
    if (n > 0) {
        keys.insert(keys.end(), buffer, buffer + n);
        return static_cast<size_t>(n);
    }
    n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, name.c_str(), -1, nullptr, 0);
    if (n <= 0) return 0;
    size_t at = keys.size();
    keys.resize(at + static_cast<size_t>(n));
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, name.c_str(), -1, reinterpret_cast<wchar_t *>(keys.data() + at), n);
    return static_cast<size_t>(n);
}

std::string SortKey(const std::wstring &name) {
    std::vector<char> key;
    AppendSortKey(name, key);
    return std::string(key.begin(), key.end());
}

} // namespace

std::wstring SizeKBText(uint64_t size) {
    uint64_t kb = size / 1024u + (size % 1024u != 0);
    return std::to_wstring(kb) + L" KB";
}

void TFoundFiles::Clear() {
    entries_.clear();
    order_.clear();
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
    if (directories_.empty() || directories_.back() != directory) {
        directories_.push_back(directory);
        directoryKeys_.push_back(SortKey(directory));
    }
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
        keyLength = AppendSortKey(name, keys_);
    }
    last = static_cast<uint32_t>(entries_.size());
    entries_.push_back({std::move(name), static_cast<uint32_t>(directories_.size() - 1), size, keyAt,
                        static_cast<uint32_t>(keyLength)});
}

bool TFoundFiles::Less(uint32_t a, uint32_t b) const {
    const Entry &x = entries_[a], &y = entries_[b];
    // As std::string compares: bytes as unsigned, then the shorter first.
    int c = std::memcmp(keys_.data() + x.keyAt, keys_.data() + y.keyAt, std::min(x.keyLength, y.keyLength));
    if (c != 0) return c < 0;
    if (x.keyLength != y.keyLength) return x.keyLength < y.keyLength;
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

bool TFoundFiles::Merge() {
    size_t shown = order_.size();
    if (shown == entries_.size()) return false;
    RankDirectories();
    for (size_t i = shown; i < entries_.size(); ++i) order_.push_back(static_cast<uint32_t>(i));
    auto less = [this](uint32_t a, uint32_t b) { return Less(a, b); };
    std::stable_sort(order_.begin() + static_cast<long>(shown), order_.end(), less);
    std::inplace_merge(order_.begin(), order_.begin() + static_cast<long>(shown), order_.end(), less);
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
