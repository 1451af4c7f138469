#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "app/CommandHost.h"
#include "ui/Keys.h"

namespace app {

class TSide;

// The viewing and editing commands of the file views and the Show menu: F3 (the viewer), F4 and Shift+F4
// (Notepad), the quick-view panes (Ctrl+Q, following Up and Down, Tab inside a pane).
class TViewCommands {
public:
    explicit TViewCommands(ICommandHost &host);
    ~TViewCommands();

    // F3: the cursor row's file in the viewer.
    void ViewCursorRow(TSide &side);
    // F4: the cursor row's file in Notepad.
    void EditCursorRow(TSide &side);
    // Shift+F4: asks for a file name and opens it in Notepad, then lists both sides again; false when the
    // user cancelled or left the name empty.
    bool EditNamedFile(TSide &side);

    // Ctrl+Q: the pane opposite the active side shows its cursor row, or gives way to the file list again.
    void Quickview1Click();
    // A side's cursor reached a row, however it moved, while the other side's pane shows: the pane takes
    // that row. While more keys wait (a held key) the rows passed are never drawn: the pane is filled once
    // the input is handled, with the row the cursor reached last.
    void CursorMoved(TSide &side);
    // Tab released in a side's pane: the side whose cursor the pane shows becomes active with the focus.
    void QMemoKeyUp(TSide &paneSide, WORD &key, ui::TShiftState shift);

    // Asks the shell to carry out a verb on a program with parameters; replaceable so that tests can watch
    // the request without starting anything.
    std::function<void(HWND owner, const std::wstring &verb, const std::wstring &file, const std::wstring &parameters,
                       const std::wstring &directory, int show)>
        ShellExecuteProgram;

private:
    void StartNotepad(const std::wstring &path);
    void FillPane(TSide &pane, TSide &rowSide, int row);
    void CancelDeferredFill();
    static void CALLBACK DeferredFillTimer(HWND, UINT, UINT_PTR, DWORD);

    ICommandHost &host_;
    // The refill put off while keys were queued: the side whose cursor moved.
    TSide *deferredSide_ = nullptr;
};

// The parameter that names a file to Notepad: quoted when it holds a space, so that an editor standing in
// for Notepad takes the whole path as one name.
std::wstring EditorParameter(const std::wstring &path);
// The file Shift+F4 edits: the typed text itself when it starts with a drive ("C:..."), else the side's
// directory followed by it.
std::wstring EditTarget(const std::wstring &directory, const std::wstring &typed);

} // namespace app
