#pragma once
#include "filelist/DriveCombo.h"
#include "filelist/FileList.h"
#include "viewer/QuickView.h"
#include "ui/Controls.h"
#include "ui/Panel.h"

namespace app {

constexpr COLORREF kActiveTitleColor = RGB(0, 0, 128);
constexpr COLORREF kInactiveTitleColor = RGB(128, 128, 128);

// What a side needs of the main window: the command prompt and the shell.
class ISideHost {
public:
    virtual ~ISideHost() = default;
    virtual void SetPrompt(const std::wstring &text) = 0;
    virtual HWND OwnerWindow() const = 0;
    virtual void ShellOpen(const std::wstring &path) = 0;
};

// One side of the main window: drive box, title line, file view and quick-view pane. Left and right are
// the same class; every behaviour is written once here and the form's named handlers call it.
class TSide {
public:
    void Create(ISideHost &host, TSide &other, HWND parent, int idBase);
    void Layout();

    ui::TPanel Panel;
    ui::TPanel DrivePanel;
    filelist::TDriveComboBox DriveCombo;
    ui::TPanel TitlePanel;
    filelist::TFileList FileView;
    viewer::TQuickViewPane QMemo;

    TSide &Other() { return *other_; }
    std::wstring Directory() const { return FileView.Directory(); }
    bool IsActive() const { return TitlePanel.Color() == kActiveTitleColor; }

    // This side's title line navy and the other's gray, in one step.
    void ColourActive();
    // Activation: colours, title line and prompt, focus into the file view, cursor placement.
    void Activate();
    // The title line shows the directory; the prompt too when asked.
    void ShowDirectory(bool prompt);
    void FocusAndPlaceCursor();
    // Opening the cursor row: enter a folder, go to the parent on "..", open a file through the shell.
    void OpenCursorRow();
    // Lists exactly this one folder (a ";" is part of its name).
    void SetDirectory(const std::wstring &dir);
    bool QuickViewShown() const { return QMemo.Visible(); }
    void ShowFileView();

    // Handlers of this side's controls.
    void DriveComboChange();
    void DriveComboKeyDown(WORD &key, ui::TShiftState shift);
    void FileViewKeyUp(WORD &key, ui::TShiftState shift);

private:
    ISideHost *host_ = nullptr;
    TSide *other_ = nullptr;
};

// The parent of a directory as the ".." row reaches it: C:\A\B\ gives C:\A\, C:\A\ gives C:\.
std::wstring ParentDirectory(const std::wstring &dir);

} // namespace app
