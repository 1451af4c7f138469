#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "viewer/TextSource.h"

namespace viewer {

// A line of the text: its bytes run from start to contentEnd, its break (CR, LF or CR LF; none at the end
// of the text or where a very long line is cut) up to next.
struct TLine {
    TPos start = 0;
    TPos contentEnd = 0;
    TPos next = 0;
    bool last = false; // no line follows
};

// A line as it is drawn: its characters (tabs made spaces up to the next multiple of eight), each with the
// byte offset it comes from, and the rows it is wrapped into (index of each row's first character).
struct TLineText {
    TLine line;
    std::wstring text;
    std::vector<TPos> bytes; // one per character, plus line.contentEnd after the last
    std::vector<int> rows;   // row starts; rows[0] == 0
    std::vector<int> extents; // the width up to and including each character, from the row's start
    int RowEnd(size_t row) const { return row + 1 < rows.size() ? rows[row + 1] : static_cast<int>(text.size()); }
    // The row that shows the character at `index` (an index at a wrap point belongs to the later row).
    size_t RowOf(int index) const;
    // The character index nearest to the byte offset pos inside the line.
    int IndexOf(TPos pos) const;
};

// Widths of characters in the view's font: extents[i] is the width of text[0..i].
using TMeasure = std::function<void(const wchar_t *text, int count, std::vector<int> &extents)>;

// Finds the lines and rows of a text source without reading more than the lines asked about: lines are found
// by looking for breaks around a position. A line longer than the cache block holds is cut at a block's
// edge (any block without a break ends a line there), so finding a line never reads more than two blocks.
class TTextLayout {
public:
    explicit TTextLayout(TTextSource &source) : source_(source) {}

    // width 0: no wrapping.
    void SetWrapWidth(int width);
    int WrapWidth() const { return wrapWidth_; }
    void SetCodePage(UINT codePage);
    UINT CodePage() const { return source_.FixedCodePage() ? source_.FixedCodePage() : codePage_; }
    void SetMeasure(TMeasure measure);
    // Forgets every line laid out (the source changed).
    void Forget() {
        cache_.clear();
        cachedChars_ = 0;
    }

    TPos End() const { return source_.KnownEnd(); }
    // Where the text starts: past a byte-order mark of the reading.
    TPos Origin() const { return source_.Origin(); }
    // A position moved onto a unit's start, off the second half of a CR LF pair and into the text.
    TPos Snap(TPos pos);
    TPos LineStartOf(TPos pos);
    TLine LineAt(TPos start);
    const TLineText &Text(TPos lineStart);

    // Rows: a row is named by the byte offset of its first character.
    TPos RowStartOf(TPos pos);
    // The next row's start, or false at the last row.
    bool NextRow(TPos rowStart, TPos &next);
    bool PrevRow(TPos rowStart, TPos &prev);
    // The end of the row's characters (before the break or the wrap point).
    TPos RowEnd(TPos rowStart);

    TTextSource &Source() { return source_; }

private:
    static bool IsBreak(int unit) { return unit == '\r' || unit == '\n'; }
    // The code unit (a byte, or two in UTF-16) at pos, -1 at or beyond the end.
    int UnitAt(TPos pos);
    // The first line break at or after `from` in bytes[0, length), or length when none.
    size_t FindBreak(const char *bytes, size_t length) const;
    bool HasBreak(const char *bytes, size_t length) const { return FindBreak(bytes, length) < length; }
    // Forgets the lines laid out when the source changed under them.
    void Follow();
    bool ForcedBreakAt(TPos pos);
    void Wrap(TLineText &text);

    TTextSource &source_;
    int wrapWidth_ = 0;
    UINT codePage_ = CP_ACP;
    TMeasure measure_;
    std::map<TPos, TLineText> cache_;
    size_t cachedChars_ = 0;
    unsigned generation_ = 0;
};

// The bytes of [from, to) with every line break made CR LF, as text through the code page.
std::wstring DecodeRange(TTextLayout &layout, TPos from, TPos to);

} // namespace viewer
