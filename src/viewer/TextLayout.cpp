#include "viewer/TextLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "viewer/TextLoader.h"

namespace viewer {

namespace {

constexpr TPos kBlock = TTextSource::kBlockSize;
constexpr int kTabColumns = 8;

} // namespace

size_t TLineText::RowOf(int index) const {
    auto it = std::upper_bound(rows.begin(), rows.end(), index);
    return static_cast<size_t>(it - rows.begin()) - 1;
}

int TLineText::IndexOf(TPos pos) const {
    auto it = std::lower_bound(bytes.begin(), bytes.end(), pos);
    if (it == bytes.end()) return static_cast<int>(text.size());
    if (*it != pos && it != bytes.begin()) --it; // inside a character of several bytes: the character itself
    return static_cast<int>(it - bytes.begin());
}

void TTextLayout::SetWrapWidth(int width) {
    if (width == wrapWidth_) return;
    wrapWidth_ = width;
    Forget();
}

void TTextLayout::SetCodePage(UINT codePage) {
    source_.SetReading(codePage);
    if (codePage == codePage_) return;
    codePage_ = codePage;
    Forget();
}

void TTextLayout::Follow() {
    if (generation_ == source_.Generation()) return;
    generation_ = source_.Generation();
    Forget();
}

int TTextLayout::UnitAt(TPos pos) {
    if (source_.Unit() == 1) return source_.At(pos);
    size_t length = 0;
    const char *bytes = source_.Block(pos, length);
    if (length < 2) return -1;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes);
    return CodePage() == kUtf16Be ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8);
}

size_t TTextLayout::FindBreak(const char *bytes, size_t length) const {
    if (source_.Unit() == 1) {
        const char *cr = static_cast<const char *>(std::memchr(bytes, '\r', length));
        const char *lf = static_cast<const char *>(std::memchr(bytes, '\n', cr ? size_t(cr - bytes) : length));
        const char *brk = lf ? lf : cr;
        return brk ? static_cast<size_t>(brk - bytes) : length;
    }
    // UTF-16: a break is a whole unit, its other byte zero.
    const size_t hi = CodePage() == kUtf16Be ? 0 : 1;
    for (size_t i = 0; i + 1 < length; i += 2)
        if (bytes[i + hi] == 0 && IsBreak(static_cast<unsigned char>(bytes[i + 1 - hi]))) return i;
    return length;
}

void TTextLayout::SetMeasure(TMeasure measure) {
    measure_ = std::move(measure);
    Forget();
}

TPos TTextLayout::Snap(TPos pos) {
    const TPos origin = Origin(), unit = source_.Unit();
    pos = std::clamp(pos, origin, std::max(origin, End()));
    pos = origin + (pos - origin) / unit * unit;
    if (pos > origin && UnitAt(pos) == '\n' && UnitAt(pos - unit) == '\r') pos -= unit;
    return std::max(origin, std::min(pos, End()));
}

bool TTextLayout::ForcedBreakAt(TPos pos) {
    if (pos <= Origin() || pos % kBlock != 0 || pos >= End()) return false;
    if (IsBreak(UnitAt(pos))) return false;
    size_t length = 0;
    const char *bytes = source_.Block(pos - kBlock, length);
    if (!bytes || pos >= End()) return false;
    return !HasBreak(bytes, length);
}

TPos TTextLayout::LineStartOf(TPos pos) {
    Follow();
    TPos q = Snap(pos);
    const TPos origin = Origin(), unit = source_.Unit();
    // A line laid out already answers without a look back through the blocks.
    if (auto it = cache_.upper_bound(q); it != cache_.begin()) {
        const TLine &line = std::prev(it)->second.line;
        bool cutHere = line.contentEnd == line.next && !line.last && q == line.contentEnd;
        if (q <= line.contentEnd && line.next <= End() && !cutHere) return line.start;
    }
    while (q > origin) {
        if (ForcedBreakAt(q)) return q;
        TPos blockStart = std::max(origin, (q - 1) / kBlock * kBlock);
        size_t length = 0;
        const char *bytes = source_.Block(blockStart, length);
        if (!bytes) { // the text shrank under the position
            q = std::min(q - unit, End());
            continue;
        }
        if (unit == 1) {
            for (TPos i = std::min<TPos>(q, blockStart + length); i > blockStart; --i)
                if (IsBreak(static_cast<unsigned char>(bytes[i - 1 - blockStart]))) return i;
        } else {
            const size_t hi = CodePage() == kUtf16Be ? 0 : 1;
            for (TPos i = std::min<TPos>(q, blockStart + length / 2 * 2); i >= blockStart + 2; i -= 2) {
                const char *u = bytes + (i - 2 - blockStart);
                if (u[hi] == 0 && IsBreak(static_cast<unsigned char>(u[1 - hi]))) return i;
            }
        }
        q = blockStart;
    }
    return origin;
}

