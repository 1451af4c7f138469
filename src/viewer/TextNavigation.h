#pragma once
#include <utility>

#include "viewer/TextLayout.h"

namespace viewer {

// Where the caret goes, in byte offsets of the text, as in the system's edit control. A CR LF is one step.

// The character before pos; at a line's start, the end of the line before it (its last character where a
// long line was cut and no break stands between).
TPos CharBefore(TTextLayout &layout, TPos pos);
// The character after pos; at a line's end, the start of the next line.
TPos CharAfter(TTextLayout &layout, TPos pos);
// Ctrl+Right and Ctrl+Left: the start of the next word, or of this or the previous one. A line break ends a
// word. A step crosses at most kWordStepLimit characters, so a file of one endless word never holds the view.
TPos WordStart(TTextLayout &layout, TPos pos, bool forward);
constexpr int kWordStepLimit = 65536;
// A double-click: the run of word characters, or of spaces, around pos within its line.
std::pair<TPos, TPos> WordAround(TTextLayout &layout, TPos pos);
// The x of pos within the row starting at rowStart, from the row's left edge.
int XInRow(TTextLayout &layout, TPos rowStart, TPos pos);
// The position nearest to x within the row; past a wrapped row's end, before its last character, so the
// caret stays on that row.
TPos AtXInRow(TTextLayout &layout, TPos rowStart, int x);

} // namespace viewer
