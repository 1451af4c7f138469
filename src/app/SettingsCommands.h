#pragma once
#include <windows.h>

#include <string>

#include "ui/Keys.h"

namespace app {

class TMainForm;

// The main window's settings: restore at start and save at exit, the command line with its history,
// and the Configuration dialog.
class TSettingsCommands {
public:
    explicit TSettingsCommands(TMainForm &form);
    ~TSettingsCommands();
    void CreateWindows();

    // Start-up: the restore steps before the layout (key with defaults, colours and font, directories,
    // view styles, history, window position), and the second assignment of the saved directories.
    void RestoreBeforeLayout();
    void RestoreDirectoriesAgain();
    // Exit: what the save-on-exit choices ask for, and always the window position.
    void SaveOnClose();
    void Saveposition1Click();
    void Options1Click();
    void RunDOS1Click();

    // The command line as the panel keys use it.
    std::wstring CommandLineText() const;
    void RunCommandLineFromPanel();          // Enter in a panel with text in the command line
    void TypeIntoCommandLine(wchar_t c);     // a character key in a panel
    void InsertIntoCommandLine(const std::wstring &name); // Ctrl+Enter in a panel
    void ClearCommandLine();                 // Escape in a panel
    void HistoryCmdBoxKeyDown(WORD &key, ui::TShiftState shift);

private:
    TMainForm &form_;
};

} // namespace app
