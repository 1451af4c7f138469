// The main window's system, disk and network commands: disk information (Ctrl+L), System Info Manager,
// About, network connections and sharing. Their windows are created at their first use.
#include "app/MainForm.h"
#include "fileops/ShellItemMenu.h"

namespace app {

namespace {
// The directory the share commands act on: the folder under the cursor, or else the side's own directory
// (the parent row ".." names no folder of this directory, so it counts as none). The shell finds no
// item for a folder path with a trailing separator, so only a drive's root keeps it.
std::wstring ShareTarget(TSide &side) {
    const filelist::TFileList &view = side.FileView;
    int row = view.Selected();
    if (row >= 0 && view.IsFolder(row) && !view.IsParent(row))
        return view.PathOf(row);
    std::wstring dir = side.Directory();
    if (dir.size() > 3 && dir.back() == L'\\')
        dir.pop_back();
    return dir;
}
} // namespace

void TMainForm::BindSystemCommands() {
    BindCommand(IDM_SYSTEMINFORMATION1, [this] { Systeminformation1Click(); });
    BindCommand(IDM_ABOUTZELVOR1, [this] { AboutZelvor1Click(); });
    BindCommand(IDM_NETWORKCONNECTIONS1, [this] { Networkconnections1Click(); });
    BindCommand(IDM_DISCONNECTNETWORKDRIVES1, [this] { Disconnectnetworkdrives1Click(); });
    BindCommand(IDM_SHARECURRENTDIRECTORY1, [this] { Sharecurrentdirectory1Click(); });
    BindCommand(IDM_UNSHAREDIRECTORY1, [this] { Sharecurrentdirectory1Click(); });
    NetDisConnect.ResourceType = sysinfo::rtDisk;
}

sysinfo::TDiskInfoForm &TMainForm::DiskInfoForm() {
    if (!diskInfoForm_) {
        auto form = std::make_unique<sysinfo::TDiskInfoForm>();
        form->Create();
        diskInfoForm_ = std::move(form);
    }
    return *diskInfoForm_;
}

sysinfo::TSysInfoForm &TMainForm::SysInfoForm() {
    if (!sysInfoForm_) {
        auto form = std::make_unique<sysinfo::TSysInfoForm>();
        form->Create();
        sysInfoForm_ = std::move(form);
    }
    return *sysInfoForm_;
}

sysinfo::TAboutBox &TMainForm::AboutBox() {
    if (!aboutBox_) {
        auto form = std::make_unique<sysinfo::TAboutBox>();
        form->Create();
        aboutBox_ = std::move(form);
    }
    return *aboutBox_;
}

void TMainForm::ShowDiskInfo(TSide &side) {
    DiskInfoForm().ShowFor(MainSysInfo(), side.Directory());
}

void TMainForm::Systeminformation1Click() {
    SysInfoForm().ShowFor(MainSysInfo());
}

void TMainForm::AboutZelvor1Click() {
    InfoVer.ReadVersionInfo();
    AboutBox().ShowFor(InfoVer);
}

void TMainForm::Networkconnections1Click() {
    if (NetConnect.Execute(Handle()))
        NetworkDialogDone();
}

void TMainForm::Disconnectnetworkdrives1Click() {
    if (NetDisConnect.Execute(Handle()))
        NetworkDialogDone();
}

void TMainForm::NetworkDialogDone() {
    // A drive letter may have come or gone: the boxes are repainted (their lists are not read again).
    Left.DriveCombo.Invalidate();
    Right.DriveCombo.Invalidate();
    if (Left.IsActive())
        Left.FocusAndPlaceCursor();
    if (Right.IsActive())
        Right.FocusAndPlaceCursor();
}

void TMainForm::Sharecurrentdirectory1Click() {
    for (TSide *side : {&Left, &Right}) {
        if (side->IsActive())
            fileops::ShowItemProperties(ShareTarget(*side), Handle());
    }
}

} // namespace app
