#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>

#include "app/CommandHost.h"
#include "app/CommandIds.h"
#include "app/CommandLineCommands.h"
#include "app/FileCommands.h"
#include "app/SettingsCommands.h"
#include "app/Side.h"
#include "app/ViewCommands.h"
#include "caption/GradCap.h"
#include "filelist/CommandLine.h"
#include "help/PrintCommand.h"
#include "sysinfo/AboutBox.h"
#include "sysinfo/DiskInfoForm.h"
#include "sysinfo/InfVer.h"
#include "sysinfo/NetDialogs.h"
#include "sysinfo/SysFacts.h"
#include "sysinfo/SysInfoForm.h"
#include "ui/BrowseFolder.h"
#include "ui/Controls.h"
#include "ui/FirstUse.h"
#include "ui/Form.h"
#include "ui/HistoryBox.h"
#include "ui/Panel.h"

namespace search {
class TSearchForm;
}
namespace viewer {
class TViewForm;
}

namespace app {

// The image list of the marks; destroyed with the form.
struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using ImageListHandle = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

// The main window: two sides, the command line below them and the main menu.
class TMainForm : public ui::TForm, private ICommandHost, private ISideHost {
public:
    TMainForm();
    ~TMainForm() override;
    void Create();

    TSide Left;
    TSide Right;
    ui::TSplitter Splitter1;
    ui::TPanel CMDPanel;
    ui::TPanel CMDTitlePanel;
    ui::THistoryBox HistoryCmdBox;
    ImageListHandle StateImageList;
    TFileCommands FileCommands{*this};
    TSettingsCommands SettingsCommands{*this};
    TCommandLineCommands CommandLine{*this};
    TViewCommands ViewCommands{*this};
    // The program's own version texts, read when a window shows them.
    sysinfo::TInfoVersion InfoVer;
    // The system facts, collected at their first use: collecting asks every drive and sound device.
    sysinfo::TSysFacts &MainSysInfo();
    // The file viewer, created at its first use.
    viewer::TViewForm &ViewForm();
    // The title bar, drawn by the program.
    caption::TGradientCaption GradientCaption1;
    // The Find Files dialog, created at its first use.
    search::TSearchForm &SearchForm();
    // The folder tree of "CD tree...": file-system folders below My Computer.
    ui::TBrowseFolder BrowseFolderTree;
    // The network provider's connect and disconnect dialogs of the Commands menu.
    sysinfo::TNetConnectDlg NetConnect;
    sysinfo::TNetDisConnectDlg NetDisConnect;
    // The information windows, each created at its first use so that start-up stays fast.
    sysinfo::TDiskInfoForm &DiskInfoForm();
    sysinfo::TSysInfoForm &SysInfoForm();
    sysinfo::TAboutBox &AboutBox();

    // Aliases with the names the program's handlers use.
    filelist::TFileList &LeftFileView = Left.FileView;
    filelist::TFileList &RightFileView = Right.FileView;
    ui::TPanel &LeftTitlePanel = Left.TitlePanel;
    ui::TPanel &RightTitlePanel = Right.TitlePanel;
    filelist::TDriveComboBox &LeftDriveCombo = Left.DriveCombo;
    filelist::TDriveComboBox &RightDriveCombo = Right.DriveCombo;

    // The side whose title line is navy (the left one is tested first).
    TSide &ActiveSide() override;

    // Runs a shell verb on a file; replaceable so that tests can observe it without starting programs.
    std::function<void(HWND owner, const std::wstring &verb, const std::wstring &file)> ShellExecuteVerb;
    // What Print uses to reach the shell and Notepad; replaceable for the same reason.
    help::PrintServices PrintServices = help::PrintServices::System();

    void FormShow();
    // Reads both sides' directories, held since creation; runs once, just after the first showing, for
    // the sides not listed before it.
    void StartListings();
    void FormResize();
    void FormClose();
    void Quit1Click();
    void Index1Click();
    void FileOperations1Click();
    void Keyboard1Click();
    void Print1Click();
    // System, disk and network commands.
    void Systeminformation1Click();
    void AboutZelvor1Click();
    void Networkconnections1Click();
    void Disconnectnetworkdrives1Click();
    void Sharecurrentdirectory1Click();

    void LeftFileViewClick() { Left.Activate(); }
    void RightFileViewClick() { Right.Activate(); }
    void LeftFileViewDblClick() { Left.OpenCursorRow(); }
    void RightFileViewDblClick() { Right.OpenCursorRow(); }
    void LeftFileViewKeyUp(WORD &key, ui::TShiftState shift) { FileViewKeyUp(Left, key, shift); }
    void RightFileViewKeyUp(WORD &key, ui::TShiftState shift) { FileViewKeyUp(Right, key, shift); }
    void LeftQMemoKeyUp(WORD &key, ui::TShiftState shift) { ViewCommands.QMemoKeyUp(Left, key, shift); }
    void RightQMemoKeyUp(WORD &key, ui::TShiftState shift) { ViewCommands.QMemoKeyUp(Right, key, shift); }
    void LeftTitlePanelClick() { Left.Activate(); }
    void RightTitlePanelClick() { Right.Activate(); }
    void LeftDriveComboChange() { Left.DriveComboChange(); }
    void RightDriveComboChange() { Right.DriveComboChange(); }
    void LeftDriveComboKeyDown(WORD &key, ui::TShiftState shift) { Left.DriveComboKeyDown(key, shift); }
    void RightDriveComboKeyDown(WORD &key, ui::TShiftState shift) { Right.DriveComboKeyDown(key, shift); }

