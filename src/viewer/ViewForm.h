#pragma once
#include <functional>
#include <string>

#include "viewer/TextView.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Shortcuts.h"

namespace viewer {

// The reading the viewer shows the file's bytes in: the Windows or the DOS character set, or Unicode (UTF-8
// or UTF-16, as the file's start tells, else UTF-8).
enum class TViewCharSet { vcAnsi, vcOem, vcUnicode };

// The viewer window: one file as read-only text, with its Russian menu. Created once and reused; the
// check marks of its menu (character set, word wrap) keep their state from one viewing to the next.
class TViewForm : public ui::TForm {
public:
    TViewForm();
    void Create();

    TTextView ViewMemo;

    // Sets the caption "View file : " and the path, opens the file and shows the viewer modally. A file that
    // cannot be opened raises EViewLoadError ("Cannot open file <path>") and the viewer is not shown.
    void ViewFile(const std::wstring &path);
    // Shows a file in ViewMemo; on failure raises EViewLoadError and the memo keeps its text.
    void LoadFile(const std::wstring &path);

    void FormShow();
    void ViewOpenClick();
    void ViewCloseClick();
    void ViewSelectAllClick();
    void ViewCopyClick();
    void ViewAnsiClick() { SetCharSet(TViewCharSet::vcAnsi); }
    void ViewAsciiClick() { SetCharSet(TViewCharSet::vcOem); }
    void ViewUnicodeClick() { SetCharSet(TViewCharSet::vcUnicode); }
    void ViewWrapClick();

    TViewCharSet CharSet() const { return charSet_; }
    bool Checked(int itemId) const;
    bool Enabled(int itemId) const;

    // ODView: asks for a file to open; false when the user cancelled. Replaceable for tests.
    std::function<bool(HWND owner, std::wstring &path)> ODView;

private:
    void Layout();
    void SetCharSet(TViewCharSet set);
    // The check marks and the font of the reading the memo has taken for a file just opened.
    void ShowReading();
    void SetChecked(int itemId, bool checked);
    void MemoKeyDown(WORD &key, ui::TShiftState shift);
    void RunCommand(int id);

    HMENU menu_ = nullptr;
    ui::TShortcutTable shortcuts_;
    ui::FontHandle ansiFont_;
    ui::FontHandle oemFont_;
    ui::FontHandle unicodeFont_;
    TViewCharSet charSet_ = TViewCharSet::vcAnsi;
    TViewCharSet eightBit_ = TViewCharSet::vcAnsi; // the 8-bit choice, for files that are not Unicode
};

// The file dialog of the viewer's "Открыть" with its three filters.
bool PickViewFile(HWND owner, std::wstring &path);

} // namespace viewer
