// The Commands menu's Find Files and directory tree jump.
#include "app/MainForm.h"

#include "fileops/PathRules.h"
#include "viewer/ViewForm.h"
#include "search/SearchForm.h"

namespace app {

void TMainForm::BindSearchCommands() {
    BrowseFolderTree.Flags = ui::BrowseFlag(ui::bfFileSysDirsOnly) |
                             ui::BrowseFlag(ui::bfStatusText) |
                             ui::BrowseFlag(ui::bfFileSysAncestors);
    BrowseFolderTree.ShowPathInStatusArea = true;
    BrowseFolderTree.RootFolder = ui::foMyComputer;
    BindCommand(IDM_SEARCH1, [this] { Search1Click(); });
    BindCommand(IDM_CDTREE1, [this] { CDtree1Click(); });
}

search::TSearchForm &TMainForm::SearchForm() {
    return searchForm_.Get([this](search::TSearchForm &form) {
        // Goto lists the found file's folder in the active side; its title line and the prompt name that
        // folder at once, so the rows shown are always those of the folder named above them.
        form.GotoDirectory = [this](const std::wstring &directory) {
            TSide &side = ActiveSide();
            side.SetDirectory(directory);
            side.FileView.PlaceCursor();
            side.ShowDirectory(true);
        };
        // View and F3 show the found file in the program's viewer, over the dialog.
        form.ViewFile = [this](const std::wstring &path) {
            // The found name exactly, also where the plain path would name another file.
            size_t cut = path.rfind(L'\\') + 1;
            fileops::TExactPath exact =
                fileops::ExactPathFor(path.substr(0, cut), path.substr(cut), fileops::TPathUse::fileCalls);
            if (!exact.path.empty()) ViewFile(exact.path);
        };
    });
}

void TMainForm::Search1Click() {
    search::TSearchForm &form = SearchForm();
    form.FindDirEdit.SetText(ActiveSide().Directory());
    form.ShowModal();
}

void TMainForm::CDtree1Click() {
    TSide &side = ActiveSide();
    std::wstring start = side.Directory();
    // A drive root is preselected whole, another folder without its trailing "\".
    if (start.size() != 3 && !start.empty()) start.pop_back();
    BrowseFolderTree.Directory = start;
    BrowseFolderTree.Title = L"Directory Tree";
    if (!BrowseFolderTree.Execute()) return;
    std::wstring chosen = BrowseFolderTree.Directory;
    if (chosen.empty()) return;
    if (chosen.back() != L'\\') chosen += L'\\';
    side.SetDirectory(chosen);
    side.ShowDirectory(true);
    side.FocusAndPlaceCursor();
}

} // namespace app
