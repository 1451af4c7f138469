#include "search/SortKeys.h"

namespace search {

namespace {

// Asking the system this many times costs more than checking the table once.
constexpr size_t kAskedBeforeTable = 4096;

// The printable ASCII characters a file name may hold; those whose key is not of the plain shape are
// left to the system.
bool MayBePlain(wchar_t c) {
    return c >= 0x20 && c < 0x7F && c != L'"' && c != L'*' && c != L'/' && c != L':' && c != L'<' && c != L'>' &&
           c != L'?' && c != L'\\' && c != L'|';
}

} // namespace

size_t TSortKeys::SystemKey(const wchar_t *text, int length, std::vector<char> &keys) {
    char buffer[512];
    int n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text, length, reinterpret_cast<wchar_t *>(buffer),
                         sizeof buffer);
    if (n > 0) {
        keys.insert(keys.end(), buffer, buffer + n);
        return static_cast<size_t>(n);
    }
    n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text, length, nullptr, 0);
    if (n <= 0) return 0;
    size_t at = keys.size();
    keys.resize(at + static_cast<size_t>(n));
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text, length, reinterpret_cast<wchar_t *>(keys.data() + at), n);
    return static_cast<size_t>(n);
}

size_t TSortKeys::Append(const std::wstring &text, std::vector<char> &keys) {
    if (state_ != TState::Unknown && GetUserDefaultLCID() != locale_) state_ = TState::Unknown, asked_ = 0;
    if (state_ == TState::Unknown && ++asked_ > kAskedBeforeTable) Prepare();
    if (state_ == TState::Own) {
        size_t before = keys.size();
        if (Made(text.c_str(), text.size(), keys)) return keys.size() - before;
    }
    return SystemKey(text.c_str(), -1, keys);
}

std::string TSortKeys::Key(const std::wstring &text) {
    std::vector<char> key;
    Append(text, key);
    return std::string(key.begin(), key.end());
}

bool TSortKeys::KeysPlainTextsItself() {
    if (state_ == TState::Unknown || GetUserDefaultLCID() != locale_) Prepare();
    return state_ == TState::Own;
}

// A plain character's key is its primary weights, then sections parted by 0x01 (diacritic, case, and
// others that stay empty), then a zero byte; a weight left at its default of 2 at a section's end is
// left out.
bool TSortKeys::Prepare() {
    locale_ = GetUserDefaultLCID();
    asked_ = 0;
    state_ = TState::System;
    plain_.fill(false);
    sections_ = -1;
    std::vector<char> key;
    for (wchar_t c = 0x20; c < 0x7F; ++c) {
        if (!MayBePlain(c)) continue;
        key.clear();
        size_t n = SystemKey(&c, 1, key);
        if (n < 2 || key[n - 1] != 0) continue;
        std::vector<std::vector<uint8_t>> parts(1);
        for (size_t i = 0; i + 1 < n; ++i) {
            if (key[i] == 1) parts.emplace_back();
            else parts.back().push_back(static_cast<uint8_t>(key[i]));
        }
        const int sections = static_cast<int>(parts.size()) - 1;
        if (sections < 2 || (sections_ >= 0 && sections != sections_)) continue;
        if (parts[0].empty() || parts[0].size() > 4 || parts[1].size() > 1 || parts[2].size() > 1) continue;
        bool othersEmpty = true;
        for (size_t s = 3; s < parts.size(); ++s) othersEmpty = othersEmpty && parts[s].empty();
        if (!othersEmpty) continue;
        TWeights &w = weights_[c];
        std::copy(parts[0].begin(), parts[0].end(), w.primary);
        w.primaryLength = static_cast<uint8_t>(parts[0].size());
        w.diacritic = parts[1].empty() ? 2 : parts[1][0];
        w.caseWeight = parts[2].empty() ? 2 : parts[2][0];
        sections_ = sections;
        plain_[c] = true;
    }
    if (sections_ < 0) return false;

    // The table must give the system's own keys, joined letters and every rule of the layout included.
    std::vector<std::wstring> checks = {L"File12345.txt", L"README.TXT", L"a.B.c", L"x y_z", L"Zz9.aA", L"AbCdEf.GhI",
                                        L"aaa", L"AAA", L"ss", L"th", L"ae", L"oe", L"dzs", L"ccs", L"ddz", L"ggy",
                                        L"lly", L"nny", L"ssz", L"tty", L"zzs", L"ch", L"Ch", L"CH", L"ll", L"rr",
                                        L"aa", L"Aa", L"ij", L"IJ", L"nj", L"lj", L"dz", L"dzs"};
    std::wstring pair(2, L' ');
    for (wchar_t a = 0x20; a < 0x7F; ++a) {
        if (!plain_[a]) continue;
        pair[0] = a;
        checks.emplace_back(1, a);
        for (wchar_t b = 0x20; b < 0x7F; ++b)
            if (plain_[b]) {
                pair[1] = b;
                checks.push_back(pair);
            }
    }
    std::vector<char> system, made;
    for (const std::wstring &text : checks) {
        bool allPlain = true;
        for (wchar_t c : text) allPlain = allPlain && c < 0x80 && plain_[c];
        if (!allPlain) continue;
        system.clear();
        made.clear();
        SystemKey(text.c_str(), -1, system);
        if (!Made(text.c_str(), text.size(), made) || made != system) return false;
    }
    state_ = TState::Own;
    return true;
}

bool TSortKeys::Made(const wchar_t *text, size_t length, std::vector<char> &keys) const {
    for (size_t i = 0; i < length; ++i)
        if (text[i] >= 0x80 || !plain_[text[i]]) return false;
    auto put = [&keys](uint8_t byte) { keys.push_back(static_cast<char>(byte)); };
    for (size_t i = 0; i < length; ++i) {
        const TWeights &w = weights_[text[i]];
        keys.insert(keys.end(), w.primary, w.primary + w.primaryLength);
    }
    // Each section keeps its weights up to the last one that is not the default.
    auto section = [&](uint8_t TWeights::*weight) {
        put(1);
        size_t end = length;
        while (end > 0 && weights_[text[end - 1]].*weight == 2) --end;
        for (size_t i = 0; i < end; ++i) put(weights_[text[i]].*weight);
    };
    section(&TWeights::diacritic);
    section(&TWeights::caseWeight);
    for (int s = 2; s < sections_; ++s) put(1);
    put(0);
    return true;
}

} // namespace search
