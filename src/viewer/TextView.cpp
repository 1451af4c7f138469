#include "viewer/TextView.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "ui/Text.h"
#include "viewer/TextLoader.h"
#include "viewer/TextNavigation.h"

namespace viewer {

namespace {

constexpr int kWheelRows = 3;
constexpr UINT_PTR kWatchTimer = 0x5754;

} // namespace

TTextView::~TTextView() {
    if (measureDc_) DeleteDC(measureDc_);
}

void TTextView::Create(HWND parent, int id, DWORD style) {
    CreateOwn(parent, WS_CHILD | WS_CLIPSIBLINGS | style, WS_EX_CLIENTEDGE, L"",
              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    measureDc_ = CreateCompatibleDC(nullptr);
    layout_->SetCodePage(codePage_);
    ApplyFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    UpdateScrollBars();
}

void TTextView::ApplyFont(HFONT font) {
    if (font == font_ && layout_) return;
    font_ = font;
    if (!measureDc_) return;
    // No font means the system's, as for the system's own controls.
    SelectObject(measureDc_, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(measureDc_, &tm);
    lineHeight_ = std::max<int>(1, tm.tmHeight);
    charWidth_ = std::max<int>(1, tm.tmAveCharWidth);
    UseWidthTableOf(static_cast<HFONT>(GetCurrentObject(measureDc_, OBJ_FONT)));
    InstallMeasure(*layout_);
    widest_ = 0;
    Relayout();
}

// The ANSI and DOS fonts take turns: each keeps its table, looked up by what the font is, not by its handle.
void TTextView::UseWidthTableOf(HFONT font) {
    LOGFONTW what{};
    GetObjectW(font, sizeof what, &what);
    for (TWidthTable &table : widthTables_) {
        if (std::memcmp(&table.font, &what, sizeof what) != 0) continue;
        widths_ = table.widths.get();
        return;
    }
    if (widthTables_.size() >= kWidthTables) widthTables_.erase(widthTables_.begin());
    widthTables_.push_back({what, std::make_unique<TCharWidths>(measureDc_)});
    widths_ = widthTables_.back().widths.get();
}

void TTextView::InstallMeasure(TTextLayout &layout) {
    layout.SetMeasure([this](const wchar_t *text, int count, std::vector<int> &extents) {
        if (widths_ && widths_->Extents(text, count, extents)) return;
        extents.assign(static_cast<size_t>(count), 0);
        SIZE size{};
        if (!GetTextExtentExPointW(measureDc_, text, count, 0, nullptr, extents.data(), &size)) {
            for (int i = 0; i < count; ++i) extents[i] = (i + 1) * charWidth_;
        }
    });
}

void TTextView::Reset() {
    top_ = anchor_ = caret_ = layout_->Origin();
    goalX_ = -1;
    scrollX_ = 0;
    widest_ = 0;
    notice_.clear();
    ++fills_;
    Relayout();
}

void TTextView::OpenFile(const std::wstring &path) {
    auto source = std::make_unique<TTextSource>();
    source->OpenFile(path);
    auto layout = std::make_unique<TTextLayout>(*source);
    codePage_ = source->Detected() ? source->Detected() : eightBitCodePage_;
    layout->SetCodePage(codePage_);
    InstallMeasure(*layout);
    layout_ = std::move(layout);
    source_ = std::move(source);
    Reset();
    if (Handle()) SetTimer(Handle(), kWatchTimer, kWatchMs, nullptr);
}

void TTextView::ShowText(const std::wstring &text) {
    if (Handle()) KillTimer(Handle(), kWatchTimer);
    if (source_->IsFile()) {
        // The file is let go of at once: nothing of it stays open once the view shows something else.
        auto source = std::make_unique<TTextSource>();
        auto layout = std::make_unique<TTextLayout>(*source);
        layout->SetCodePage(codePage_);
        InstallMeasure(*layout);
        layout_ = std::move(layout);
        source_ = std::move(source);
    }
    source_->SetText(ui::Narrow(text));
    layout_->Forget();
    Reset();
}

void TTextView::ReleaseFile() {
    if (Handle()) KillTimer(Handle(), kWatchTimer);
    source_->Release();
}

void TTextView::FollowGrowth() {
    if (source_->Refresh(false) != TFileChange::fcNone) SyncNotice();
}

bool TTextView::EndOnScreen() {
    TPos row = top_;
    for (int i = 1; i < VisibleRows(); ++i)
        if (!layout_->NextRow(row, row)) return true;
    TPos next;
    return !layout_->NextRow(row, next);
}

void TTextView::SyncNotice() {
    std::wstring notice = source_->Notice();
    if (notice == notice_) return;
    notice_ = std::move(notice);
    Relayout();
}

void TTextView::WatchFile() {
    if (!source_->IsFile()) return;
    const bool endShown = EndOnScreen();
    const TFileChange change = source_->Refresh(true);
    if (change == TFileChange::fcNone) return;
    SyncNotice();
    // As tail -f does: while the end was on the screen, the screen moves on to the new end; the caret and
    // the selection stay where the user put them.
    if (change == TFileChange::fcGrew && endShown) top_ = layout_->End();
    const TPos end = layout_->End();
    anchor_ = std::min(anchor_, end);
    caret_ = std::min(caret_, end);
    top_ = layout_->RowStartOf(std::min(top_, end));
    ClampTop();
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
}

void TTextView::Relayout() {
    if (!Handle()) return;
    layout_->SetWrapWidth(wrap_ ? std::max(1, TextWidth()) : 0);
    if (wrap_) scrollX_ = 0;
    top_ = layout_->RowStartOf(top_);
    ClampTop();
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
}

int TTextView::TextWidth() const { return std::max(1, ClientWidth() - 2 * kMargin); }

// The bottom line says what happened to the file, when something did.
int TTextView::TextHeight() const { return std::max(0, ClientHeight() - (notice_.empty() ? 0 : lineHeight_)); }

int TTextView::VisibleRows() const { return std::max(1, TextHeight() / lineHeight_); }

void TTextView::SetWordWrap(bool wrap) {
    if (wrap == wrap_) return;
    wrap_ = wrap;
    Relayout();
}

void TTextView::SetCodePage(UINT codePage) {
    if (!IsUnicode(codePage)) eightBitCodePage_ = codePage;
    if (codePage == codePage_) return;
    codePage_ = codePage;
    layout_->SetCodePage(codePage);
    anchor_ = layout_->Snap(anchor_);
    caret_ = layout_->Snap(caret_);
    widest_ = 0;
    Relayout();
}

void TTextView::SetCharacterSet(HFONT font, UINT codePage) {
    if (!IsUnicode(codePage)) eightBitCodePage_ = codePage;
    const bool changed = codePage != codePage_;
    codePage_ = codePage;
    layout_->SetCodePage(codePage);
    anchor_ = layout_->Snap(anchor_);
    caret_ = layout_->Snap(caret_);
    // The font's change lays the text out, for both.
    if (font != font_) {
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return;
    }
    if (!changed) return;
    widest_ = 0;
    Relayout();
}

void TTextView::SetSelection(TPos anchor, TPos caret) {
    anchor_ = layout_->Snap(anchor);
    caret_ = layout_->Snap(caret);
    goalX_ = -1;
    EnsureCaretVisible();
}

void TTextView::SelectAll() {
    // The end is found by a scan the user can interrupt; interrupted, the selection reaches as far as it got.
    FollowGrowth();
    bool whole = source_->ScanToEnd([this] { return ScanInterrupted(); });
    anchor_ = layout_->Origin();
    caret_ = whole ? layout_->End() : layout_->Snap(source_->ScannedTo());
    UpdateCaret();
    Invalidate();
}

std::wstring TTextView::Text() {
    source_->ScanToEnd();
    return DecodeRange(*layout_, layout_->Origin(), layout_->End());
}

std::wstring TTextView::SelectedText() { return DecodeRange(*layout_, SelStart(), SelEnd()); }

void TTextView::CopySelection() {
    TPos from = SelStart(), to = SelEnd();
    if (from == to) return;
    if (to - from > kMaxCopy)
        throw EViewLoadError("The selection is too large to copy: at most " + std::to_string(kMaxCopy >> 20) +
                             " MB of text can be copied at once");
    std::wstring text;
    HGLOBAL data = nullptr;
    try {
        text = SelectedText();
    } catch (const std::bad_alloc &) {
        throw EViewLoadError("Not enough memory to copy the selection");
    }
    data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!data) throw EViewLoadError("Not enough memory to copy the selection");
    if (auto *to16 = static_cast<wchar_t *>(GlobalLock(data))) {
        std::copy(text.c_str(), text.c_str() + text.size() + 1, to16);
        GlobalUnlock(data);
    }
    if (!OpenClipboard(Handle())) {
        GlobalFree(data);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);
    CloseClipboard();
}

std::vector<std::wstring> TTextView::ScreenRows() {
    std::vector<std::wstring> rows;
    TPos row = top_;
    for (int i = 0; i < VisibleRows(); ++i) {
        const TLineText &t = layout_->Text(layout_->LineStartOf(row));
        size_t r = t.RowOf(t.IndexOf(row));
        rows.push_back(t.text.substr(t.rows[r], t.RowEnd(r) - t.rows[r]));
        if (!layout_->NextRow(row, row)) break;
    }
    return rows;
}

// Drawing

void TTextView::UpdateCaret() {
    if (!hasCaret_) return;
    TPos caretRow = layout_->RowStartOf(caret_);
    TPos row = top_;
    int i = 0;
    while (row != caretRow && i < VisibleRows() && layout_->NextRow(row, row)) ++i;
    if (row != caretRow || i >= VisibleRows()) {
        SetCaretPos(-100, -100);
        return;
    }
    SetCaretPos(kMargin - scrollX_ + XInRow(*layout_, caretRow, caret_), i * lineHeight_);
}

void TTextView::PaintRow(HDC dc, int y, TPos rowStart) {
    const TLineText &t = layout_->Text(layout_->LineStartOf(rowStart));
    size_t r = t.RowOf(t.IndexOf(rowStart));
    int a = t.rows[r], b = t.RowEnd(r);
    const int base = a > 0 ? t.extents[a - 1] : 0;
    const int left = kMargin - scrollX_;
    auto xOf = [&](int i) { return left + (i > 0 ? t.extents[i - 1] : 0) - base; };
    // Only the characters within the window are handed to the system.
    const int width = ClientWidth();
    while (a < b && xOf(a + 1) < 0) ++a;
    int last = a;
    while (last < b && xOf(last) < width) ++last;
    TPos selA = SelStart(), selB = SelEnd();
    if (selA == selB || selB <= t.bytes[a] || selA >= t.bytes[last]) {
        // Nothing selected on this row: one call draws it and clears the rest of the row.
        RECT box{0, y, width, y + lineHeight_};
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        ExtTextOutW(dc, xOf(a), y, ETO_OPAQUE | ETO_CLIPPED, &box, t.text.data() + a, static_cast<UINT>(last - a),
                    nullptr);
        return;
    }
    int x = 0;
    auto segment = [&](int from, int to, bool selected) {
        if (from >= to) return;
        int right = xOf(to);
        RECT box{x, y, right, y + lineHeight_};
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        ExtTextOutW(dc, xOf(from), y, ETO_OPAQUE | ETO_CLIPPED, &box, t.text.data() + from,
                    static_cast<UINT>(to - from), nullptr);
        x = right;
    };
    int i = a;
    while (i < last) {
        bool selected = t.bytes[i] >= selA && t.bytes[i] < selB;
        int j = i;
        while (j < last && (t.bytes[j] >= selA && t.bytes[j] < selB) == selected) ++j;
        segment(i, j, selected);
        i = j;
    }
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    RECT rest{x, y, width, y + lineHeight_};
    if (rest.left < rest.right) ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rest, nullptr, 0, nullptr);
}

void TTextView::Paint(HDC dc, const RECT &area) {
    // A file that shrank under the view: nothing may stand past its new end.
    const TPos end = layout_->End();
    if (top_ > end) top_ = layout_->RowStartOf(end);
    anchor_ = std::min(anchor_, end);
    caret_ = std::min(caret_, end);
    HGDIOBJ oldFont = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
    const int height = TextHeight();
    int y = 0;
    TPos row = top_;
    bool more = true;
    while (more && y < height) {
        if (y + lineHeight_ > area.top && y < area.bottom) PaintRow(dc, y, row);
        y += lineHeight_;
        more = layout_->NextRow(row, row);
    }
    if (y < height) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        RECT rest{0, y, ClientWidth(), height};
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rest, nullptr, 0, nullptr);
    }
    if (!notice_.empty()) {
        RECT line{0, height, ClientWidth(), ClientHeight()};
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        SetBkColor(dc, GetSysColor(COLOR_INFOBK));
        ExtTextOutW(dc, kMargin, height, ETO_OPAQUE | ETO_CLIPPED, &line, notice_.data(),
                    static_cast<UINT>(notice_.size()), nullptr);
    }
    SelectObject(dc, oldFont);
}

