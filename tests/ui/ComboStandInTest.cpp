// A combo box made at first use: the stand-in must look and sit like the box, and every way of using it
// must end in the real box, in the stand-in's place.
#include <gtest/gtest.h>
#include <windows.h>

#include "driver/TestDriver.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace {

const DWORD kEditBox = CBS_DROPDOWN | CBS_AUTOHSCROLL;
const DWORD kListBox = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;

struct Shape {
    const char *name;
    DWORD style;
    int fieldHeight; // -1: the font's
};
const Shape kShapes[] = {{"drop-down with an edit", kEditBox, -1}, {"owner-drawn list", kListBox, 13}};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

class ComboStandInTest : public testing::Test {
protected:
    void SetUp() override {
        form.CreateForm(L"Stand-in test", 400, 200, false);
        font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
        form.Show();
    }
    void TearDown() override { DeleteObject(font); }
    void Prepare(ui::TComboBox &box, const Shape &shape, bool standIn, int id, int y) {
        if (standIn) box.CreateOnFirstUse(form.Handle(), id, shape.style);
        else box.Create(form.Handle(), id, shape.style);
        box.SetFont(font);
        if (shape.fieldHeight >= 0) box.SetItemHeights(shape.fieldHeight, 16);
        box.SetBounds(10, y, 200, 150);
    }
    ui::TForm form;
    HFONT font = nullptr;
};

// The layout does not move when the box is made: the stand-in is as high as the box, and the box takes its
// bounds, identifier, font and object.
TEST_F(ComboStandInTest, BoxTakesTheStandInsPlace) {
    for (const Shape &shape : kShapes) {
        ui::TComboBox real, later;
        Prepare(real, shape, false, 1, 10);
        Prepare(later, shape, true, 2, 60);
        EXPECT_FALSE(later.WindowMade()) << shape.name;
        EXPECT_NE(ClassOf(later.Handle()), L"ComboBox") << shape.name;
        EXPECT_EQ(later.Height(), real.Height()) << shape.name << ": the stand-in is as high as the box";
        EXPECT_EQ(later.ClosedHeight(), real.Height()) << shape.name;
        HWND standIn = later.Handle();
        later.MakeWindow();
        ASSERT_TRUE(later.WindowMade()) << shape.name;
        EXPECT_FALSE(IsWindow(standIn)) << shape.name << ": the stand-in is gone";
        EXPECT_EQ(ui::TWindow::FromHandle(standIn), nullptr) << shape.name;
        EXPECT_EQ(ui::TWindow::FromHandle(later.Handle()), &later) << shape.name;
        EXPECT_EQ(ClassOf(later.Handle()), L"ComboBox") << shape.name;
        EXPECT_EQ(GetDlgCtrlID(later.Handle()), 2) << shape.name;
        RECT r = later.Bounds();
        EXPECT_EQ(r.left, 10) << shape.name;
        EXPECT_EQ(r.top, 60) << shape.name;
        EXPECT_EQ(r.right - r.left, 200) << shape.name;
        EXPECT_EQ(later.Height(), real.Height()) << shape.name;
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(later.Handle(), WM_GETFONT, 0, 0)), font) << shape.name;
        // The remembered dropped-down height came along: the list opens as high as the made-at-once box's.
        real.SetDroppedDown(true);
        later.SetDroppedDown(true);
        COMBOBOXINFO a{}, b{};
        a.cbSize = b.cbSize = sizeof a;
        ASSERT_TRUE(GetComboBoxInfo(real.Handle(), &a) && GetComboBoxInfo(later.Handle(), &b)) << shape.name;
        RECT ra, rb;
        GetWindowRect(a.hwndList, &ra);
        GetWindowRect(b.hwndList, &rb);
        EXPECT_EQ(rb.bottom - rb.top, ra.bottom - ra.top) << shape.name;
        real.SetDroppedDown(false);
        later.SetDroppedDown(false);
        // Made once only.
        HWND made = later.Handle();
        later.MakeWindow();
        EXPECT_EQ(later.Handle(), made) << shape.name;
    }
}

