#pragma once
#include "sysinfo/InfVer.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Panel.h"

namespace sysinfo {

// "About": the program's icon, product name, version and legal notice.
class TAboutBox : public ui::TForm {
public:
    void Create();

    ui::TPanel Panel1;
    ui::TLabel ProgramIcon;
    ui::TLabel ProductNameCaption, VersionCaption;
    ui::TLabel lbl_ProductName, lbl_ProductVersion, lbl_LegalCopyright;
    ui::TButton OKButton;

    // Takes the three texts from the version reader as it stands and shows the box modally.
    int ShowFor(const TInfoVersion &version);

private:
    ui::FontHandle boldFont_;
};

} // namespace sysinfo
