#include "app/Side.h"

#include <cwctype>

#include "fileops/RowPath.h"
#include "ui/Application.h"
#include "ui/MessageBox.h"
#include "ui/ScreenScale.h"
#include "ui/Text.h"

namespace app {

std::wstring ParentDirectory(const std::wstring &dir) {
    std::wstring d = dir;
    size_t cut = d.rfind(L'\\');
    if (cut != std::wstring::npos) d.erase(cut);
    cut = d.rfind(L'\\');
    if (cut != std::wstring::npos) d.erase(cut);
    return d;
}

void TSide::Create(ISideHost &host, TSide &other, HWND parent, int idBase) {
    host_ = &host;
    other_ = &other;
    Panel.Create(parent, true);
    // Laid out before they are made, the panel's windows are made in their places.
    Layout();
    DrivePanel.Create(Panel.Handle());
    DrivePanel.SetBevelInner(ui::TBevel::bvLowered);
    DriveCombo.CreateOnFirstUse(DrivePanel.Handle(), idBase + 1);
    TitlePanel.Create(Panel.Handle());
    TitlePanel.SetBevelInner(ui::TBevel::bvLowered);
    TitlePanel.SetAlignment(ui::TAlignment::taLeftJustify);
    TitlePanel.SetEllipsis(ui::TEllipsis::elStart); // a long path keeps the folder's own name in view
    TitlePanel.SetFontColor(RGB(255, 255, 255));
    TitlePanel.SetColor(kInactiveTitleColor);
    FileView.Create(Panel.Handle(), idBase + 2);
    QMemo.Create(Panel.Handle(), idBase + 3);
    QMemo.SetVisible(false);
    Panel.OnResize = [this] { Layout(); };
}

void TSide::Layout() {
    int w = Panel.ClientWidth(), h = Panel.ClientHeight();
    const int line = ui::Scaled(19), top = 2 * line;
    DrivePanel.SetBounds(0, 0, w, line);
    DriveCombo.SetBounds(0, 0, ui::Scaled(217), ui::Scaled(200));
    TitlePanel.SetBounds(0, line, w, line);
    FileView.SetBounds(0, top, w, h - top);
    QMemo.SetBounds(0, top, w, h - top);
}

void TSide::ColourActive() {
    other_->TitlePanel.SetColor(kInactiveTitleColor);
    TitlePanel.SetColor(kActiveTitleColor);
}

void TSide::ShowDirectory(bool prompt) {
    TitlePanel.SetCaption(Directory());
    if (prompt) host_->SetPrompt(Directory());
}

void TSide::FocusAndPlaceCursor() {
    FileView.SetFocus();
    FileView.PlaceCursor();
}

void TSide::Activate() {
    ColourActive();
    ShowDirectory(true);
    FocusAndPlaceCursor();
}

// A side always shows one folder, and a ";" in its path is part of a name: only a caller that writes a
// list of folders to the file list itself gets the list form.
void TSide::SetDirectory(const std::wstring &dir) { FileView.SetOneDirectory(dir); }

void TSide::OpenCursorRow() {
    int row = FileView.Selected();
    if (row < 0) return;
    if (!FileView.IsFolder(row)) {
        // The shell takes no "\\?\" path: a name it would misread goes by its short form, or not at all.
        std::wstring path =
            fileops::ExactRowPathOrSay(host_->OwnerWindow(), FileView, row, fileops::TPathUse::shell);
        if (!path.empty()) host_->ShellOpen(path);
        return;
    }
    if (FileView.IsParent(row)) SetDirectory(ParentDirectory(Directory()));
    else SetDirectory(FileView.PathOf(row));
    ShowDirectory(true);
    FocusAndPlaceCursor();
    // Entered, but nothing could be read: said once, here; the re-lists after it show ".." silently.
    if (DWORD failure = FileView.ReadFailure()) {
        std::wstring text = L"\"" + Directory() + L"\" cannot be read: " + ui::SystemErrorText(failure);
        ui::ShowMessage(host_->OwnerWindow(), text, ui::Application().Title(), MB_OK | MB_ICONWARNING);
    }
}

void TSide::ShowFileView() {
    if (!QMemo.Visible()) return;
    QMemo.SetVisible(false);
    FileView.SetVisible(true);
}

void TSide::DriveComboChange() {
    if (DriveCombo.DroppedDown()) return;
    ShowFileView();
    ColourActive();
    SetDirectory(std::wstring{DriveCombo.Drive(), L':', L'\\'});
    ShowDirectory(true);
    FocusAndPlaceCursor();
}

void TSide::DriveComboKeyDown(WORD &key, ui::TShiftState) {
    ShowFileView();
    // The Enter step below lists the chosen root, once: the box raises no change event of its own here.
    if (key >= 'A' && key <= 'Z') {
        DriveCombo.AcceptDrive(static_cast<wchar_t>(key));
        key = VK_RETURN;
    } else if (key == VK_RETURN) {
        DriveCombo.AcceptDrive();
    }
    if (key == VK_RETURN) {
        SetDirectory(std::wstring{DriveCombo.Drive(), L':', L'\\'});
        ShowDirectory(true);
        FocusAndPlaceCursor();
    }
}

void TSide::FileViewKeyUp(WORD &key, ui::TShiftState shift) {
    if (key != VK_TAB || (shift & ui::kModifierMask) != 0) return;
    TSide &other = *other_;
    if (other.QuickViewShown()) {
        other.ColourActive();
        other.ShowDirectory(true);
        other.QMemo.SetFocus();
    } else {
        other.Activate();
    }
}

} // namespace app
