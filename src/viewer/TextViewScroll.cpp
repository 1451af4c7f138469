// Where the view stands in its text and how it moves: scrolling, the scroll bars, and the caret's moves by
// key and by point.
#include "viewer/TextView.h"

#include <algorithm>
#include <climits>

#include "ui/Application.h"
#include "viewer/TextNavigation.h"

namespace viewer {

namespace {

// The vertical scroll bar's range: positions stand for byte offsets in proportion.
constexpr int kScrollRange = 10000;

} // namespace

void TTextView::ScrollTo(TPos pos) {
    // Interrupted, the view goes as far as the scan got; the next step goes on from there.
    if (!source_->ScanTo(pos, [this] { return ScanInterrupted(); })) pos = std::min(pos, source_->ScannedTo());
    top_ = layout_->RowStartOf(pos);
    ClampTop();
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
}

bool TTextView::ScanInterrupted() {
    // While the thumb is dragged the mouse moving on is the user going elsewhere: the scan goes on at the
    // next position, and the drag never waits for a scan to the place it has already left.
    return ui::Application().Queued(nullptr, {WM_KEYDOWN, WM_LBUTTONDOWN}) ||
           (trackingThumb_ && ui::Application().Queued(nullptr, {WM_MOUSEMOVE, WM_NCMOUSEMOVE}));
}

// Scrolling

void TTextView::ClampTop() {
    top_ = std::min(top_, layout_->End());
    // The last screen ends with the last row at the bottom, as far as the text reaches.
    int below = 0;
    TPos row = top_;
    while (below < VisibleRows() - 1 && layout_->NextRow(row, row)) ++below;
    for (int missing = VisibleRows() - 1 - below; missing > 0; --missing)
        if (!layout_->PrevRow(top_, top_)) break;
}

void TTextView::ScrollRows(int rows) {
    for (; rows > 0 && layout_->NextRow(top_, top_); --rows) {
    }
    for (; rows < 0 && layout_->PrevRow(top_, top_); ++rows) {
    }
    ClampTop();
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
}

void TTextView::EnsureCaretVisible() {
    TPos caretRow = layout_->RowStartOf(caret_);
    if (caretRow < top_) {
        top_ = caretRow;
    } else {
        TPos row = top_;
        bool shown = row == caretRow;
        for (int i = 1; i < VisibleRows() && !shown && layout_->NextRow(row, row); ++i) shown = row == caretRow;
        if (!shown) {
            top_ = caretRow;
            for (int i = 1; i < VisibleRows() && layout_->PrevRow(top_, top_); ++i) {
            }
        }
    }
    ClampTop();
    if (!wrap_) {
        int x = XInRow(*layout_, caretRow, caret_);
        if (x < scrollX_) scrollX_ = std::max(0, x - TextWidth() / 3);
        else if (x > scrollX_ + TextWidth() - 1) scrollX_ = x - TextWidth() * 2 / 3;
    }
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
}

void TTextView::UpdateScrollBars() {
    if (!Handle()) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
    if (!(style & (WS_VSCROLL | WS_HSCROLL))) return;
    const bool measureWidth = !wrap_ && (style & WS_HSCROLL);
    // One walk down the screen's rows serves both bars: where the screen ends, and (unwrapped) how wide the
    // lines on it are; the horizontal bar reaches the widest line seen so far.
    const TPos end = layout_->End();
    TPos bottom = top_;
    bool reachedEnd = false;
    for (int i = 0; i < VisibleRows(); ++i) {
        if (measureWidth) {
            const TLineText &t = layout_->Text(layout_->LineStartOf(bottom));
            if (!t.extents.empty()) widest_ = std::max(widest_, t.extents.back());
        }
        TPos next;
        if (!layout_->NextRow(bottom, next)) {
            bottom = end;
            reachedEnd = true;
            break;
        }
        bottom = next;
    }
    if (style & WS_VSCROLL) {
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, kScrollRange - 1, 0, 0, 0};
        if (top_ == 0 && reachedEnd) {
            si.nPage = kScrollRange;
        } else if (end > 0) {
            si.nPos = static_cast<int>(static_cast<double>(top_) * kScrollRange / end);
            si.nPage = std::max<UINT>(1, static_cast<UINT>(static_cast<double>(bottom - top_) * kScrollRange / end));
            if (reachedEnd) si.nPos = kScrollRange - static_cast<int>(si.nPage);
        }
        if (si.nPos != shownV_.nPos || si.nPage != shownV_.nPage) SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
        shownV_ = si;
    }
    if (style & WS_HSCROLL) {
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
        if (!wrap_) {
            si.nMax = std::max(widest_ + 2 * kMargin, scrollX_ + TextWidth());
            si.nPage = static_cast<UINT>(TextWidth() + 1);
            si.nPos = scrollX_;
        }
        // Nothing to scroll across, wrapped or not, is one and the same disabled bar: W on lines that fit
        // costs no drawing of the bar.
        if (wrap_ || si.nMax - si.nMin + 1 <= static_cast<int>(si.nPage)) {
            si.nMax = 1;
            si.nPage = 2;
            si.nPos = 0;
        }
        if (si.nPos != shownH_.nPos || si.nPage != shownH_.nPage || si.nMax != shownH_.nMax)
            SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
        shownH_ = si;
    }
}

