#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "app/CommandHost.h"
#include "filelist/CommandLine.h"
#include "ui/Keys.h"

namespace app {

// The command line below the sides: typing into it from a panel, running what it holds with its history,
// and the command interpreter of the Commands menu.
class TCommandLineCommands {
public:
    explicit TCommandLineCommands(ICommandHost &host);
    // Binds the keys of the command line's field; the field exists by then.
    void CreateWindows();

    void RunDOS1Click();
    // The command line as the panel keys use it.
    std::wstring CommandLineText() const;
    void RunCommandLineFromPanel();                       // Enter in a panel with text in the command line
    void TypeIntoCommandLine(wchar_t c);                  // a character key in a panel
    void InsertIntoCommandLine(const std::wstring &name); // Ctrl+Enter in a panel
    void ClearCommandLine();                              // Escape in a panel
    void HistoryCmdBoxKeyDown(WORD &key, ui::TShiftState shift);
    // Enter in the command line itself: the program before the first blank, the rest its parameters.
    void RunCommandLine();

    // Opens a file through the shell ("open", no working directory, SW_SHOW); replaceable so that tests
    // can observe it without starting programs.
    std::function<void(HWND owner, const std::wstring &file, const std::wstring &parameters)> ShellOpen;

private:
    // Runs the command line's text as `request` reads it against the prompt, keeps it in the history and
    // clears the line; false when the line was empty.
    bool RunTyped(const std::function<filelist::TShellRequest(const std::wstring &prompt, const std::wstring &command)> &request);

    ICommandHost &host_;
};

} // namespace app
