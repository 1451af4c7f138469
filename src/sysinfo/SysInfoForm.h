#pragma once
#include <string>
#include <vector>

#include "sysinfo/SysFacts.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Panel.h"

namespace sysinfo {

// "System Info Manager": a category tree on the left, the chosen category's rows on the right, and a
// clock in their place whenever a category has nothing to list. Rebuilt from the collector at every showing.
class TSysInfoForm : public ui::TForm {
public:
    ~TSysInfoForm() override;
    void Create();

    ui::TPanel ButtonPanel;
    ui::TButton sbRefresh;
    ui::TButton sbExit;
    ui::TTreeView tvSI;
    ui::TSplitter Splitter;
    ui::TListView lvSI;
    ui::TPanel EmptyPanel;
    ui::TStatusBar StatusBar;

    // Shows the window modally over the collector's facts.
    int ShowFor(TSysFacts &facts);

    // The show handler: the clock's text, then the tree.
    void FormCreate();
    void BuildTree();
    // The tree's selection changed: the node's rows, or the clock when it has none worth listing.
    void cmGetItemData(HTREEITEM node);
    void TimerTimer();
    void cmRefresh();
    void cmExit();
    // Ctrl+Page Down (or keypad 3) expands every node, Ctrl+Page Up (or keypad 9) collapses every node.
    void cmExpCol(WORD &key, ui::TShiftState shift);
    void ButtonPanelResize();

    std::wstring NodeText(HTREEITEM node) const;
    bool ListShown() const { return lvSI.Visible(); }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();
    void SetListShown(bool shown);
    void SetColumnCaption(int column, const std::wstring &caption);
    void ExpandAll(HTREEITEM first, UINT action);
    void AddHint(HWND control, const wchar_t *text);

    TSysFacts *facts_ = nullptr;
    ui::FontHandle listFont_, clockFont_;
    HWND tooltip_ = nullptr;
    HMENU contextMenu_ = nullptr;
    bool building_ = false;
    int treeWidth_ = 215; // 96-DPI pixels until the form is made
};

} // namespace sysinfo
