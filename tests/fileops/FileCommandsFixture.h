#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "app/MainFormFixture.h"
#include "driver/TempDir.h"
#include "fileops/OperationForm.h"
#include "fileops/SetAtrForm.h"

using Names = std::vector<std::wstring>;

// The names in a folder as the system lists them (its exact names), sorted.
inline Names Listing(const std::wstring &dir) { return testdriver::NamesIn(dir); }

// The real main window with its left side in one temporary folder and its right side in another.
class FileCommandsTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        target.Folder(L"");
    }
    void ListSides() {
        form->Left.SetDirectory(source.Path());
        form->Right.SetDirectory(target.Path());
        form->Left.Activate();
    }
    int Row(const std::wstring &caption) {
        std::vector<std::wstring> captions = testdriver::Captions(LeftView());
        auto it = std::find(captions.begin(), captions.end(), caption);
        return it == captions.end() ? -1 : static_cast<int>(it - captions.begin());
    }
    void Mark(const std::wstring &caption) { form->LeftFileView.SetMarked(Row(caption), true); }
    void PutCursor(const std::wstring &caption) { form->LeftFileView.SetSelected(Row(caption)); }
    bool AnyMarked(HWND view) {
        for (const testdriver::RowView &row : testdriver::ReadRows(view))
            if (row.marked)
                return true;
        return false;
    }
    bool Run(app::TFileCommand command) { return form->FileCommands.Run(form->Left, command); }
    fileops::TOperationForm &Prompt() { return form->FileCommands.OperationForm(); }
    fileops::TSetAtrForm &AtrForm() { return form->FileCommands.SetAtrForm(); }

    testdriver::TempDir source;
    testdriver::TempDir target;
};

// "ОК" and "Отмена", the prompt's buttons.
inline const std::wstring kOk = L"\u041E\u041A";
inline const std::wstring kCancel = L"\u041E\u0442\u043C\u0435\u043D\u0430";
