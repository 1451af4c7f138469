#include "ui/Panel.h"

#include <gtest/gtest.h>

#include "driver/TestDriver.h"
#include "ui/Form.h"

namespace {

// One unit of width per character, so that the expected texts can be counted by eye.
int CharCount(std::wstring_view s) { return static_cast<int>(s.size()); }

TEST(FitTail, KeepsTheEndOfWhatDoesNotFit) {
    struct Case {
        const char *what;
        std::wstring text;
        int width;
        std::wstring shown;
    };
    const Case cases[] = {
        {"fits: shown whole", L"C:\\A\\", 10, L"C:\\A\\"},
        {"exactly as wide: shown whole", L"C:\\Long\\In\\", 11, L"C:\\Long\\In\\"},
        {"too long: the start gives way", L"C:\\Long\\Inner\\", 10, L"...\\Inner\\"},
        {"one unit short", L"C:\\Long\\In\\", 10, L"...ong\\In\\"},
        {"narrower than the ellipsis", L"C:\\Long\\Inner\\", 2, L"..."},
        {"never half a surrogate pair", L"abcdefgh\U0001F600cd", 6, L"...cd"},
        {"a whole pair fits", L"abcdefgh\U0001F600cd", 7, L"...\U0001F600cd"},
    };
    for (const Case &c : cases) EXPECT_EQ(ui::FitTail(c.text, c.width, CharCount), c.shown) << c.what;
}

// The caption is the window's text: what WM_GETTEXT gives is what the panel shows.
TEST(Panel, CaptionIsTheWindowText) {
    ui::TForm form;
    form.CreateForm(L"Panel test", 300, 100, false);
    ui::TPanel panel;
    panel.Create(form.Handle());
    panel.SetCaption(L"C:\\data;old\\");
    wchar_t text[64] = {};
    EXPECT_EQ(GetWindowTextW(panel.Handle(), text, 64), 12);
    EXPECT_STREQ(text, L"C:\\data;old\\");
    EXPECT_EQ(SendMessageW(panel.Handle(), WM_GETTEXTLENGTH, 0, 0), 12);
    // Text set from outside, as by an accessibility tool, is what the panel paints.
    SetWindowTextW(panel.Handle(), L"D:\\");
    EXPECT_EQ(panel.Caption(), L"D:\\");
}

} // namespace