    // Panel keys (the same table for both sides).
    void LeftFileViewKeyDown(WORD &key, ui::TShiftState shift) { FileViewKeyDown(Left, key, shift); }
    void RightFileViewKeyDown(WORD &key, ui::TShiftState shift) { FileViewKeyDown(Right, key, shift); }
    void LeftFileViewMouseUp(ui::TMouseButton b, ui::TShiftState s, int, int) { FileViewMouseUp(Left, b, s); }
    void RightFileViewMouseUp(ui::TMouseButton b, ui::TShiftState s, int, int) { FileViewMouseUp(Right, b, s); }

    // The Show menu.
    void Show1Click();
    void Brief1Click();
    void Full1Click();
    void Quickview1Click() { ViewCommands.Quickview1Click(); }
    void AllFiles1Click();
    void Programs1Click();
    void Custom1Click();
    void Name1Click() { SortBy(IDM_NAME1, filelist::fiName); }
    void Type1Click() { SortBy(IDM_TYPE1, filelist::fiType); }
    void Time1Click() { SortBy(IDM_TIME1, filelist::fiModified); }
    void Size1Click() { SortBy(IDM_SIZE1, filelist::fiSize); }
    void Unsorted1Click() { SortBy(IDM_UNSORTED1, filelist::fiAll); }
    void Reversedorder1Click();
    void Rereadsource1Click();
    // Source and target.
    void SourceTarget1Click();
    void TargetSource1Click();
    // The Mark menu.
    void Selectgroup1Click();
    void Unselectgroup1Click();
    void Selectall1Click();
    void Unselectall1Click();
    void InvertSelection1Click();
    // Find Files and the directory tree jump.
    void Search1Click();
    void CDtree1Click();

    // Binds a menu command to its handler; later parts of the program add theirs.
    void BindCommand(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }

private:
    void SetPrompt(const std::wstring &text) override { CMDTitlePanel.SetCaption(text); }
    // The commands' host and the sides' (one owner window for both).
    HWND OwnerWindow() const override { return Handle(); }
    TSide &LeftSide() override { return Left; }
    TSide &RightSide() override { return Right; }
    void RelistBoth() override;
    void ViewFile(const std::wstring &path) override;
    ui::THistoryBox &CommandBox() override { return HistoryCmdBox; }
    std::wstring PromptText() const override { return CMDTitlePanel.Caption(); }
    fileops::TOperationForm &OperationForm() override { return FileCommands.OperationForm(); }
    HFONT WindowFont() const override { return FormFont(); }
    void ShellOpen(const std::wstring &path) override {
        ShellExecuteVerb(Handle(), L"open", filelist::WithinShellLimits({path, L""}).file);
    }

    void CreateSides();
    void ListSidesReadInFull();
    // Ends the hold on the side's listing: the side reads its directory now.
    void ListHeldSide(TSide &side);
    void CreateCaption();
    void BindShowAndMarkCommands();
    void BindSearchCommands();
    void FileViewKeyDown(TSide &side, WORD &key, ui::TShiftState shift);
    void FileViewKeyUp(TSide &side, WORD &key, ui::TShiftState shift);
    void FileViewMouseUp(TSide &side, ui::TMouseButton button, ui::TShiftState shift);
    void BindSystemCommands();
    // Ctrl+L: the disk information window for the drive of the side's directory.
    void ShowDiskInfo(TSide &side);
    // After a network dialog connected or disconnected something.
    void NetworkDialogDone();
    void CopyDirectoryAcross(TSide &keySide, TSide &from, TSide &to);
    void ExitPrompt();
    // Group marking through the mask prompt; false when the user cancelled or left the text empty.
    bool GroupMarking(TSide &side, bool mark);
    // The operation dialog as a mask prompt ("Specify file type", proposal "*.*"); false on Cancel.
    bool AskSelectionMask(const std::wstring &caption, std::wstring &mask);
    void SortBy(int itemId, filelist::TFileInfo column);
    void CheckRadio(int first, int last, int id);
    void BindEvents(TSide &side, bool left);
    void PrepareMarkImage();
    void RunCommand(int id);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    std::map<int, std::function<void()>> commands_;
    ui::TFirstUse<sysinfo::TSysFacts> sysFacts_;
    ui::TFirstUse<search::TSearchForm> searchForm_;
    ui::TFirstUse<viewer::TViewForm> viewForm_;
    ui::TFirstUse<sysinfo::TDiskInfoForm> diskInfoForm_;
    ui::TFirstUse<sysinfo::TSysInfoForm> sysInfoForm_;
    ui::TFirstUse<sysinfo::TAboutBox> aboutBox_;
    HMENU menu_ = nullptr;
    bool listingsBegun_ = false;
};

// The program body's set-up before any window exists: common controls, COM, title, help file, shortcuts.
void InitApplication();

} // namespace app
