#include "viewer/TextLayout.h"

#include <algorithm>
#include <cstring>

#include "viewer/TextLoader.h"

namespace viewer {

namespace {

constexpr TPos kBlock = TTextSource::kBlockSize;
constexpr int kTabColumns = 8;

bool SingleByte(UINT codePage) {
    CPINFO info{};
    return codePage != CP_UTF8 && GetCPInfo(codePage, &info) && info.MaxCharSize == 1;
}

// How many bytes the character starting with `lead` takes.
size_t CharLength(UINT codePage, const unsigned char *p, size_t left) {
    size_t n = 1;
    if (codePage == CP_UTF8) {
        if (p[0] >= 0xF0) n = 4;
        else if (p[0] >= 0xE0) n = 3;
        else if (p[0] >= 0xC0) n = 2;
        // Stops at a byte that cannot continue the character, so a broken sequence loses one byte only.
        for (size_t i = 1; i < n && i < left; ++i)
            if ((p[i] & 0xC0) != 0x80) return i;
    } else if (IsDBCSLeadByteEx(codePage, p[0])) {
        n = 2;
    }
    return std::min(n, left);
}

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
    if (codePage == codePage_) return;
    codePage_ = codePage;
    Forget();
}

void TTextLayout::SetMeasure(TMeasure measure) {
    measure_ = std::move(measure);
    Forget();
}

TPos TTextLayout::Snap(TPos pos) {
    pos = std::min(pos, End());
    if (pos > 0 && source_.At(pos) == '\n' && source_.At(pos - 1) == '\r') --pos;
    return std::min(pos, End());
}

bool TTextLayout::ForcedBreakAt(TPos pos) {
    if (pos == 0 || pos % kBlock != 0 || pos >= End()) return false;
    if (IsBreak(source_.At(pos))) return false;
    size_t length = 0;
    const char *bytes = source_.Block(pos - kBlock, length);
    if (!bytes || pos >= End()) return false;
    return !std::memchr(bytes, '\r', length) && !std::memchr(bytes, '\n', length);
}

TPos TTextLayout::LineStartOf(TPos pos) {
    TPos q = Snap(pos);
    // A line laid out already answers without a look back through the blocks.
    if (auto it = cache_.upper_bound(q); it != cache_.begin()) {
        const TLine &line = std::prev(it)->second.line;
        bool cutHere = line.contentEnd == line.next && !line.last && q == line.contentEnd;
        if (q <= line.contentEnd && line.next <= End() && !cutHere) return line.start;
    }
    while (q > 0) {
        if (ForcedBreakAt(q)) return q;
        TPos blockStart = (q - 1) / kBlock * kBlock;
        size_t length = 0;
        const char *bytes = source_.Block(blockStart, length);
        if (!bytes) { // the text shrank under the position
            q = std::min(q - 1, End());
            continue;
        }
        for (TPos i = std::min<TPos>(q, blockStart + length); i > blockStart; --i)
            if (IsBreak(static_cast<unsigned char>(bytes[i - 1 - blockStart]))) return i;
        q = blockStart;
    }
    return 0;
}

TLine TTextLayout::LineAt(TPos start) {
    TLine line;
    line.start = start = std::min(start, End());
    TPos pos = start;
    for (;;) {
        size_t length = 0;
        const char *bytes = source_.Block(pos, length);
        if (!bytes) break;
        const char *cr = static_cast<const char *>(std::memchr(bytes, '\r', length));
        const char *lf = static_cast<const char *>(std::memchr(bytes, '\n', cr ? size_t(cr - bytes) : length));
        const char *brk = lf ? lf : cr;
        if (brk) {
            line.contentEnd = pos + static_cast<TPos>(brk - bytes);
            line.next = line.contentEnd + 1;
            // A CR whose LF starts the next block is still one break.
            if (*brk == '\r' && source_.At(line.next) == '\n') ++line.next;
            return line;
        }
        pos += length;
        if (pos >= End()) break;
        if (ForcedBreakAt(pos)) {
            line.contentEnd = line.next = pos;
            return line;
        }
    }
    line.contentEnd = line.next = End();
    line.last = true;
    return line;
}

const TLineText &TTextLayout::Text(TPos lineStart) {
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
    const UINT codePage = CodePage();
    std::wstring decoded;
    std::vector<TPos> offsets;
    if (SingleByte(codePage)) {
        decoded = DecodeViewBytes(raw, codePage);
        if (decoded.size() != raw.size()) decoded.resize(raw.size(), L'?');
        offsets.resize(raw.size());
        for (size_t i = 0; i < raw.size(); ++i) offsets[i] = t.line.start + i;
    } else {
        const auto *p = reinterpret_cast<const unsigned char *>(raw.data());
        for (size_t i = 0; i < raw.size();) {
            size_t n = CharLength(codePage, p + i, raw.size() - i);
            wchar_t out[4] = {};
            int got = MultiByteToWideChar(codePage, 0, raw.data() + i, static_cast<int>(n), out, 4);
            if (got <= 0) out[0] = L'?', got = 1;
            for (int k = 0; k < got; ++k) {
                decoded += out[k];
                offsets.push_back(t.line.start + i);
            }
            i += n;
        }
    }
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
    if (lineStart == 0) return false;
    const TLineText &p = Text(LineStartOf(lineStart - 1));
    prev = p.bytes[p.rows.back()];
    return true;
}

TPos TTextLayout::RowEnd(TPos rowStart) {
    const TLineText &t = Text(LineStartOf(rowStart));
    size_t row = t.RowOf(t.IndexOf(rowStart));
    return row + 1 < t.rows.size() ? t.bytes[t.rows[row + 1]] : t.line.contentEnd;
}

std::wstring DecodeRange(TTextLayout &layout, TPos from, TPos to) {
    to = std::min(to, layout.End());
    if (from >= to) return {};
    std::string raw(static_cast<size_t>(to - from), '\0');
    raw.resize(layout.Source().Read(from, raw.data(), raw.size()));
    return DecodeViewBytes(NormalizeLineBreaks(raw), layout.CodePage());
}

} // namespace viewer
