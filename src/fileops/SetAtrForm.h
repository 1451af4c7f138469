#pragma once
#include <functional>

#include "fileops/ToolDialog.h"
#include "ui/Controls.h"
#include "ui/Panel.h"

namespace fileops {

// The four classic attributes a user changes; every other bit of the attribute word is carried along.
struct TAttributeChecks {
    bool archive;
    bool readOnly;
    bool hidden;
    bool system;
};
// The checks a word shows; a word that could not be read (all bits set) shows all four checked.
TAttributeChecks ChecksOfWord(DWORD word);
// The 16-bit word the checks make of a word read from the file.
WORD WordWithChecks(DWORD word, const TAttributeChecks &checks);

// The "Change attributes" dialog of one path: archive, read-only, hidden and system as check boxes. The
// path stands in FileNamePanel, from which OK reads it back.
class TSetAtrForm : public TToolDialog {
public:
    TSetAtrForm();
    void Create();

    ui::TGroupBox AtrGroupBox;
    ui::TCheckBox CheckArchiv;
    ui::TCheckBox CheckReadOnly;
    ui::TCheckBox CheckHidden;
    ui::TCheckBox CheckSystem;
    ui::TButton Ok_Btn;
    ui::TButton Cancel_Btn;
    ui::TPanel FileNamePanel;

    // Puts the path into the panel and checks the boxes by its attributes as they are now.
    void Prepare(const std::wstring &path);
    void FormShow();
    // Writes the checked attributes when they differ from the path's present ones, then closes; a write the
    // system refuses is told with its reason.
    void Ok_BtnClick();
    void Cancel_BtnClick();

    // Reads and writes a path's attribute word; replaceable so that tests can watch the writes. A write
    // answers with the system's error code, 0 when it succeeded.
    std::function<DWORD(const std::wstring &path)> ReadAttributes;
    std::function<DWORD(const std::wstring &path, DWORD word)> WriteAttributes;

private:
    TAttributeChecks Checks() const;
};

} // namespace fileops