void TTextView::VScroll(WORD code) {
    FollowGrowth();
    switch (code) {
    case SB_LINEUP:
        ScrollRows(-1);
        break;
    case SB_LINEDOWN:
        ScrollRows(1);
        break;
    case SB_PAGEUP:
        ScrollRows(-std::max(1, VisibleRows() - 1));
        break;
    case SB_PAGEDOWN:
        ScrollRows(std::max(1, VisibleRows() - 1));
        break;
    case SB_TOP:
        ScrollTo(0);
        break;
    case SB_BOTTOM:
        ScrollTo(layout_->End());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(Handle(), SB_VERT, &si);
        double share = static_cast<double>(si.nTrackPos) / std::max(1, kScrollRange - static_cast<int>(si.nPage));
        trackingThumb_ = code == SB_THUMBTRACK;
        ScrollTo(static_cast<TPos>(std::min(1.0, share) * static_cast<double>(layout_->End())));
        trackingThumb_ = false;
        break;
    }
    default:
        break;
    }
}

void TTextView::HScroll(WORD code) {
    if (wrap_) return;
    int page = std::max(1, TextWidth() - charWidth_);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(Handle(), SB_HORZ, &si);
    int x = scrollX_;
    switch (code) {
    case SB_LINELEFT:
        x -= charWidth_;
        break;
    case SB_LINERIGHT:
        x += charWidth_;
        break;
    case SB_PAGELEFT:
        x -= page;
        break;
    case SB_PAGERIGHT:
        x += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        x = si.nTrackPos;
        break;
    default:
        return;
    }
    scrollX_ = std::clamp(x, 0, std::max(0, si.nMax - static_cast<int>(si.nPage) + 1));
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
}

// Positions

TPos TTextView::HitTest(int x, int y) {
    TPos row = top_;
    for (int i = 0; i < y / lineHeight_ && layout_->NextRow(row, row); ++i) {
    }
    if (y < 0) layout_->PrevRow(row, row);
    return AtXInRow(*layout_, row, x - kMargin + scrollX_);
}

void TTextView::MoveCaret(TPos to, bool extend) {
    caret_ = layout_->Snap(to);
    if (!extend) anchor_ = caret_;
    EnsureCaretVisible();
}

bool TTextView::KeyMove(WORD key, bool shift, bool ctrl) {
    if (key == VK_DOWN || key == VK_NEXT || key == VK_END) FollowGrowth();
    TPos caretRow = layout_->RowStartOf(caret_);
    auto rowsFrom = [&](int count) {
        if (goalX_ < 0) goalX_ = XInRow(*layout_, caretRow, caret_);
        TPos row = caretRow;
        for (; count > 0 && layout_->NextRow(row, row); --count) {
        }
        for (; count < 0 && layout_->PrevRow(row, row); ++count) {
        }
        int goal = goalX_;
        MoveCaret(AtXInRow(*layout_, row, goal), shift);
        goalX_ = goal;
    };
    int page = std::max(1, VisibleRows() - 1);
    switch (key) {
    case VK_LEFT:
        goalX_ = -1;
        if (!shift && anchor_ != caret_ && !ctrl) MoveCaret(SelStart(), false);
        else MoveCaret(ctrl ? WordStart(*layout_, caret_, false) : CharBefore(*layout_, caret_), shift);
        return true;
    case VK_RIGHT:
        goalX_ = -1;
        if (!shift && anchor_ != caret_ && !ctrl) MoveCaret(SelEnd(), false);
        else MoveCaret(ctrl ? WordStart(*layout_, caret_, true) : CharAfter(*layout_, caret_), shift);
        return true;
    case VK_UP:
        if (ctrl) ScrollRows(-1);
        else rowsFrom(-1);
        return true;
    case VK_DOWN:
        if (ctrl) ScrollRows(1);
        else rowsFrom(1);
        return true;
    case VK_PRIOR:
    case VK_NEXT: {
        int rows = key == VK_NEXT ? page : -page;
        for (int i = rows; i > 0 && layout_->NextRow(top_, top_); --i) {
        }
        for (int i = rows; i < 0 && layout_->PrevRow(top_, top_); ++i) {
        }
        ClampTop();
        rowsFrom(rows);
        return true;
    }
    case VK_HOME:
        goalX_ = -1;
        MoveCaret(ctrl ? 0 : caretRow, shift);
        return true;
    case VK_END:
        goalX_ = -1;
        if (ctrl) {
            // The end lies behind a scan of the whole file; a key or click meanwhile leaves the caret where it was.
            if (!source_->ScanToEnd([this] { return ScanInterrupted(); })) return true;
            MoveCaret(layout_->End(), shift);
        } else {
            MoveCaret(AtXInRow(*layout_, caretRow, INT_MAX / 2), shift);
        }
        return true;
    default:
        return false;
    }
}

} // namespace viewer
