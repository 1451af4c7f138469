#include "sysinfo/DiskInfoForm.h"

#include "sysinfo/NumberFormat.h"
#include "ui/Application.h"

namespace sysinfo {

namespace {
constexpr int kClientWidth = 281, kClientHeight = 286;
// The three groups and the button below them fit the client area.
constexpr int kGroupLeft = 8, kGroupWidth = 265, kRowHeight = 16, kFirstRow = 16, kGroupBottom = 4;
constexpr int kCaptionLeft = 20, kCaptionWidth = 104, kValueLeft = 128, kValueWidth = 138;

std::wstring Bytes(std::int64_t value) {
    return FormatWithUnit(value, kUnitBytesCyrillic);
}
} // namespace

std::wstring DiskGroupCaption(const std::wstring &typeName, wchar_t letter, const std::wstring &fileSystem) {
    return typeName + L" " + letter + L": (" + fileSystem + L")";
}

void TDiskInfoForm::Create() {
    CreateForm(L"", kClientWidth, kClientHeight, false, nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetClientSize(kClientWidth, kClientHeight);
    HWND self = Handle();

    struct Group {
        ui::TGroupBox &box;
        const wchar_t *caption;
        int rows;
    };
    int top = 4;
    for (Group g : {Group{GroupBoxInfo, L" Information ", 2}, Group{GroupBoxDisk, L"", 4},
                    Group{GroupBoxMemory, L" Memory ", 5}}) {
        int height = kFirstRow + g.rows * kRowHeight + kGroupBottom;
        g.box.Create(self, g.caption);
        g.box.SetBounds(kGroupLeft, top, kGroupWidth, height);
        g.box.SetFont(FormFont());
        top += height + 4;
    }
    int row = GroupBoxInfo.Bounds().top + kFirstRow;
    AddRow(self, row, L"Computer", lbl_comp);
    AddRow(self, row + kRowHeight, L"User", lbl_user);
    row = GroupBoxDisk.Bounds().top + kFirstRow;
    AddRow(self, row, L"Total Space", lbl_totalspace);
    AddRow(self, row + kRowHeight, L"Free Space", lbl_freespace);
    AddRow(self, row + 2 * kRowHeight, L"Volume Label", lbl_volumelabel);
    AddRow(self, row + 3 * kRowHeight, L"Serial Number", lbl_serialnumber);
    row = GroupBoxMemory.Bounds().top + kFirstRow;
    AddRow(self, row, L"Free", lbl_freemem);
    AddRow(self, row + kRowHeight, L"Total Physical", lbl_totalphys);
    AddRow(self, row + 2 * kRowHeight, L"Available Physical", lbl_freephys);
    AddRow(self, row + 3 * kRowHeight, L"Total Virtual", lbl_totalvirtual);
    AddRow(self, row + 4 * kRowHeight, L"Available Virtual", lbl_freevirtual);

    // The one button is both the default (Enter) and the cancel button (Escape).
    Ok_Btn.Create(self, IDOK, L"Close", BS_DEFPUSHBUTTON);
    Ok_Btn.SetBounds((kClientWidth - 75) / 2, top + 4, 75, 25);
    Ok_Btn.SetFont(FormFont());
    Ok_Btn.OnClick = [this] { Ok_BtnClick(); };
    SetDefaultId(IDOK);
    OnCancelKey = [this] { Ok_BtnClick(); };
    OnCommand = [this](int id) {
        if (id == IDOK)
            Ok_BtnClick();
    };
}

void TDiskInfoForm::AddRow(HWND parent, int top, const wchar_t *caption, ui::TLabel &value) {
    auto label = std::make_unique<ui::TLabel>();
    label->Create(parent, caption);
    label->SetBounds(kCaptionLeft, top, kCaptionWidth, kRowHeight - 2);
    label->SetFont(FormFont());
    captions_.push_back(std::move(label));
    value.Create(parent, L"");
    value.SetBounds(kValueLeft, top, kValueWidth, kRowHeight - 2);
    value.SetFont(FormFont());
}

void TDiskInfoForm::Fill(const TSysFacts &facts) {
    lbl_comp.SetText(facts.uiComputer());
    lbl_user.SetText(facts.uiOwner());
    lbl_totalspace.SetText(Bytes(facts.diTotalSpace()));
    lbl_freespace.SetText(Bytes(facts.diFreeSpace()));
    lbl_volumelabel.SetText(facts.diVolumeLabel());
    lbl_serialnumber.SetText(FormatHex(facts.diSerialNumber(), 16));
    lbl_freemem.SetText(FormatWithUnit(facts.miFreeMem(), kUnitPercent));
    lbl_totalphys.SetText(Bytes(facts.miTotalPhys()));
    lbl_freephys.SetText(Bytes(facts.miFreePhys()));
    lbl_totalvirtual.SetText(Bytes(facts.miTotalVirtual()));
    lbl_freevirtual.SetText(Bytes(facts.miFreeVirtual()));
    GroupBoxDisk.SetText(DiskGroupCaption(TSysFacts::GetDriveTypeName(facts.diSign(), facts.diMediaType()),
                                          facts.diSign(), facts.diFileSystem()));
}

int TDiskInfoForm::ShowFor(TSysFacts &facts, const std::wstring &directory) {
    ui::TForm *main = ui::Application().MainForm();
    if (main && main->Handle())
        SetText(main->Text());
    // A directory without a drive letter (a UNC path) reads as a drive that cannot be read.
    facts.SetDiSign(directory.empty() ? L'?' : directory[0]);
    Fill(facts);
    CenterOnMainForm();
    return ShowModal();
}

void TDiskInfoForm::Ok_BtnClick() {
    ui::TForm *main = ui::Application().MainForm();
    if (main && main->Handle()) ui::Application().DropKeys(main->Handle(), 1);
    SetModalResult(ui::mrOk);
}

} // namespace sysinfo
