#include "search/TextSrch.h"

#include <emmintrin.h>

// Sixteen windows at a time: a window is worth comparing only when its first and its last byte both fold to
// the pattern's. Common bytes that give the shift table only short advances cost nothing extra here. The
// windows are taken in order, so the first hit found is the leftmost, as with the shift table.
__attribute__((target("sse2"))) size_t TTextSearch::ScanSse2(size_t pos) const {
    const auto *t = reinterpret_cast<const uint8_t *>(text_.data());
    const size_t m = pattern_.size();
    const size_t len = text_.size();
    const __m128i f0 = _mm_set1_epi8(static_cast<char>(firstForms_[0]));
    const __m128i f1 = _mm_set1_epi8(static_cast<char>(firstForms_[1]));
    const __m128i f2 = _mm_set1_epi8(static_cast<char>(firstForms_[2]));
    const __m128i l0 = _mm_set1_epi8(static_cast<char>(lastForms_[0]));
    const __m128i l1 = _mm_set1_epi8(static_cast<char>(lastForms_[1]));
    const __m128i l2 = _mm_set1_epi8(static_cast<char>(lastForms_[2]));

    // start: 0-based first byte of the first of sixteen windows; the last of them must still fit in the text.
    size_t start = pos - m;
    for (; start + m + 15 <= len; start += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(t + start));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(t + start + m - 1));
        const __m128i first =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(a, f0), _mm_cmpeq_epi8(a, f1)), _mm_cmpeq_epi8(a, f2));
        const __m128i last =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, l0), _mm_cmpeq_epi8(b, l1)), _mm_cmpeq_epi8(b, l2));
        for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(first, last))); mask != 0;
             mask &= mask - 1) {
            const size_t end = start + static_cast<size_t>(__builtin_ctz(mask)) + m;
            if (Matches(end))
                return end;
        }
    }
    return ScanOne(start + m, len);
}
