#include "sysinfo/AboutBox.h"

namespace sysinfo {

namespace {
constexpr int kClientWidth = 378, kClientHeight = 151;
// The program's icon in the resources (the main window's class icon too).
constexpr int kProgramIconId = 1;
} // namespace

void TAboutBox::Create() {
    CreateForm(L"About", kClientWidth, kClientHeight, false, nullptr,
               WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_DLGMODALFRAME);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetClientSize(kClientWidth, kClientHeight);
    HWND self = Handle();
    HFONT font = FormFont();
    LOGFONTW bold{};
    GetObjectW(font, sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    boldFont_.Reset(CreateFontIndirectW(&bold));

    Panel1.Create(self);
    Panel1.SetBevelInner(ui::TBevel::bvRaised);
    Panel1.SetBounds(8, 8, kClientWidth - 16, 100);
    HWND panel = Panel1.Handle();

    ProgramIcon.Create(panel, L"", SS_ICON);
    HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, 32, 32, LR_SHARED));
    SendMessageW(ProgramIcon.Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    ProgramIcon.SetBounds(12, 12, 32, 32);

    struct Line {
        ui::TLabel &label;
        const wchar_t *text;
        HFONT font;
        int left, top, width;
    };
    for (Line l : {Line{ProductNameCaption, L"Product Name :", boldFont_.Get(), 60, 14, 110},
                   Line{lbl_ProductName, L"", font, 172, 14, 180},
                   Line{VersionCaption, L"Version :", boldFont_.Get(), 60, 36, 110},
                   Line{lbl_ProductVersion, L"", font, 172, 36, 180},
                   Line{lbl_LegalCopyright, L"", font, 12, 66, kClientWidth - 16 - 24}}) {
        l.label.Create(panel, l.text);
        l.label.SetFont(l.font);
        l.label.SetBounds(l.left, l.top, l.width, 17);
    }

    OKButton.Create(self, IDOK, L"OK", BS_DEFPUSHBUTTON);
    OKButton.SetFont(font);
    OKButton.SetBounds((kClientWidth - 75) / 2, 116, 75, 25);
    OKButton.ModalResult = ui::mrOk;
    SetDefaultId(IDOK);
    OnCommand = [this](int id) {
        if (id == IDOK)
            SetModalResult(ui::mrOk);
    };
}

int TAboutBox::ShowFor(const TInfoVersion &version) {
    lbl_ProductName.SetText(version.ProductName());
    lbl_ProductVersion.SetText(version.ProductVersion());
    lbl_LegalCopyright.SetText(version.LegalCopyright());
    CenterOnScreen();
    return ShowModal();
}

} // namespace sysinfo
