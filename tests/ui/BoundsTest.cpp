#include <gtest/gtest.h>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Panel.h"

namespace {

// Counts the size changes a window is told of.
class SizeCounter {
public:
    explicit SizeCounter(HWND hwnd) : hwnd_(hwnd) { SetWindowSubclass(hwnd, Count, 1, reinterpret_cast<DWORD_PTR>(this)); }
    ~SizeCounter() { RemoveWindowSubclass(hwnd_, Count, 1); }
    int sizes = 0;

private:
    static LRESULT CALLBACK Count(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
        if (msg == WM_WINDOWPOSCHANGING) ++reinterpret_cast<SizeCounter *>(self)->sizes;
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    HWND hwnd_;
};

RECT Placed(const ui::TWindow &w) { return w.Bounds(); }

// Placing a window where it already is costs nothing; any change still moves it.
TEST(SetBounds, PlacesOnlyWhatChanges) {
    ui::TForm form;
    form.CreateForm(L"Bounds test", 400, 300, false);
    ui::TPanel panel;
    panel.Create(form.Handle());
    ui::TComboBox combo;
    combo.Create(form.Handle(), 10, CBS_DROPDOWNLIST);
    struct Step {
        const char *what;
        int x, y, width, height;
        bool moves;
    };
    const Step steps[] = {
        {"first placing", 10, 20, 100, 50, true},
        {"the same again", 10, 20, 100, 50, false},
        {"another width", 10, 20, 120, 50, true},
        {"another place", 11, 20, 120, 50, true},
        {"another height", 11, 20, 120, 60, true},
        {"the same again", 11, 20, 120, 60, false},
    };
    for (const Step &s : steps) {
        SizeCounter panelSizes(panel.Handle()), comboSizes(combo.Handle());
        panel.SetBounds(s.x, s.y, s.width, s.height);
        // A combo box's height is its dropped-down height: the box itself stays one line high.
        combo.SetBounds(s.x, s.y + 100, s.width, s.height + 100);
        EXPECT_EQ(panelSizes.sizes > 0, s.moves) << s.what;
        EXPECT_EQ(comboSizes.sizes > 0, s.moves) << s.what;
        RECT p = Placed(panel), c = Placed(combo);
        EXPECT_EQ(p.left, s.x) << s.what;
        EXPECT_EQ(p.right - p.left, s.width) << s.what;
        EXPECT_EQ(p.bottom - p.top, s.height) << s.what;
        EXPECT_EQ(c.top, s.y + 100) << s.what;
        EXPECT_EQ(c.right - c.left, s.width) << s.what;
        EXPECT_LT(c.bottom - c.top, 50) << s.what;
    }
}

// Bounds set before a window is made are where it is made, whatever kind of window it is; until then they
// are what the object reports, so a layout can run before the windows exist.
TEST(SetBounds, BoundsSetBeforeMakingAreWhereTheWindowIsMade) {
    ui::TForm form;
    form.CreateForm(L"Bounds test", 400, 300, false);
    ui::TPanel panel;
    ui::TEdit edit;
    ui::TComboBox box;
    struct Case {
        const char *what;
        ui::TWindow &window;
        void (*make)(ui::TWindow &window, HWND parent);
        RECT expected;
    };
    const Case cases[] = {
        {"own window", panel, [](ui::TWindow &w, HWND p) { static_cast<ui::TPanel &>(w).Create(p); }, {5, 6, 105, 56}},
        {"standard control", edit, [](ui::TWindow &w, HWND p) { static_cast<ui::TEdit &>(w).Create(p, 1); },
         {10, 70, 160, 92}},
        // The box is planned with its dropped-down height; the stand-in shows the closed box.
        {"box made at first use", box,
         [](ui::TWindow &w, HWND p) { static_cast<ui::TComboBox &>(w).CreateOnFirstUse(p, 2, CBS_DROPDOWNLIST); },
         {20, 100, 220, 100}},
    };
    for (const Case &c : cases) {
        RECT e = c.expected;
        if (&c.window == &box) box.SetBounds(e.left, e.top, e.right - e.left, 200);
        else c.window.SetBounds(e.left, e.top, e.right - e.left, e.bottom - e.top);
        EXPECT_EQ(c.window.Bounds().left, e.left) << c.what;
        EXPECT_EQ(c.window.ClientWidth(), e.right - e.left) << c.what << ": the planned size";
        c.make(c.window, form.Handle());
        if (&c.window == &box) e.bottom = e.top + box.ClosedHeight();
        RECT r = c.window.Bounds();
        EXPECT_EQ(r.left, e.left) << c.what;
        EXPECT_EQ(r.top, e.top) << c.what;
        EXPECT_EQ(r.right, e.right) << c.what;
        EXPECT_EQ(r.bottom, e.bottom) << c.what;
    }
    // The stand-in's box, once made, has the planned place and opens as high as planned.
    box.MakeWindow();
    EXPECT_EQ(box.Bounds().left, 20);
    EXPECT_EQ(box.Bounds().top, 100);
}

} // namespace
