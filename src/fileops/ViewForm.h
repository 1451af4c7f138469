#pragma once
#include <functional>
#include <string>

#include "fileops/TextMemo.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Shortcuts.h"

namespace fileops {

// The character set the viewer shows the file's bytes in.
enum class TViewCharSet { vcAnsi, vcOem };

// The viewer window: one file as read-only text, with its Russian menu. Created once and reused; the
// check marks of its menu (character set, word wrap) keep their state from one viewing to the next.
class TViewForm : public ui::TForm {
public:
    TViewForm();
    void Create();

    TTextMemo ViewMemo;

    // Sets the caption "View file : " and the path, loads the file and shows the viewer modally. A file that
    // cannot be loaded raises EViewLoadError ("Cannot open file <path>", "Text exceeds memo capacity") and
    // the viewer is not shown.
    void ViewFile(const std::wstring &path);
    // Loads a file into ViewMemo; on failure raises EViewLoadError and the memo keeps its text.
    void LoadFile(const std::wstring &path);

    void FormShow();
    void ViewOpenClick();
    void ViewCloseClick();
    void ViewSelectAllClick();
    void ViewCopyClick();
    void ViewAnsiClick() { SetCharSet(TViewCharSet::vcAnsi); }
    void ViewAsciiClick() { SetCharSet(TViewCharSet::vcOem); }
    void ViewWrapClick();

    TViewCharSet CharSet() const { return charSet_; }
    bool Checked(int itemId) const;
    bool Enabled(int itemId) const;

    // ODView: asks for a file to open; false when the user cancelled. Replaceable for tests.
    std::function<bool(HWND owner, std::wstring &path)> ODView;

private:
    void Layout();
    void SetCharSet(TViewCharSet set);
    void SetChecked(int itemId, bool checked);
    // The memo shows the loaded bytes in the chosen character set again; false when it refused them.
    bool ShowBytes();
    void MemoKeyDown(WORD &key, ui::TShiftState shift);
    void RunCommand(int id);

    HMENU menu_ = nullptr;
    ui::TShortcutTable shortcuts_;
    ui::FontHandle ansiFont_;
    ui::FontHandle oemFont_;
    TViewCharSet charSet_ = TViewCharSet::vcAnsi;
    // The loaded file, line breaks made uniform, up to its first zero byte.
    std::string bytes_;
};

// The file dialog of the viewer's "Открыть" with its three filters.
bool PickViewFile(HWND owner, std::wstring &path);

} // namespace fileops
