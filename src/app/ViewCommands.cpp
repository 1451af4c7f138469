#include "app/ViewCommands.h"

#include <shellapi.h>

#include <algorithm>

#include "app/MainForm.h"
#include "fileops/OperationForm.h"
#include "fileops/PathRules.h"
#include "ui/Application.h"
#include "ui/MessageBox.h"
#include "viewer/ViewForm.h"

namespace app {

std::wstring EditorParameter(const std::wstring &path) {
    if (path.find(L' ') == std::wstring::npos || (path.size() >= 2 && path.front() == L'"' && path.back() == L'"'))
        return path;
    return L"\"" + path + L"\"";
}

std::wstring EditTarget(const std::wstring &directory, const std::wstring &typed) {
    if (typed.size() >= 2 && typed[1] == L':') return typed;
    return directory + typed;
}

namespace {
// Why nothing reaches the row's item exactly, quoted so that a closing space or dot shows.
std::wstring CannotOpenExactly(const std::wstring &full, const std::wstring &name) {
    return L"\"" + full + L"\" cannot be opened exactly: " +
           fileops::TroubleText(fileops::NameTrouble(name) != fileops::TNameTrouble::none
                                    ? fileops::NameTrouble(name)
                                    : fileops::PathTrouble(full)) +
           L".";
}
} // namespace

// The path that opens exactly the row's file, or empty after saying why nothing can.
std::wstring TViewCommands::RowPath(TSide &side, int row,
                                    std::wstring (*exact)(const std::wstring &, const std::wstring &)) {
    const filelist::TFileList &view = side.FileView;
    std::wstring full = view.PathOf(row), name = view.Name(row);
    std::wstring path = exact(full.substr(0, full.size() - name.size()), name);
    if (path.empty()) {
        std::wstring text = CannotOpenExactly(full, name);
        ui::ShowMessage(form_.Handle(), text, ui::Application().Title(), MB_OK | MB_ICONWARNING);
    }
    return path;
}

TViewCommands::TViewCommands(TMainForm &form) : form_(form) {
    ShellExecuteProgram = [](HWND owner, const std::wstring &verb, const std::wstring &file,
                             const std::wstring &parameters, const std::wstring &directory, int show) {
        ShellExecuteW(owner, verb.c_str(), file.c_str(), parameters.c_str(), directory.c_str(), show);
    };
}

void TViewCommands::ViewCursorRow(TSide &side) {
    int row = side.FileView.Selected();
    if (row < 0) return;
    std::wstring path = RowPath(side, row, fileops::ExactPathOf);
    if (!path.empty()) form_.ViewForm().ViewFile(path);
}

void TViewCommands::StartNotepad(const std::wstring &path) {
    // A Notepad that cannot be started is the shell's to report, not the program's.
    ShellExecuteProgram(form_.Handle(), L"open", L"notepad.exe", EditorParameter(path), L"", SW_SHOW);
}

void TViewCommands::EditCursorRow(TSide &side) {
    int row = side.FileView.Selected();
    if (row < 0) return;
    std::wstring path = RowPath(side, row, fileops::ExactShellPathOf);
    if (!path.empty()) StartNotepad(path);
}

bool TViewCommands::EditNamedFile(TSide &side) {
    fileops::TOperationForm &prompt = form_.FileCommands.OperationForm();
    if (prompt.Ask(L"Edit", L"Enter file name for edit", L"", L"") != ui::mrOk) return false;
    std::wstring typed = prompt.EditTo.Text();
    if (typed.empty()) return false;
    StartNotepad(EditTarget(side.Directory(), typed));
    // Notepad is not waited for: a new file shows only if it has already been created.
    form_.Left.SetDirectory(form_.Left.Directory());
    form_.Right.SetDirectory(form_.Right.Directory());
    side.FocusAndPlaceCursor();
    return true;
}

namespace {
// The one deferred refill of a pane: the timer's message comes only when no input waits.
TViewCommands *deferredOwner = nullptr;
constexpr UINT_PTR kDeferredFillTimer = 0x5A51;
} // namespace

void TViewCommands::FillPane(TSide &pane, TSide &rowSide, int row) {
    CancelDeferredFill();
    if (row < 0 || row >= rowSide.FileView.Count()) {
        pane.QMemo.Clear();
        return;
    }
    const filelist::TFileList &view = rowSide.FileView;
    std::wstring full = view.PathOf(row), name = view.Name(row);
    std::wstring path = fileops::ExactPathOf(full.substr(0, full.size() - name.size()), name);
    // The pane says why it shows nothing, as F3 on the row would, without a box per row held over.
    if (path.empty()) pane.QMemo.ShowText(CannotOpenExactly(full, name));
    else pane.QMemo.Fill(path, view.IsFolder(row));
}

void TViewCommands::Quickview1Click() {
    CancelDeferredFill();
    TSide &active = form_.ActiveSide();
    TSide &pane = active.Other();
    if (pane.QuickViewShown()) {
        pane.ShowFileView();
        return;
    }
    pane.QMemo.SetVisible(true);
    pane.FileView.SetVisible(false);
    FillPane(pane, active, active.FileView.Selected());
}

void TViewCommands::CursorMoved(TSide &side) {
    if (!side.Other().QuickViewShown()) return;
    if (ui::Application().Queued(side.FileView.Handle(), {WM_KEYDOWN})) {
        deferredSide_ = &side;
        deferredOwner = this;
        SetTimer(form_.Handle(), kDeferredFillTimer, USER_TIMER_MINIMUM, &TViewCommands::DeferredFillTimer);
        return;
    }
    FillPane(side.Other(), side, side.FileView.Selected());
}

TViewCommands::~TViewCommands() {
    if (deferredOwner == this) deferredOwner = nullptr;
}

void TViewCommands::CancelDeferredFill() {
    if (!deferredSide_) return;
    deferredSide_ = nullptr;
    KillTimer(form_.Handle(), kDeferredFillTimer);
}

void CALLBACK TViewCommands::DeferredFillTimer(HWND, UINT, UINT_PTR, DWORD) {
    TViewCommands *self = deferredOwner;
    if (!self || !self->deferredSide_) return;
    TSide &side = *self->deferredSide_;
    // More keys still wait: the timer comes again once they are handled.
    if (ui::Application().Queued(side.FileView.Handle(), {WM_KEYDOWN})) return;
    self->CancelDeferredFill();
    try {
        if (side.Other().QuickViewShown()) self->FillPane(side.Other(), side, side.FileView.Selected());
    } catch (const std::exception &e) {
        ui::Application().HandleException(e);
    }
}

void TViewCommands::QMemoKeyUp(TSide &paneSide, WORD &key, ui::TShiftState shift) {
    if (key != VK_TAB || (shift & ui::kModifierMask) != 0) return;
    paneSide.Other().Activate();
}

} // namespace app
