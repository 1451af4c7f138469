#include "config/OptionStore.h"

#include "config/OptionForm.h"
#include "config/SettingsKey.h"

namespace config {

void OptionSaveReg(const TOptionForm &form) {
    TSettingsKey key;
    bool ctrlAlt = form.QSItemIndex() == 1;
    key.WriteBool(L"QSAltLetters", !ctrlAlt);
    key.WriteBool(L"QSCtrlAltLetters", ctrlAlt);
    key.WriteBool(L"SaveDir", form.Ch_Dir.Checked());
    key.WriteBool(L"SavePanels", form.Ch_Pan.Checked());
    key.WriteBool(L"SaveCommand", form.Ch_Cmd.Checked());
    key.WriteString(L"FileListFont", form.FontCombo.Value());
    key.WriteColor(L"FontColor", form.FontColorCombo.Value());
    key.WriteColor(L"BackColor", form.BackColorCombo.Value());
}

void OptionLoadReg(TOptionForm &form) {
    TSettingsKey key;
    form.SetQSItemIndex(key.ReadBool(L"QSAltLetters") ? 0 : 1);
    form.Ch_Dir.SetChecked(key.ReadBool(L"SaveDir"));
    form.Ch_Pan.SetChecked(key.ReadBool(L"SavePanels"));
    form.Ch_Cmd.SetChecked(key.ReadBool(L"SaveCommand"));
    form.FontColorCombo.SetValue(key.ReadColor(L"FontColor"));
    form.BackColorCombo.SetValue(key.ReadColor(L"BackColor"));
    form.FontCombo.SetValue(key.ReadString(L"FileListFont"));
}

} // namespace config