LRESULT TTextView::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Paint(dc, ps.rcPaint);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SHOWWINDOW:
        // A pane put away lets go of its file; it is looked at again when shown.
        if (!wParam) ReleaseFile();
        else if (source_->IsFile()) SetTimer(Handle(), kWatchTimer, kWatchMs, nullptr);
        break;
    case WM_TIMER:
        if (wParam != kWatchTimer) break;
        // Only a view in sight looks at its file.
        if (IsWindowVisible(Handle())) WatchFile();
        return 0;
    case WM_SIZE:
        Relayout();
        return 0;
    case WM_SETFONT:
        ApplyFont(reinterpret_cast<HFONT>(wParam));
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        CreateCaret(Handle(), nullptr, 1, lineHeight_);
        hasCaret_ = true;
        UpdateCaret();
        ShowCaret(Handle());
        return 0;
    case WM_KILLFOCUS:
        hasCaret_ = false;
        DestroyCaret();
        return 0;
    case WM_KEYDOWN: {
        bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
        WORD key = static_cast<WORD>(wParam);
        if (KeyMove(key, shift, ctrl)) return 0;
        if (ctrl && (key == 'C' || key == VK_INSERT)) CopySelection();
        if (ctrl && key == 'A') SelectAll();
        return 0;
    }
    case WM_COPY:
        CopySelection();
        return 0;
    case WM_VSCROLL:
        VScroll(LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        HScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
        int notches = wheelRest_ / WHEEL_DELTA;
        wheelRest_ -= notches * WHEEL_DELTA;
        if (notches) ScrollRows(-notches * kWheelRows);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        if (GetFocus() != Handle()) ::SetFocus(Handle());
        TPos at = HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        goalX_ = -1;
        caret_ = at;
        if (!(wParam & MK_SHIFT)) anchor_ = at;
        dragging_ = true;
        SetCapture(Handle());
        UpdateCaret();
        Invalidate();
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            int y = GET_Y_LPARAM(lParam);
            if (y < 0) ScrollRows(-1);
            else if (y >= ClientHeight()) ScrollRows(1);
            caret_ = HitTest(GET_X_LPARAM(lParam), std::clamp(y, 0, std::max(0, ClientHeight() - 1)));
            UpdateCaret();
            Invalidate();
        }
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) ReleaseCapture();
        dragging_ = false;
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
    case WM_LBUTTONDBLCLK:
        std::tie(anchor_, caret_) = WordAround(*layout_, HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        UpdateCaret();
        Invalidate();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return TWindow::OnMessage(msg, wParam, lParam);
}

} // namespace viewer
