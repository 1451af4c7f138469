#include "app/FileCommands.h"

#include "app/MainForm.h"
#include "fileops/FileCommandRunner.h"
#include "fileops/FileOp.h"
#include "fileops/OperationForm.h"
#include "fileops/SetAtrForm.h"
#include "fileops/ShellItemMenu.h"

namespace app {

TFileCommands::TFileCommands(TMainForm &form) : form_(form) {}
TFileCommands::~TFileCommands() = default;

// The dialogs are made at their first use (OperationForm, SetAtrForm): nothing can tell a dialog made
// then from one made at start-up, and start-up stays short.
void TFileCommands::CreateWindows() { fileOper_ = std::make_unique<fileops::TFileOperation>(&form_); }

fileops::TOperationForm &TFileCommands::OperationForm() {
    if (!operationForm_) {
        auto created = std::make_unique<fileops::TOperationForm>();
        created->Create();
        operationForm_ = std::move(created);
    }
    return *operationForm_;
}

fileops::TSetAtrForm &TFileCommands::SetAtrForm() {
    if (!setAtrForm_) {
        auto created = std::make_unique<fileops::TSetAtrForm>();
        created->Create();
        setAtrForm_ = std::move(created);
    }
    return *setAtrForm_;
}

bool TFileCommands::RunCommand(TSide &source, TFileCommand command) {
    fileops::TFileCommandRunner runner(OperationForm(), *fileOper_, form_.Handle());
    switch (command) {
    case TFileCommand::Copy:
        return runner.Copy(source.FileView, source.Other().Directory());
    case TFileCommand::RenameMove:
        return runner.RenameMove(source.FileView, source.Other().Directory());
    case TFileCommand::MakeDir:
        return runner.MakeDir(source.FileView);
    case TFileCommand::DeleteToRecycleBin:
        return runner.Delete(source.FileView, true);
    case TFileCommand::DeleteForGood:
        return runner.Delete(source.FileView, false);
    }
    return false;
}

bool TFileCommands::Run(TSide &source, TFileCommand command) {
    source.Other().ShowFileView();
    if (!RunCommand(source, command))
        return false;
    // Both sides from scratch, the left one first, so they show what the shell really did; marks go too.
    form_.Left.SetDirectory(form_.Left.Directory());
    form_.Right.SetDirectory(form_.Right.Directory());
    source.FocusAndPlaceCursor();
    return true;
}

std::wstring TFileCommands::CursorPath(TSide &side) {
    int row = side.FileView.Selected();
    return row < 0 ? std::wstring() : side.FileView.PathOf(row);
}

void TFileCommands::Change1Click() {
    TSide &side = form_.ActiveSide();
    int row = side.FileView.Selected();
    if (row < 0)
        return;
    if (side.FileView.IsParent(row)) {
        fileops::ShowNoFilesSelected(form_.Handle());
        return;
    }
    SetAtrForm().Prepare(CursorPath(side));
    SetAtrForm().ShowModal();
}

void TFileCommands::ShowContextMenu(TSide &side, POINT screen) {
    std::wstring path = CursorPath(side);
    if (!path.empty())
        fileops::ShowItemContextMenu(path, form_.Handle(), screen);
}

void TFileCommands::ShowProperties(TSide &side) {
    std::wstring path = CursorPath(side);
    if (!path.empty())
        fileops::ShowItemProperties(path, form_.Handle());
}

} // namespace app
