#pragma once
#include <memory>
#include <string>
#include <vector>

#include "sysinfo/SysFacts.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace sysinfo {

// The caption of the drive group: type name, letter and file system, e.g. "Fixed C: (NTFS)".
std::wstring DiskGroupCaption(const std::wstring &typeName, wchar_t letter, const std::wstring &fileSystem);

// The small always-on-top window of Ctrl+L in a panel: computer and user, the panel's drive, and memory.
// The drive is read afresh at every showing; the other figures are the collector's last full collection.
class TDiskInfoForm : public ui::TForm {
public:
    void Create();

    ui::TGroupBox GroupBoxInfo;
    ui::TGroupBox GroupBoxDisk;
    ui::TGroupBox GroupBoxMemory;
    ui::TLabel lbl_comp, lbl_user;
    ui::TLabel lbl_totalspace, lbl_freespace, lbl_volumelabel, lbl_serialnumber;
    ui::TLabel lbl_freemem, lbl_totalphys, lbl_freephys, lbl_totalvirtual, lbl_freevirtual;
    ui::TButton Ok_Btn;

    // Makes the drive of `directory` the collector's current drive, fills the window from the collector,
    // takes the main window's caption, centres over it and shows modally.
    int ShowFor(TSysFacts &facts, const std::wstring &directory);
    // Fills the labels and the drive group's caption from the collector as it stands.
    void Fill(const TSysFacts &facts);
    // "Close" (Enter and Escape too): the key that closed the window must not act in the panel below.
    void Ok_BtnClick();

private:
    void AddRow(HWND parent, int top, const wchar_t *caption, ui::TLabel &value);
    std::vector<std::unique_ptr<ui::TLabel>> captions_;
};

} // namespace sysinfo
