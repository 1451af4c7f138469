#pragma once
#include <windows.h>

namespace app {

class TMainForm;
class TSide;

enum class TFileCommand { Copy, RenameMove, MakeDir, DeleteToRecycleBin, DeleteForGood };

// The main window's file commands: copy, rename/move, make directory, delete, change attributes,
// and the shell's context menu and Properties of a side's cursor row.
class TFileCommands {
public:
    explicit TFileCommands(TMainForm &form);
    ~TFileCommands();
    // Creates the secondary windows these commands show (in the program's window order).
    void CreateWindows();

    // Runs the command with the side as source and the other side as target; true when its operation ran.
    bool Run(TSide &source, TFileCommand command);
    void Change1Click();
    void ShowContextMenu(TSide &side, POINT screen);
    void ShowProperties(TSide &side);

private:
    TMainForm &form_;
};

} // namespace app
