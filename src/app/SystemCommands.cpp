// The main window's system, disk and network commands: disk information (Ctrl+L), System Info Manager,
// About, network connections and sharing. Their windows are created at their first use.
#include "app/MainForm.h"
#include "fileops/ShellItemMenu.h"
#include "ui/Text.h"

namespace app {

namespace {
// The directory the share commands act on: the folder under the cursor (the parent row ".." names the
// parent folder), or else the side's own directory. The shell finds no item for a folder path with a
// trailing separator or a ".." in it, so the path is made whole and only a drive's root keeps the separator.
std::wstring ShareTarget(TSide &side) {
    const filelist::TFileList &view = side.FileView;
    int row = view.Selected();
    std::wstring path = side.Directory();
    if (row >= 0 && view.IsFolder(row)) {
        path = view.PathOf(row);
        wchar_t full[MAX_PATH * 2] = {};
        DWORD length = 0;
        if (view.IsParent(row) &&
            (length = GetFullPathNameW(path.c_str(), ARRAYSIZE(full), full, nullptr)) > 0 && length < ARRAYSIZE(full))
            path = full;
    }
    if (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
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

sysinfo::TDiskInfoForm &TMainForm::DiskInfoForm() { return diskInfoForm_.Get(); }

sysinfo::TSysInfoForm &TMainForm::SysInfoForm() { return sysInfoForm_.Get(); }

sysinfo::TAboutBox &TMainForm::AboutBox() { return aboutBox_.Get(); }

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
    else if (std::wstring failure = NetConnect.FailureText(); !failure.empty())
        throw ui::Error(failure);
}

void TMainForm::Disconnectnetworkdrives1Click() {
    if (NetDisConnect.Execute(Handle()))
        NetworkDialogDone();
    else if (std::wstring failure = NetDisConnect.FailureText(); !failure.empty())
        throw ui::Error(failure);
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
        const std::wstring path = side->IsActive() ? ShareTarget(*side) : std::wstring();
        // Sharing happens on the sheet: without one, the user must hear that nothing can be shared from here.
        if (!path.empty() && !fileops::ShowItemProperties(path, Handle()))
            throw ui::Error(L"The system offers no properties for \"" + path + L"\", so it cannot be shared from here.");
    }
}

} // namespace app