TLine TTextLayout::LineAt(TPos start) {
    TLine line;
    line.start = start = std::clamp(start, Origin(), std::max(Origin(), End()));
    TPos pos = start;
    const TPos unit = source_.Unit();
    bool ended = false;
    for (;;) {
        size_t length = 0;
        const char *bytes = source_.Block(pos, length);
        if (!bytes) break;
        size_t at = FindBreak(bytes, length);
        if (at < length) {
            line.contentEnd = pos + at;
            line.next = line.contentEnd + unit;
            // A CR whose LF starts the next block is still one break.
            if (UnitAt(line.contentEnd) == '\r' && UnitAt(line.next) == '\n') line.next += unit;
            ended = true;
            break;
        }
        pos += length;
        if (pos >= End()) break;
        if (ForcedBreakAt(pos)) {
            line.contentEnd = line.next = pos;
            ended = true;
            break;
        }
    }
    const TPos end = End();
    // The end may have moved back during the reads (a file cut short): the line never runs backwards.
    if (!ended || line.next > end) {
        line.start = std::min(line.start, end);
        line.contentEnd = line.next = std::max(line.start, std::min(end, ended ? line.contentEnd : end));
        line.last = true;
    }
    return line;
}

const TLineText &TTextLayout::Text(TPos lineStart) {
    Follow();
    if (auto it = cache_.find(lineStart); it != cache_.end() && it->second.line.next <= End()) return it->second;
    // Bounded by characters, not lines: a screen of lines cut at a block's edge holds megabytes.
    if (cache_.size() > 512 || cachedChars_ > (1u << 20)) {
        cache_.clear();
        cachedChars_ = 0;
    }
    TLineText t;
    t.line = LineAt(lineStart);
    std::string raw(static_cast<size_t>(t.line.contentEnd - t.line.start), '\0');
    raw.resize(source_.Read(t.line.start, raw.data(), raw.size()));
    std::vector<std::uint32_t> at;
    std::wstring decoded = DecodeViewBytes(raw, CodePage(), &at);
    std::vector<TPos> offsets(at.size());
    for (size_t i = 0; i < at.size(); ++i) offsets[i] = t.line.start + at[i];
    // Tabs become spaces up to the next tab stop, each space standing for the tab's byte.
    t.text.reserve(decoded.size());
    t.bytes.reserve(decoded.size() + 1);
    for (size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] == L'\t') {
            do {
                t.text += L' ';
                t.bytes.push_back(offsets[i]);
            } while (t.text.size() % kTabColumns != 0);
            continue;
        }
        t.text += decoded[i];
        t.bytes.push_back(offsets[i]);
    }
    t.bytes.push_back(t.line.contentEnd);
    if (measure_ && !t.text.empty()) measure_(t.text.data(), static_cast<int>(t.text.size()), t.extents);
    else t.extents.assign(t.text.size(), 0);
    Wrap(t);
    cachedChars_ += t.text.size();
    return cache_[lineStart] = std::move(t);
}

void TTextLayout::Wrap(TLineText &t) {
    t.rows.assign(1, 0);
    const int n = static_cast<int>(t.text.size());
    if (wrapWidth_ <= 0 || n == 0) return;
    int i = 0;
    for (;;) {
        int base = i > 0 ? t.extents[i - 1] : 0;
        // The first character past the width (at least one character per row).
        int k = static_cast<int>(std::upper_bound(t.extents.begin() + i, t.extents.end(), base + wrapWidth_) -
                                 t.extents.begin());
        k = std::max(k, i + 1);
        if (k >= n) return;
        int next = k;
        if (t.text[k] == L' ') {
            // Spaces at the wrap point hang at the row's end.
            while (next < n && t.text[next] == L' ') ++next;
            if (next >= n) return;
        } else {
            int j = k;
            while (j > i && t.text[j - 1] != L' ') --j;
            if (j > i) next = j; // the word that does not fit starts the next row
        }
        t.rows.push_back(next);
        i = next;
    }
}

TPos TTextLayout::RowStartOf(TPos pos) {
    const TLineText &t = Text(LineStartOf(pos));
    return t.bytes[t.rows[t.RowOf(t.IndexOf(Snap(pos)))]];
}

bool TTextLayout::NextRow(TPos rowStart, TPos &next) {
    const TLineText &t = Text(LineStartOf(rowStart));
    size_t row = t.RowOf(t.IndexOf(rowStart));
    if (row + 1 < t.rows.size()) {
        next = t.bytes[t.rows[row + 1]];
        return true;
    }
    if (t.line.last) return false;
    next = t.line.next;
    return true;
}

bool TTextLayout::PrevRow(TPos rowStart, TPos &prev) {
    TPos lineStart = LineStartOf(rowStart);
    {
        const TLineText &t = Text(lineStart);
        size_t row = t.RowOf(t.IndexOf(rowStart));
        if (row > 0) {
            prev = t.bytes[t.rows[row - 1]];
            return true;
        }
    }
    if (lineStart <= Origin()) return false;
    const TLineText &p = Text(LineStartOf(lineStart - source_.Unit()));
    prev = p.bytes[p.rows.back()];
    return true;
}

TPos TTextLayout::RowEnd(TPos rowStart) {
    const TLineText &t = Text(LineStartOf(rowStart));
    size_t row = t.RowOf(t.IndexOf(rowStart));
    return row + 1 < t.rows.size() ? t.bytes[t.rows[row + 1]] : t.line.contentEnd;
}

std::wstring DecodeRange(TTextLayout &layout, TPos from, TPos to) {
    from = std::max(from, layout.Origin());
    to = std::min(to, layout.End());
    if (from >= to) return {};
    std::string raw(static_cast<size_t>(to - from), '\0');
    raw.resize(layout.Source().Read(from, raw.data(), raw.size()));
    return NormalizeLineBreaks(DecodeViewBytes(raw, layout.CodePage()));
}

} // namespace viewer
