#include "app/ViewCommands.h"

#include <shellapi.h>

#include <algorithm>

#include "app/Side.h"
#include "fileops/OperationForm.h"
#include "fileops/RowPath.h"
#include "ui/Application.h"

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

TViewCommands::TViewCommands(ICommandHost &host) : host_(host) {
    ShellExecuteProgram = [](HWND owner, const std::wstring &verb, const std::wstring &file,
                             const std::wstring &parameters, const std::wstring &directory, int show) {
        ShellExecuteW(owner, verb.c_str(), file.c_str(), parameters.c_str(), directory.c_str(), show);
    };
}

void TViewCommands::ViewCursorRow(TSide &side) {
    int row = side.FileView.Selected();
    if (row < 0) return;
    std::wstring path =
        fileops::ExactRowPathOrSay(host_.OwnerWindow(), side.FileView, row, fileops::TPathUse::fileCalls);
    if (!path.empty()) host_.ViewFile(path);
}

void TViewCommands::StartNotepad(const std::wstring &path) {
    // A Notepad that cannot be started is the shell's to report, not the program's.
    ShellExecuteProgram(host_.OwnerWindow(), L"open", L"notepad.exe", EditorParameter(path), L"", SW_SHOW);
}

void TViewCommands::EditCursorRow(TSide &side) {
    int row = side.FileView.Selected();
    if (row < 0) return;
    std::wstring path =
        fileops::ExactRowPathOrSay(host_.OwnerWindow(), side.FileView, row, fileops::TPathUse::shell);
    if (!path.empty()) StartNotepad(path);
}

bool TViewCommands::EditNamedFile(TSide &side) {
    fileops::TOperationForm &prompt = host_.OperationForm();
    if (prompt.Ask(L"Edit", L"Enter file name for edit", L"", L"") != ui::mrOk) return false;
    std::wstring typed = prompt.EditTo.Text();
    if (typed.empty()) return false;
    StartNotepad(EditTarget(side.Directory(), typed));
    // Notepad is not waited for: a new file shows only if it has already been created.
    host_.RelistBoth();
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
    fileops::TExactPath exact = fileops::ExactRowPath(rowSide.FileView, row, fileops::TPathUse::fileCalls);
    // The pane says why it shows nothing, as F3 on the row would, without a box per row held over.
    if (exact.path.empty()) pane.QMemo.ShowText(exact.whyNot);
    else pane.QMemo.Fill(exact.path, rowSide.FileView.IsFolder(row));
}

void TViewCommands::Quickview1Click() {
    CancelDeferredFill();
    TSide &active = host_.ActiveSide();
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
        SetTimer(host_.OwnerWindow(), kDeferredFillTimer, USER_TIMER_MINIMUM, &TViewCommands::DeferredFillTimer);
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
    KillTimer(host_.OwnerWindow(), kDeferredFillTimer);
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
