#pragma once
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "MainFormFixture.h"
#include "driver/TempDir.h"
#include "fileops/OperationForm.h"
#include "viewer/ViewForm.h"
#include "viewer/ViewIds.h"

// The real main window with its left side active in a temporary folder and its right side in another.
class ViewerTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        other.Folder(L"");
    }
    void ListSides() {
        form->Left.SetDirectory(dir.Path());
        form->Right.SetDirectory(other.Path());
        form->Left.Activate();
    }
    int Row(HWND view, const std::wstring &caption) {
        std::vector<std::wstring> captions = testdriver::Captions(view);
        auto it = std::find(captions.begin(), captions.end(), caption);
        return it == captions.end() ? -1 : static_cast<int>(it - captions.begin());
    }
    void PutCursor(const std::wstring &caption) { form->LeftFileView.SetSelected(Row(LeftView(), caption)); }

    viewer::TViewForm &Viewer() { return form->ViewForm(); }
    std::wstring MemoText() { return Viewer().ViewMemo.Text(); }
    // The rows on the screen (all the rows of a short text).
    int MemoLines() { return static_cast<int>(Viewer().ViewMemo.ScreenRows().size()); }
    // Presses F3 on the cursor row; while the viewer captioned for the path is up, runs `inside` (which
    // closes it). False when no viewer came up.
    bool ViewWithF3(const std::wstring &path, const std::function<void()> &inside) {
        bool shown = false;
        testdriver::AnswerWhenShown(L"View file : " + path, [&](HWND) {
            shown = true;
            inside();
        });
        testdriver::PressKey(VK_F3);
        testdriver::Pump(20);
        return shown;
    }

    testdriver::TempDir dir;
    testdriver::TempDir other;
};

// The text of a message box (its static control that has text).
inline BOOL CALLBACK FindMessageStatic(HWND child, LPARAM data) {
    wchar_t cls[32] = {}, text[1024] = {};
    GetClassNameW(child, cls, 32);
    GetWindowTextW(child, text, 1024);
    if (_wcsicmp(cls, L"Static") != 0 || !text[0]) return TRUE;
    *reinterpret_cast<std::wstring *>(data) = text;
    return FALSE;
}

inline std::wstring MessageText(HWND box) {
    std::wstring found;
    EnumChildWindows(box, FindMessageStatic, reinterpret_cast<LPARAM>(&found));
    return found;
}

// "ОК" and "Отмена", the prompt's buttons.
inline const std::wstring kPromptOk = L"\u041E\u041A";
inline const std::wstring kPromptCancel = L"\u041E\u0442\u043C\u0435\u043D\u0430";
