#include "MainFormFixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/CommandIds.h"
#include "ui/Shortcuts.h"

using testdriver::PressKey;

namespace {

TEST_F(MainFormTest, StartsWithLeftSideActiveOnItsFirstRow) {
    EXPECT_EQ(form->LeftTitlePanel.Color(), RGB(0, 0, 128));
    EXPECT_EQ(form->RightTitlePanel.Color(), RGB(128, 128, 128));
    EXPECT_EQ(form->LeftTitlePanel.FontColor(), RGB(255, 255, 255));
    // A first start: no settings yet, so both sides show the default directory.
    EXPECT_EQ(form->LeftFileView.Directory(), L"C:\\");
    EXPECT_EQ(form->RightFileView.Directory(), L"C:\\");
    EXPECT_EQ(form->LeftTitlePanel.Caption(), L"C:\\");
    EXPECT_EQ(form->CMDTitlePanel.Caption(), L"C:\\");
    EXPECT_EQ(form->LeftDriveCombo.Drive(), L'c');
    EXPECT_EQ(form->RightDriveCombo.Drive(), L'c');
    EXPECT_EQ(GetFocus(), LeftView());
    EXPECT_EQ(testdriver::SelectedRow(LeftView()), 0);
    EXPECT_EQ(GetWindowLongPtrW(LeftView(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(GetWindowLongPtrW(RightView(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    wchar_t caption[100] = {};
    GetWindowTextW(form->Handle(), caption, 100);
    EXPECT_STREQ(caption, L"Zelvor - version 1.0.0.0");
}

TEST_F(MainFormTest, LeftSideIsHalfTheClientWidthMinusOne) {
    struct Case {
        int clientWidth;
        int leftWidth;
    };
    for (Case c : {Case{805, 401}, Case{804, 401}, Case{600, 299}}) {
        form->SetClientSize(c.clientWidth, 400);
        testdriver::Pump();
        EXPECT_EQ(form->Left.Panel.Width(), c.leftWidth) << c.clientWidth;
        EXPECT_EQ(form->Right.Panel.Bounds().right, c.clientWidth);
        RECT cmd = form->CMDPanel.Bounds();
        EXPECT_EQ(cmd.bottom - cmd.top, 21);
        EXPECT_EQ(form->HistoryCmdBox.Bounds().left, 227);
    }
}

TEST_F(MainFormTest, MenuShortcutsNeverReachAPanel) {
    std::vector<WORD> seen;
    form->LeftFileView.OnKeyDown = [&](WORD &key, ui::TShiftState) { seen.push_back(key); };
    struct Key {
        WORD key;
        ui::TShiftState shift;
    };
    const Key taken[] = {{VK_F5, ui::ssAlt}, {VK_F9, ui::ssAlt}, {VK_F9, ui::ssShift | ui::ssAlt},
                         {VK_RETURN, ui::ssAlt}, {VK_F2, ui::ssCtrl}, {VK_F9, ui::ssShift}};
    for (Key k : taken) PressKey(k.key, k.shift);
    EXPECT_TRUE(seen.empty());
    PressKey(VK_DOWN);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], VK_DOWN);
}

// Set while the thread's menu bar was seen in menu mode; the mode is ended at once so that the test goes on.
bool g_menuModeSeen = false;
void CALLBACK WatchMenuMode(HWND, UINT, UINT_PTR, DWORD) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE))) {
        g_menuModeSeen = true;
        EndMenu();
    }
}

TEST_F(MainFormTest, ShortcutsThatDoNothingLeaveNoMenuModeBehind) {
    std::vector<WORD> seen;
    form->LeftFileView.OnKeyDown = [&](WORD &key, ui::TShiftState) { seen.push_back(key); };
    const struct {
        WORD key;
        ui::TShiftState shift;
        bool altReleasedFirst; // quick fingers let go of Alt before the other key
    } cases[] = {{VK_F5, ui::ssAlt, false},        {VK_F9, ui::ssAlt, true},
                 {VK_F9, ui::ssShift | ui::ssAlt, false}, {VK_RETURN, ui::ssAlt, true},
                 {VK_F5, ui::ssAlt, true},         {VK_RETURN, ui::ssAlt, false}};
    UINT_PTR watch = SetTimer(nullptr, 0, 20, WatchMenuMode);
    for (const auto &c : cases) {
        g_menuModeSeen = false;
        seen.clear();
        testdriver::KeyDown(VK_MENU, c.shift);
        testdriver::KeyDown(c.key, c.shift);
        if (c.altReleasedFirst) {
            testdriver::KeyUp(VK_MENU, c.shift);
            testdriver::KeyUp(c.key, c.shift & ~ui::ssAlt);
        } else {
            testdriver::KeyUp(c.key, c.shift);
            testdriver::KeyUp(VK_MENU, c.shift);
        }
        testdriver::Pump(100);
        PressKey(VK_DOWN);
        testdriver::Pump(100);
        EXPECT_FALSE(g_menuModeSeen) << c.key << " " << c.altReleasedFirst;
        // Down reaches the panel; the shortcut's own key never does.
        EXPECT_EQ(std::count(seen.begin(), seen.end(), WORD(VK_DOWN)), 1) << c.key << " " << c.altReleasedFirst;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), c.key), 0) << c.key << " " << c.altReleasedFirst;
    }
    KillTimer(nullptr, watch);
}

std::wstring ShortcutOfItem(HMENU menu, UINT id) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    std::wstring s = text;
    size_t tab = s.find(L'\t');
    return tab == std::wstring::npos ? L"" : s.substr(tab + 1);
}

TEST_F(MainFormTest, EveryShortcutMatchesItsMenuItem) {
    HMENU menu = GetMenu(form->Handle());
    const auto &entries = ui::Application().Shortcuts().Entries();
    EXPECT_EQ(entries.size(), 23u);
    for (const auto &e : entries)
        EXPECT_EQ(ShortcutOfItem(menu, e.command), ui::TShortcutTable::KeyText(e.key, e.shift)) << e.command;
}

TEST_F(MainFormTest, MenuStatesAtStart) {
    HMENU menu = GetMenu(form->Handle());
    for (UINT id : {IDM_PACK1, IDM_UNPACK1, IDM_TESTARCHIVES1, IDM_ASSOCIATEWITH1, IDM_CALCULATEOCCUPIEDSPACE1})
        EXPECT_TRUE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) << id;
    for (UINT id : {IDM_FULL1, IDM_ALLFILES1, IDM_NAME1})
        EXPECT_TRUE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) << id;
    for (UINT id : {IDM_BRIEF1, IDM_REVERSEDORDER1, IDM_PRINT1})
        EXPECT_FALSE(GetMenuState(menu, id, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED)) << id;
    EXPECT_EQ(GetMenuItemCount(menu), 6);
}

TEST_F(MainFormTest, AltF4ClosesTheMainWindow) {
    HWND main = form->Handle();
    PressKey(VK_F4, ui::ssAlt);
    EXPECT_FALSE(IsWindow(main));
}

} // namespace
