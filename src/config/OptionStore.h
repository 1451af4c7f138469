#pragma once

namespace config {

class TOptionForm;

// Writes the Configuration dialog's state to the settings key: "QSAltLetters", "QSCtrlAltLetters",
// "SaveDir", "SavePanels", "SaveCommand", "FileListFont", "FontColor", "BackColor", in this order.
void OptionSaveReg(const TOptionForm &form);
// Sets the dialog's controls from the settings key: the quick-search group, the three save-on-exit boxes,
// the text colour, the background colour and the font, in this order.
void OptionLoadReg(TOptionForm &form);

} // namespace config