// The box keeps the stand-in's place among its siblings, so Tab reaches it where it reached the stand-in.
TEST_F(ComboStandInTest, BoxKeepsTheTabOrder) {
    ui::TEdit before, after;
    ui::TComboBox box;
    before.Create(form.Handle(), 1);
    box.CreateOnFirstUse(form.Handle(), 2, kEditBox);
    after.Create(form.Handle(), 3);
    box.MakeWindow();
    EXPECT_EQ(GetWindow(before.Handle(), GW_HWNDNEXT), box.Handle());
    EXPECT_EQ(GetWindow(box.Handle(), GW_HWNDNEXT), after.Handle());
}

// Whatever the first use, it ends in the real box doing what the user or caller asked of it.
TEST_F(ComboStandInTest, EachFirstUseMakesTheBoxAndIsDoneByIt) {
    struct Case {
        const char *what;
        DWORD style;
        void (*use)(ui::TComboBox &box);
        bool dropped;   // the list is open afterwards
        bool editFocus; // the focus is in the box's edit (else in the box)
    };
    const Case cases[] = {
        {"focus given to a box with an edit", kEditBox, [](ui::TComboBox &b) { b.SetFocus(); }, false, true},
        {"focus given to a list box", kListBox, [](ui::TComboBox &b) { b.SetFocus(); }, false, false},
        {"click on the arrow", kEditBox,
         [](ui::TComboBox &b) { testdriver::Click(b.Handle(), b.Width() - 5, b.Height() / 2); }, true, false},
        {"click in the edit field", kEditBox,
         [](ui::TComboBox &b) { testdriver::Click(b.Handle(), 20, b.Height() / 2); }, false, true},
        {"click on a list box's field", kListBox,
         [](ui::TComboBox &b) { testdriver::Click(b.Handle(), 20, b.Height() / 2); }, true, false},
        {"a combo box message sent to the stand-in", kEditBox,
         [](ui::TComboBox &b) { SendMessageW(b.Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"x")); }, false,
         false},
        {"the drop-down opened by a call", kListBox, [](ui::TComboBox &b) { b.SetDroppedDown(true); }, true, false},
        // Pressed only: released over the edit, the right button would open the edit's menu.
        {"the right button pressed on the edit field", kEditBox,
         [](ui::TComboBox &b) { SendMessageW(b.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 5)); }, false,
         false},
    };
    for (const Case &c : cases) {
        ui::TComboBox box;
        box.CreateOnFirstUse(form.Handle(), 5, c.style);
        box.SetFont(font);
        box.SetBounds(10, 10, 200, 150);
        const std::wstring name = L"C:\\Мои файлы\\a;b.txt";
        if (c.style == kEditBox) box.SetText(name);
        form.SetFocus();
        testdriver::Pump();
        c.use(box);
        testdriver::Pump();
        ASSERT_TRUE(box.WindowMade()) << c.what;
        EXPECT_EQ(box.DroppedDown(), c.dropped) << c.what;
        if (c.editFocus) {
            EXPECT_EQ(GetFocus(), box.EditHandle()) << c.what;
        } else if (c.style == kListBox && !c.dropped) {
            EXPECT_EQ(GetFocus(), box.Handle()) << c.what;
        }
        if (c.style == kEditBox) {
            EXPECT_EQ(box.Text(), name) << c.what << ": the text typed before stays, whole";
        }
        box.SetDroppedDown(false);
    }
}

// What needs no list leaves the stand-in alone: its text, a closed drop-down, its place and font.
TEST_F(ComboStandInTest, QueriesThatNeedNoListLeaveTheStandIn) {
    ui::TComboBox box;
    box.CreateOnFirstUse(form.Handle(), 5, kEditBox);
    box.SetFont(font);
    box.SetBounds(10, 10, 200, 150);
    box.SetText(L"dir");
    EXPECT_EQ(box.Text(), L"dir");
    EXPECT_FALSE(box.DroppedDown());
    box.SetDroppedDown(false);
    box.Invalidate();
    testdriver::Pump();
    EXPECT_FALSE(box.WindowMade());
    // Anything that reads the list makes it, and the list is the box's own.
    EXPECT_EQ(box.Count(), 0);
    EXPECT_TRUE(box.WindowMade());
}

} // namespace
