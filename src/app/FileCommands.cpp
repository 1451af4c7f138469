#include "app/FileCommands.h"

#include "app/MainForm.h"
#include "fileops/FileCommandRunner.h"
#include "fileops/FileOp.h"
#include "fileops/OperationForm.h"
#include "fileops/PathRules.h"
#include "fileops/SetAtrForm.h"
#include "fileops/ShellItemMenu.h"
#include "ui/Application.h"
#include "ui/MessageBox.h"

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

std::wstring TFileCommands::CursorPath(TSide &side, TPathUse use) {
    int row = side.FileView.Selected();
    if (row < 0)
        return {};
    // Exactly the row's item: a name the plain path would misread goes by its "\\?\" path to file calls
    // and by its short path to the shell, or is refused by name.
    const std::wstring &directory = side.Directory();
    std::wstring name = side.FileView.Name(row);
    std::wstring path =
        use == TPathUse::fileCalls ? fileops::ExactPathOf(directory, name) : fileops::ExactShellPathOf(directory, name);
    if (path.empty()) {
        fileops::TNameTrouble trouble = fileops::NameTrouble(name);
        if (trouble == fileops::TNameTrouble::none)
            trouble = fileops::PathTrouble(directory + name);
        std::wstring text =
            L"\"" + directory + name + L"\" cannot be reached exactly: " + fileops::TroubleText(trouble) + L".";
        ui::ShowMessage(form_.Handle(), text, ui::Application().Title(), MB_OK | MB_ICONWARNING);
    }
    return path;
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
    std::wstring path = CursorPath(side, TPathUse::fileCalls);
    if (path.empty())
        return;
    SetAtrForm().Prepare(path);
    SetAtrForm().ShowModal();
}

void TFileCommands::ShowContextMenu(TSide &side, POINT screen) {
    std::wstring path = CursorPath(side, TPathUse::shell);
    if (!path.empty())
        fileops::ShowItemContextMenu(path, form_.Handle(), screen);
}

void TFileCommands::ShowProperties(TSide &side) {
    std::wstring path = CursorPath(side, TPathUse::shell);
    if (!path.empty())
        fileops::ShowItemProperties(path, form_.Handle());
}

} // namespace app
