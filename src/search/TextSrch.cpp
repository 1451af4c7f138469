#include "search/TextSrch.h"

#include <windows.h>

#include <limits>
#include <stdexcept>

namespace {

// The ANSI code page's lower-case form of every byte; the same for the whole run, so built once.
const std::array<uint8_t, 256> &AnsiLowerTable() {
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            char c = static_cast<char>(b);
            if (b != 0)
                CharLowerBuffA(&c, 1);
            t[b] = static_cast<uint8_t>(c);
        }
        return t;
    }();
    return table;
}

} // namespace

TTextSearch::TTextSearch() : lowerTable_(AnsiLowerTable()) {}

void TTextSearch::SetPattern(std::string_view pattern) {
    if (pattern.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max() - 1))
        throw std::length_error("Search text too long");
    pattern_.assign(pattern);
    patternLength_ = static_cast<int32_t>(pattern_.size());
    defaultShift_ = patternLength_ + 1;
    halfLength_ = patternLength_ / 2;
    lowerPattern_.resize(pattern_.size());
    for (size_t i = 0; i < pattern_.size(); ++i)
        lowerPattern_[i] = static_cast<char>(lowerTable_[static_cast<uint8_t>(pattern_[i])]);

    shiftTable_.fill(defaultShift_);
    for (int32_t i = 1; i <= patternLength_; ++i)
        shiftTable_[static_cast<uint8_t>(lowerPattern_[i - 1])] = defaultShift_ - i;
    for (int b = 0; b < 256; ++b)
        rawShift_[b] = shiftTable_[lowerTable_[b]];
}

int32_t TTextSearch::Find(std::string_view text) {
    if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw std::length_error("Text too long to search in one piece");
    text_ = text;
    found_ = false;
    foundPosition_ = 0;
    foundCount_ = 0;
    if (patternLength_ == 0 || text_.size() < pattern_.size()) {
        position_ = text_.size();
        return 0;
    }
    position_ = 0;
    return FindNext();
}

int32_t TTextSearch::FindNext() {
    found_ = false;
    foundPosition_ = 0;
    const size_t m = pattern_.size();
    const size_t len = text_.size();
    if (m == 0)
        return 0;

    const auto *t = reinterpret_cast<const uint8_t *>(text_.data());
    const auto *p = reinterpret_cast<const uint8_t *>(lowerPattern_.data());
    const uint8_t *lower = lowerTable_.data();
    const int32_t *shift = rawShift_.data();
    const uint8_t last = p[m - 1];

    // pos is the 1-based index of the window's last byte, so t[pos - 1] is that byte and t[pos] the one after it.
    size_t pos = position_ + m;
    while (pos <= len) {
        while (pos < len && lower[t[pos - 1]] != last)
            pos += shift[t[pos]];
        if (pos > len)
            break;
        if (lower[t[pos - 1]] == last) {
            const uint8_t *w = t + (pos - m);
            size_t i = m - 1;
            while (i > 0 && lower[w[i - 1]] == p[i - 1])
                --i;
            if (i == 0) {
                position_ = pos;
                found_ = true;
                ++foundCount_;
                foundPosition_ = static_cast<int32_t>(pos - m + 1);
                return foundPosition_;
            }
        }
        // The byte after the window decides the advance, also after a partial match: whatever shift it gives,
        // no occurrence can start before the window's new start. Past the text's end it is a zero byte.
        pos += pos < len ? shift[t[pos]] : shift[0];
    }
    position_ = len;
    return 0;
}
