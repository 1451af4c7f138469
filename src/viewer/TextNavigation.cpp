#include "viewer/TextNavigation.h"

#include <algorithm>
#include <cwctype>

namespace viewer {

TPos CharBefore(TTextLayout &layout, TPos pos) {
    if (pos <= layout.Origin()) return layout.Origin();
    TPos lineStart = layout.LineStartOf(pos);
    if (pos == lineStart) {
        const TLineText &p = layout.Text(layout.LineStartOf(lineStart - 1));
        // Where a long line was cut there is no break to step over: the step goes to the last character.
        if (p.line.contentEnd < pos || p.text.empty()) return p.line.contentEnd;
        return p.bytes[p.text.size() - 1];
    }
    const TLineText &t = layout.Text(lineStart);
    int i = t.IndexOf(pos);
    while (i > 0 && t.bytes[i - 1] >= pos) --i;
    return i > 0 ? t.bytes[i - 1] : lineStart;
}

TPos CharAfter(TTextLayout &layout, TPos pos) {
    const TLineText &t = layout.Text(layout.LineStartOf(pos));
    if (pos >= t.line.contentEnd) return t.line.last ? pos : (t.line.next > pos ? t.line.next : pos + 1);
    int i = t.IndexOf(pos);
    while (i < static_cast<int>(t.text.size()) && t.bytes[i] <= pos) ++i;
    return t.bytes[i];
}

namespace {

bool IsWordAt(TTextLayout &layout, TPos p) {
    const TLineText &t = layout.Text(layout.LineStartOf(p));
    int i = t.IndexOf(p);
    return i < static_cast<int>(t.text.size()) && !std::iswspace(t.text[i]);
}

} // namespace

TPos WordStart(TTextLayout &layout, TPos pos, bool forward) {
    TPos p = pos;
    int steps = 0;
    if (forward) {
        while (p < layout.End() && IsWordAt(layout, p) && ++steps < kWordStepLimit) p = CharAfter(layout, p);
        while (p < layout.End() && !IsWordAt(layout, p) && ++steps < kWordStepLimit) p = CharAfter(layout, p);
        return p;
    }
    while (p > layout.Origin() && !IsWordAt(layout, CharBefore(layout, p)) && ++steps < kWordStepLimit) p = CharBefore(layout, p);
    while (p > layout.Origin() && IsWordAt(layout, CharBefore(layout, p)) && ++steps < kWordStepLimit) p = CharBefore(layout, p);
    return p;
}

std::pair<TPos, TPos> WordAround(TTextLayout &layout, TPos pos) {
    const TLineText &t = layout.Text(layout.LineStartOf(pos));
    int i = t.IndexOf(pos), n = static_cast<int>(t.text.size());
    if (i >= n) return {pos, pos};
    bool space = std::iswspace(t.text[i]) != 0;
    int a = i, b = i;
    while (a > 0 && (std::iswspace(t.text[a - 1]) != 0) == space) --a;
    while (b < n && (std::iswspace(t.text[b]) != 0) == space) ++b;
    return {t.bytes[a], t.bytes[b]};
}

int XInRow(TTextLayout &layout, TPos rowStart, TPos pos) {
    const TLineText &t = layout.Text(layout.LineStartOf(rowStart));
    size_t r = t.RowOf(t.IndexOf(rowStart));
    int a = t.rows[r], i = std::clamp(t.IndexOf(pos), a, t.RowEnd(r));
    int base = a > 0 ? t.extents[a - 1] : 0;
    return (i > 0 ? t.extents[i - 1] : 0) - base;
}

TPos AtXInRow(TTextLayout &layout, TPos rowStart, int x) {
    const TLineText &t = layout.Text(layout.LineStartOf(rowStart));
    size_t r = t.RowOf(t.IndexOf(rowStart));
    int a = t.rows[r], b = t.RowEnd(r);
    int base = a > 0 ? t.extents[a - 1] : 0;
    for (int i = a; i < b; ++i) {
        int left = (i > 0 ? t.extents[i - 1] : 0) - base, right = t.extents[i] - base;
        if (x < (left + right + 1) / 2) return t.bytes[i];
    }
    if (r + 1 < t.rows.size() && b > a) return t.bytes[b - 1];
    return t.bytes[b];
}

} // namespace viewer
