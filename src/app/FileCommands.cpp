#include "app/FileCommands.h"

#include "app/Side.h"
#include "fileops/FileCommandRunner.h"
#include "fileops/FileOp.h"
#include "fileops/OperationForm.h"
#include "fileops/RowPath.h"
#include "fileops/SetAtrForm.h"
#include "fileops/ShellItemMenu.h"

namespace app {

TFileCommands::TFileCommands(ICommandHost &host) : host_(host) {}
TFileCommands::~TFileCommands() = default;

// The dialogs are made at their first use (OperationForm, SetAtrForm): nothing can tell a dialog made
// then from one made at start-up, and start-up stays short.
void TFileCommands::CreateWindows() { fileOper_ = std::make_unique<fileops::TFileOperation>(host_.OwnerWindow()); }

fileops::TOperationForm &TFileCommands::OperationForm() { return operationForm_.Get(); }

fileops::TSetAtrForm &TFileCommands::SetAtrForm() { return setAtrForm_.Get(); }

bool TFileCommands::RunCommand(TSide &source, TFileCommand command) {
    fileops::TFileCommandRunner runner(OperationForm(), *fileOper_, host_.OwnerWindow());
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
    host_.RelistBoth();
    source.FocusAndPlaceCursor();
    return true;
}

std::wstring TFileCommands::CursorPath(TSide &side, fileops::TPathUse use) {
    int row = side.FileView.Selected();
    if (row < 0)
        return {};
    // Exactly the row's item: a name the plain path would misread goes by its "\\?\" path to file calls
    // and by its short path to the shell, or is refused by name.
    return fileops::ExactRowPathOrSay(host_.OwnerWindow(), side.FileView, row, use);
}

void TFileCommands::Change1Click() {
    TSide &side = host_.ActiveSide();
    int row = side.FileView.Selected();
    if (row < 0)
        return;
    if (side.FileView.IsParent(row)) {
        fileops::ShowNoFilesSelected(host_.OwnerWindow());
        return;
    }
    std::wstring path = CursorPath(side, fileops::TPathUse::fileCalls);
    if (path.empty())
        return;
    SetAtrForm().Prepare(path);
    SetAtrForm().ShowModal();
}

void TFileCommands::ShowContextMenu(TSide &side, POINT screen) {
    std::wstring path = CursorPath(side, fileops::TPathUse::shell);
    if (!path.empty())
        fileops::ShowItemContextMenu(path, host_.OwnerWindow(), screen);
}

void TFileCommands::ShowProperties(TSide &side) {
    std::wstring path = CursorPath(side, fileops::TPathUse::shell);
    if (!path.empty())
        fileops::ShowItemProperties(path, host_.OwnerWindow());
}

} // namespace app
