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

// All byte values whose lower-case form is that of b; false when there are more than three.
bool CaseForms(const std::array<uint8_t, 256> &lower, uint8_t b, std::array<uint8_t, 3> &forms) {
    size_t n = 0;
    for (int v = 0; v < 256; ++v) {
        if (lower[v] != lower[b])
            continue;
        if (n == forms.size())
            return false;
        forms[n++] = static_cast<uint8_t>(v);
    }
    for (size_t i = n; i < forms.size(); ++i)
        forms[i] = forms[0];
    return true;
}

bool HasSse2() {
    static const bool has = __builtin_cpu_supports("sse2");
    return has;
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

    wideScan_ = patternLength_ > 0 && HasSse2() &&
                CaseForms(lowerTable_, static_cast<uint8_t>(pattern_.front()), firstForms_) &&
                CaseForms(lowerTable_, static_cast<uint8_t>(pattern_.back()), lastForms_);
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

bool TTextSearch::Matches(size_t end) const {
    const auto *w = reinterpret_cast<const uint8_t *>(text_.data()) + (end - pattern_.size());
    const auto *p = reinterpret_cast<const uint8_t *>(lowerPattern_.data());
    size_t i = pattern_.size();
    while (i > 0 && lowerTable_[w[i - 1]] == p[i - 1])
        --i;
    return i == 0;
}

size_t TTextSearch::ScanOne(size_t pos, size_t lastEnd) const {
    const auto *t = reinterpret_cast<const uint8_t *>(text_.data());
    const size_t len = text_.size();
    const uint8_t *lower = lowerTable_.data();
    const int32_t *shift = rawShift_.data();
    const auto last = static_cast<uint8_t>(lowerPattern_.back());
    while (pos <= lastEnd) {
        while (pos < lastEnd && lower[t[pos - 1]] != last)
            pos += shift[t[pos]];
        if (pos > lastEnd)
            break;
        if (lower[t[pos - 1]] == last && Matches(pos))
            return pos;
        // The byte after the window decides the advance, also after a partial match: whatever shift it gives,
        // no occurrence can start before the window's new start. Past the text's end it is a zero byte.
        pos += pos < len ? shift[t[pos]] : shift[0];
    }
    return 0;
}

size_t TTextSearch::Scan(size_t pos) const {
    // Short texts are not worth setting up the sixteen-window check.
    if (wideScan_ && text_.size() - pos >= 256)
        return ScanSse2(pos);
    return ScanOne(pos, text_.size());
}

int32_t TTextSearch::FindNext() {
    found_ = false;
    foundPosition_ = 0;
    const size_t m = pattern_.size();
    const size_t len = text_.size();
    if (m == 0 || position_ + m > len) {
        position_ = len;
        return 0;
    }
    // Positions are 1-based indexes of the window's last byte.
    const size_t end = Scan(position_ + m);
    if (end == 0) {
        position_ = len;
        return 0;
    }
    position_ = end;
    found_ = true;
    ++foundCount_;
    foundPosition_ = static_cast<int32_t>(end - m + 1);
    return foundPosition_;
}
