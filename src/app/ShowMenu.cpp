// The Show, Mark and source/target commands of the main menu: each acts on the active side.
#include "app/CommandIds.h"
#include "app/MainForm.h"
#include "app/Marking.h"
#include "fileops/OperationForm.h"

namespace app {

namespace {
const wchar_t kProgramMasks[] = L"*.exe;*.com;*.bat;*.cmd;*.pif";
const wchar_t kProgramMasksRead[] = L"*.bat;*.cmd;*.com;*.exe;*.pif";
} // namespace

void TMainForm::CheckRadio(int first, int last, int id) {
    CheckMenuRadioItem(GetMenu(Handle()), first, last, id, MF_BYCOMMAND);
}

void TMainForm::Show1Click() {
    TSide &side = ActiveSide();
    CheckRadio(IDM_BRIEF1, IDM_QUICKVIEW1, side.FileView.ViewStyle() == filelist::vsList ? IDM_BRIEF1 : IDM_FULL1);
    std::wstring mask = side.FileView.Mask();
    CheckRadio(IDM_ALLFILES1, IDM_CUSTOM1,
               mask == L"*.*" ? IDM_ALLFILES1 : mask == kProgramMasksRead ? IDM_PROGRAMS1 : IDM_CUSTOM1);
}

void TMainForm::Brief1Click() {
    CheckRadio(IDM_BRIEF1, IDM_QUICKVIEW1, IDM_BRIEF1);
    ActiveSide().FileView.SetViewStyle(filelist::vsList);
}

void TMainForm::Full1Click() {
    CheckRadio(IDM_BRIEF1, IDM_QUICKVIEW1, IDM_FULL1);
    ActiveSide().FileView.SetViewStyle(filelist::vsReport);
}

void TMainForm::AllFiles1Click() {
    CheckRadio(IDM_ALLFILES1, IDM_CUSTOM1, IDM_ALLFILES1);
    TSide &side = ActiveSide();
    side.FileView.SetMask(L"*.*");
    if (&side == &Left) side.FileView.SetFocus();
    side.FileView.PlaceCursor();
}

void TMainForm::Programs1Click() {
    CheckRadio(IDM_ALLFILES1, IDM_CUSTOM1, IDM_PROGRAMS1);
    TSide &side = ActiveSide();
    side.FileView.SetMask(kProgramMasks);
    side.FileView.PlaceCursor();
}

void TMainForm::Custom1Click() {
    CheckRadio(IDM_ALLFILES1, IDM_CUSTOM1, IDM_CUSTOM1);
    TSide &side = ActiveSide();
    std::wstring mask;
    if (!AskSelectionMask(L"Expand Selection", mask) || mask.empty()) return;
    side.FileView.SetMask(mask);
    side.FileView.PlaceCursor();
}

void TMainForm::SortBy(int itemId, filelist::TFileInfo column) {
    CheckRadio(IDM_NAME1, IDM_UNSORTED1, itemId);
    ActiveSide().FileView.SetSortColumn(column);
}

void TMainForm::Reversedorder1Click() {
    filelist::TFileList &view = ActiveSide().FileView;
    view.SetSortColumn(view.SortColumn());
}

void TMainForm::Rereadsource1Click() {
    TSide &side = ActiveSide();
    side.SetDirectory(side.Directory());
    side.FileView.PlaceCursor();
}

void TMainForm::SourceTarget1Click() {
    TSide &active = ActiveSide();
    std::wstring a = Left.Directory(), b = Right.Directory();
    Left.SetDirectory(b);
    Right.SetDirectory(a);
    Left.ShowDirectory(false);
    Right.ShowDirectory(false);
    SetPrompt(active.Directory());
    active.FileView.PlaceCursor();
}

void TMainForm::TargetSource1Click() {
    TSide &active = ActiveSide();
    active.SetDirectory(active.Other().Directory());
    active.ShowDirectory(true);
    active.FileView.PlaceCursor();
}

bool TMainForm::AskSelectionMask(const std::wstring &caption, std::wstring &mask) {
    fileops::TOperationForm &prompt = FileCommands.OperationForm();
    if (prompt.Ask(caption, L"Specify file type", L"", L"*.*") != ui::mrOk) return false;
    mask = prompt.EditTo.Text();
    return true;
}

void TMainForm::Selectgroup1Click() { GroupMarking(ActiveSide(), true); }
void TMainForm::Unselectgroup1Click() { GroupMarking(ActiveSide(), false); }
void TMainForm::Selectall1Click() { MarkAll(ActiveSide().FileView); }
void TMainForm::Unselectall1Click() { UnmarkAll(ActiveSide().FileView); }
void TMainForm::InvertSelection1Click() { InvertMarks(ActiveSide().FileView); }

void TMainForm::BindShowAndMarkCommands() {
    BindCommand(IDM_BRIEF1, [this] { Brief1Click(); });
    BindCommand(IDM_FULL1, [this] { Full1Click(); });
    BindCommand(IDM_ALLFILES1, [this] { AllFiles1Click(); });
    BindCommand(IDM_PROGRAMS1, [this] { Programs1Click(); });
    BindCommand(IDM_CUSTOM1, [this] { Custom1Click(); });
    BindCommand(IDM_NAME1, [this] { Name1Click(); });
    BindCommand(IDM_TYPE1, [this] { Type1Click(); });
    BindCommand(IDM_TIME1, [this] { Time1Click(); });
    BindCommand(IDM_SIZE1, [this] { Size1Click(); });
    BindCommand(IDM_UNSORTED1, [this] { Unsorted1Click(); });
    BindCommand(IDM_REVERSEDORDER1, [this] { Reversedorder1Click(); });
    BindCommand(IDM_REREADSOURCE1, [this] { Rereadsource1Click(); });
    BindCommand(IDM_SOURCETARGET1, [this] { SourceTarget1Click(); });
    BindCommand(IDM_TARGETSOURCE1, [this] { TargetSource1Click(); });
    BindCommand(IDM_SELECTGROUP1, [this] { Selectgroup1Click(); });
    BindCommand(IDM_UNSELECTGROUP1, [this] { Unselectgroup1Click(); });
    BindCommand(IDM_SELECTALL1, [this] { Selectall1Click(); });
    BindCommand(IDM_UNSELECTALL1, [this] { Unselectall1Click(); });
    BindCommand(IDM_INVERTSELECTION1, [this] { InvertSelection1Click(); });
}

} // namespace app
