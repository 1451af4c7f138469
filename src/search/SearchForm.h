#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/HistoryBox.h"
#include "search/FoundFiles.h"
#include "search/myff.h"
#include "ui/BrowseFolder.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace search {

// The list of found files: a virtual report list that shows the rows of a TFoundFiles.
class TFoundFilesView : public ui::TListView {
public:
    void Create(HWND parent, int id, const TFoundFiles &rows);
    // Tells the list how many rows there are now and repaints what it shows.
    void Publish();
    // The same while rows are only added, as during a search: the rows in sight are drawn again only when
    // other files have come among them.
    void PublishGrowth();

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

private:
    const TFoundFiles *rows_ = nullptr;
    std::vector<uint32_t> shown_; // the identities of the rows in sight at the last publishing
};

struct TSearchRun;

// The Find Files dialog: searches a folder tree for files by name masks and, optionally, a text they
// contain, lists what it finds, views a found file or takes the main window's active side to its folder.
// Created once and reused; the rows of the last search stay until the next one starts.
class TSearchForm : public ui::TForm {
public:
    TSearchForm();
    void Create();

    ui::TLabel Label1;
    ui::THistoryBox FindHistoryBox;
    ui::TLabel Label2;
    ui::TEdit FindDirEdit;
    ui::TButton FindDirEditButton; // the browse button at the field's right end
    ui::TCheckBox CheckTextSearch;
    ui::THistoryBox FindTextHistoryBox;
    ui::TButton Find_Btn;
    ui::TButton Cancel_Btn;
    TFoundFilesView FindListView;
    ui::TButton View_Btn;
    ui::TButton NewFind_Btn;
    ui::TButton GoTo_Btn;
    ui::TStatusBar stb;
    ui::TBrowseFolder BrowseFindFolder;
    TMyFF MyFF;

    // Shows a found file (its full path) in the viewer; View and F3 do nothing while it is unset.
    std::function<void(const std::wstring &path)> ViewFile;
    // Lists a found file's directory in the main window's active side.
    std::function<void(const std::wstring &directory)> GotoDirectory;

    const TFoundFiles &Rows() const { return rows_; }
    const std::wstring &StatusText() const { return status_; }
    bool Searching() const { return searching_; }

    void FormShow();
    void FormKeyDown(WORD &key, ui::TShiftState shift);
    void Find_BtnClick();
    void Cancel_BtnClick();
    void View_BtnClick();
    void NewFind_BtnClick();
    void GoTo_BtnClick();
    void FindDirEditButtonClick();
    void CheckTextSearchClick();
    void MyFFChDir(const std::wstring &name, bool &cancel);
    void MyFFAddFile(const std::wstring &path, const WIN32_FIND_DATAW &data, bool &cancel);

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void SetResultButtons(bool enabled);
    void SetStatus(const std::wstring &text);
    void ShowStatus();
    // Shows the status line and, with `list`, the rows found so far.
    void Repaint(bool list);
    // Starts the finder on a thread of its own with the dialog's settings.
    std::shared_ptr<TSearchRun> StartSearch(const std::wstring &start);
    // Meanwhile takes what it finds into the list, repaints now and then and looks at the keyboard every few
    // milliseconds, whatever the walk is waiting on.
    void WaitForSearch(TSearchRun &run);
    // Moves what the walk has found since the last call into the rows; true once the walk has ended.
    bool TakeFound(TSearchRun &run, DWORD waitMs);
    bool EscapePressed();
    // Full path of the selected row; empty when no row is selected.
    bool SelectedRow(std::wstring &directory, std::wstring &name) const;

    TFoundFiles rows_;
    std::wstring status_, shownStatus_;
    bool searching_ = false;
    bool focusOnActivate_ = false;

};

} // namespace search
