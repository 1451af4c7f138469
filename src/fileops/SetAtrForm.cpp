#include "fileops/SetAtrForm.h"

#include "ui/Text.h"

namespace fileops {

namespace {
constexpr int kArchivId = 101, kReadOnlyId = 102, kHiddenId = 103, kSystemId = 104, kOkId = 105, kCancelId = 106;

WORD SetBit(WORD word, WORD bit, bool on) {
    return on ? static_cast<WORD>(word | bit) : static_cast<WORD>(word & ~bit);
}
} // namespace

TAttributeChecks ChecksOfWord(DWORD word) {
    return {(word & FILE_ATTRIBUTE_ARCHIVE) != 0, (word & FILE_ATTRIBUTE_READONLY) != 0,
            (word & FILE_ATTRIBUTE_HIDDEN) != 0, (word & FILE_ATTRIBUTE_SYSTEM) != 0};
}

WORD WordWithChecks(DWORD word, const TAttributeChecks &checks) {
    WORD w = static_cast<WORD>(word);
    w = SetBit(w, FILE_ATTRIBUTE_READONLY, checks.readOnly);
    w = SetBit(w, FILE_ATTRIBUTE_ARCHIVE, checks.archive);
    w = SetBit(w, FILE_ATTRIBUTE_SYSTEM, checks.system);
    w = SetBit(w, FILE_ATTRIBUTE_HIDDEN, checks.hidden);
    return w;
}

TSetAtrForm::TSetAtrForm() {
    ReadAttributes = [](const std::wstring &path) { return GetFileAttributesW(path.c_str()); };
    WriteAttributes = [](const std::wstring &path, DWORD word) {
        return SetFileAttributesW(path.c_str(), word) ? DWORD{ERROR_SUCCESS} : GetLastError();
    };
}

void TSetAtrForm::Create() {
    CreateToolDialog(L"Change attributes", 262, 168);
    HWND self = Handle();
    HFONT font = FormFont();
    AtrGroupBox.Create(self, L"Change attributes");
    AtrGroupBox.SetBounds(8, 34, 150, 126);
    struct Box {
        ui::TCheckBox &box;
        int id;
        const wchar_t *caption;
    };
    int top = 56;
    for (Box b : {Box{CheckArchiv, kArchivId, L"Archive"}, Box{CheckReadOnly, kReadOnlyId, L"Read only"},
                  Box{CheckHidden, kHiddenId, L"Hidden"}, Box{CheckSystem, kSystemId, L"System"}}) {
        b.box.Create(self, b.id, b.caption);
        b.box.SetBounds(24, top, 120, 17);
        b.box.SetFont(font);
        top += 24;
    }
    Ok_Btn.Create(self, kOkId, L"OK", BS_DEFPUSHBUTTON);
    Ok_Btn.SetBounds(172, 42, 82, 25);
    Ok_Btn.SetFont(font);
    Ok_Btn.OnClick = [this] { Ok_BtnClick(); };
    Cancel_Btn.Create(self, kCancelId, L"Cancel");
    Cancel_Btn.SetBounds(172, 74, 82, 25);
    Cancel_Btn.SetFont(font);
    Cancel_Btn.OnClick = [this] { Cancel_BtnClick(); };
    FileNamePanel.Create(self);
    FileNamePanel.SetBevelInner(ui::TBevel::bvLowered);
    FileNamePanel.SetAlignment(ui::TAlignment::taLeftJustify);
    FileNamePanel.SetBounds(8, 6, 246, 21);
    FileNamePanel.SetFont(font);
    AtrGroupBox.SetFont(font);
    SetDefaultId(kOkId);
    // Escape has no binding here: only the buttons and the title bar close the dialog.
    OnCancelKey = [] {};
    OnShow = [this] { FormShow(); };
}

void TSetAtrForm::Prepare(const std::wstring &path) {
    FileNamePanel.SetCaption(path);
    TAttributeChecks checks = ChecksOfWord(ReadAttributes(path));
    CheckReadOnly.SetChecked(checks.readOnly);
    CheckArchiv.SetChecked(checks.archive);
    CheckSystem.SetChecked(checks.system);
    CheckHidden.SetChecked(checks.hidden);
}

void TSetAtrForm::FormShow() {
    CenterOnMainForm();
    FocusOnShow(CheckArchiv);
}

TAttributeChecks TSetAtrForm::Checks() const {
    return {CheckArchiv.Checked(), CheckReadOnly.Checked(), CheckHidden.Checked(), CheckSystem.Checked()};
}

void TSetAtrForm::Ok_BtnClick() {
    const std::wstring &path = FileNamePanel.Caption();
    // Read again: the file may have changed while the dialog was up.
    DWORD word = ReadAttributes(path);
    // A path that cannot be read now (vanished, no access) gets nothing written rather than a word of all ones.
    DWORD error = word == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    if (word != INVALID_FILE_ATTRIBUTES) {
        WORD changed = WordWithChecks(word, Checks());
        if (changed != static_cast<WORD>(word))
            error = WriteAttributes(path, changed);
    }
    SetModalResult(ui::mrOk);
    if (error != ERROR_SUCCESS)
        throw ui::Error(L"The attributes of \"" + path + L"\" were not changed.\n\n" + ui::SystemErrorText(error));
}

void TSetAtrForm::Cancel_BtnClick() {
    SetModalResult(ui::mrCancel);
}

} // namespace fileops
