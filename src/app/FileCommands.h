#pragma once
#include <windows.h>

#include <memory>

#include "app/CommandHost.h"
#include "fileops/PathRules.h"
#include "ui/FirstUse.h"

namespace fileops {
class TFileOperation;
class TOperationForm;
class TSetAtrForm;
} // namespace fileops

namespace app {

class TSide;

enum class TFileCommand { Copy, RenameMove, MakeDir, DeleteToRecycleBin, DeleteForGood };

// The main window's file commands: copy, rename/move, make directory, delete, change attributes,
// and the shell's context menu and Properties of a side's cursor row.
class TFileCommands {
public:
    explicit TFileCommands(ICommandHost &host);
    ~TFileCommands();
    // Creates the secondary windows these commands show (in the program's window order).
    void CreateWindows();

    // Runs the command with the side as source and the other side as target; true when its operation ran.
    bool Run(TSide &source, TFileCommand command);
    void Change1Click();
    void ShowContextMenu(TSide &side, POINT screen);
    void ShowProperties(TSide &side);

    // The windows and the file operation these commands own; the prompt also serves other commands
    // (group marking, edit a new file). Valid after CreateWindows.
    fileops::TOperationForm &OperationForm();
    fileops::TSetAtrForm &SetAtrForm();
    fileops::TFileOperation &FileOper() { return *fileOper_; }

private:
    bool RunCommand(TSide &source, TFileCommand command);
    // The cursor row's full path as the use takes it; empty when the side has no cursor row, or after
    // saying why nothing can reach the row's item exactly.
    std::wstring CursorPath(TSide &side, fileops::TPathUse use);

    ICommandHost &host_;
    ui::TFirstUse<fileops::TSetAtrForm> setAtrForm_;
    ui::TFirstUse<fileops::TOperationForm> operationForm_;
    std::unique_ptr<fileops::TFileOperation> fileOper_;
};

} // namespace app
