#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/Window.h"
#include "viewer/CharWidths.h"
#include "viewer/TextLayout.h"
#include "viewer/TextSource.h"

namespace viewer {

// A read-only text control that reads only what it shows: the viewer's text and the quick-view panes. A
// file of any size opens at once; keys and mouse work as in the system's edit control (arrows, PgUp/PgDn,
// Home/End, Ctrl with them, Shift to select, drag and double-click, the wheel). The selection stays
// visible without the focus. The vertical scroll bar follows the byte offset of the top row.
class TTextView : public ui::TWindow {
public:
    TTextView() = default;
    ~TTextView() override;
    // style: WS_VISIBLE, WS_TABSTOP, WS_VSCROLL, WS_HSCROLL as the place needs.
    void Create(HWND parent, int id, DWORD style);

    // Shows a file; raises EViewLoadError ("Cannot open file <path>") and keeps the shown text on failure.
    // A file whose first block asks for a Unicode reading is shown in it, any other in the 8-bit code page
    // chosen last. While it is shown the view looks at the file about twice a second: lines added show
    // when the text's end is on the screen, and a file cut short, deleted or replaced is said so in a
    // line at the bottom.
    void OpenFile(const std::wstring &path);
    // Shows a text of its own (a folder's path, a message).
    void ShowText(const std::wstring &text);
    void Clear() { ShowText({}); }

    bool WordWrap() const { return wrap_; }
    // The top row keeps its first character, and the selection its bytes.
    void SetWordWrap(bool wrap);
    // CP_ACP or CP_OEMCP (the 8-bit choice, kept for the next file), or a Unicode reading (CP_UTF8,
    // kUtf16Le, kUtf16Be): the same bytes through another code page.
    void SetCodePage(UINT codePage);
    UINT CodePage() const { return codePage_; }
    // The Unicode reading the shown file's first block asks for, 0 for none.
    UINT DetectedCodePage() const { return source_->Detected(); }
    // What happened to the shown file since it was opened, in words (the bottom line); empty for nothing.
    const std::wstring &Notice() const { return notice_; }
    // Looks at the shown file now, as the view does about twice a second.
    void WatchFile();
    // Lets go of the shown file (the viewer closed, the pane hidden); the text stays, read again by the
    // file's name if asked for, as long as the name stands for the same file.
    void ReleaseFile();
    static constexpr UINT kWatchMs = 500;
    // A font and a code page at once, laid out once.
    void SetCharacterSet(HFONT font, UINT codePage);

    void SelectAll();
    // Puts the selection on the clipboard as text; a selection too large for it raises EViewLoadError and
    // copies nothing.
    void CopySelection();
    // Selection as byte offsets of the text: anchor, and the caret that moves.
    void SetSelection(TPos anchor, TPos caret);
    TPos SelStart() const { return std::min(anchor_, caret_); }
    TPos SelEnd() const { return std::max(anchor_, caret_); }
    TPos Caret() const { return caret_; }
    // The first byte of the top row; scrolling places a row there.
    TPos Top() const { return top_; }
    void ScrollTo(TPos pos);

    // The whole text, line breaks as CR LF (for short texts: it reads the whole file).
    std::wstring Text();
    std::wstring SelectedText();
    // The rows on the screen as drawn, top to bottom.
    std::vector<std::wstring> ScreenRows();
    // How many times a text was shown (files opened and texts set).
    int Fills() const { return fills_; }

    // The most text one copy takes.
    static constexpr TPos kMaxCopy = 32u << 20;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The blank left of the text, and right of it when wrapped.
    static constexpr int kMargin = 2;

    void Reset();
    void ApplyFont(HFONT font);
    void UseWidthTableOf(HFONT font);
    void InstallMeasure(TTextLayout &layout);
    void Relayout();
    int VisibleRows() const;
    int TextWidth() const;
    void Paint(HDC dc, const RECT &area);
    void PaintRow(HDC dc, int y, TPos rowStart);
    void UpdateScrollBars();
    void UpdateCaret();
    void ScrollRows(int rows);
    void ClampTop();
    void EnsureCaretVisible();
    void MoveCaret(TPos to, bool extend);
    bool KeyMove(WORD key, bool shift, bool ctrl);
    // The text position under a point of the client area.
    TPos HitTest(int x, int y);
    void VScroll(WORD code);
    void HScroll(WORD code);
    bool ScanInterrupted();
    // The file's size now: reaching the end shows what the file holds now.
    void FollowGrowth();
    bool EndOnScreen();
    void SyncNotice();
    int TextHeight() const;

    std::unique_ptr<TTextSource> source_ = std::make_unique<TTextSource>();
    std::unique_ptr<TTextLayout> layout_ = std::make_unique<TTextLayout>(*source_);
    HFONT font_ = nullptr;
    HDC measureDc_ = nullptr;
    struct TWidthTable {
        LOGFONTW font;
        std::unique_ptr<TCharWidths> widths;
    };
    static constexpr size_t kWidthTables = 4;
    std::vector<TWidthTable> widthTables_;
    TCharWidths *widths_ = nullptr; // the table of the font selected into measureDc_
    int lineHeight_ = 13;
    int charWidth_ = 6;
    bool wrap_ = false;
    UINT codePage_ = CP_ACP;
    UINT eightBitCodePage_ = CP_ACP;
    std::wstring notice_;
    TPos top_ = 0, anchor_ = 0, caret_ = 0;
    int goalX_ = -1; // the x Up and Down keep, -1 when the caret moved otherwise
    int scrollX_ = 0;
    int widest_ = 0; // the widest line drawn so far, for the horizontal scroll bar
    int wheelRest_ = 0;
    bool dragging_ = false;
    bool hasCaret_ = false;
    bool trackingThumb_ = false;
    int fills_ = 0;
    // What the scroll bars show, so an unchanged bar costs no call.
    SCROLLINFO shownV_{sizeof(SCROLLINFO), 0, 0, 0, 0, -1, 0};
    SCROLLINFO shownH_{sizeof(SCROLLINFO), 0, 0, 0, 0, -1, 0};
};

} // namespace viewer
