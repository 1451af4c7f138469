#include <gtest/gtest.h>

#include "caption/CaptionGeometry.h"

using namespace caption;

// Found by argument lookup for the system's RECT.
static bool operator==(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream &operator<<(std::ostream &out, const RECT &r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

TEST(LayoutTest, CaptionTextAreaIconAndButtonsFollowTheWindowStyle) {
    TFrameMetrics m{};
    m.sizeFrame = {4, 4};
    m.dialogFrame = {3, 3};
    m.border = {1, 1};
    m.captionHeight = 19;
    m.smallCaptionHeight = 15;
    m.buttonWidth = 18;
    m.smallButtonWidth = 14;
    m.smallIcon = {16, 16};
    const RECT none{};
    struct Case {
        const char *what;
        TWindowShape window;
        RECT caption, textArea;
        int textsLeft; // where the texts start: after the icon when there is one
        RECT close, maximize, minimize, help;
    };
    const DWORD dialog = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const Case cases[] = {
        {"main window", {813, 405, WS_OVERLAPPEDWINDOW, 0, true}, {4, 4, 809, 22}, {4, 4, 753, 22}, 22,
         {791, 6, 807, 20}, {773, 6, 789, 20}, {757, 6, 773, 20}, none},
        {"maximise box only", {813, 405, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, 0, true},
         {4, 4, 809, 22}, {4, 4, 753, 22}, 22, {791, 6, 807, 20}, {773, 6, 789, 20}, {757, 6, 773, 20}, none},
        {"sizeable tool window", {200, 100, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW, true},
         {4, 4, 196, 18}, {4, 4, 180, 18}, 4, {182, 6, 194, 16}, none, none, none},
        {"dialog with help", {300, 200, dialog, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, true}, {3, 3, 297, 21},
         {3, 3, 257, 21}, 3, {279, 5, 295, 19}, none, none, {261, 5, 277, 19}},
        {"no system menu", {300, 200, WS_POPUP | WS_CAPTION, 0, true}, {3, 3, 297, 21}, {3, 3, 297, 21}, 3, none,
         none, none, none},
        {"too narrow for any text", {60, 100, WS_OVERLAPPEDWINDOW, 0, true}, {4, 4, 56, 22}, {4, 4, 6, 22}, 22,
         {38, 6, 54, 20}, {20, 6, 36, 20}, {4, 6, 20, 20}, none},
        {"older style: text after the menu box", {813, 405, WS_OVERLAPPEDWINDOW, 0, false}, {4, 4, 809, 22},
         {22, 4, 753, 22}, 22, none, none, none, none},
        {"older style minimised", {160, 24, WS_CAPTION | WS_SYSMENU | WS_MINIMIZE, 0, false}, {4, 4, 156, 22},
         {22, 4, 136, 22}, 22, none, none, none, none},
        {"new style minimised", {160, 24, WS_CAPTION | WS_SYSMENU | WS_MINIMIZE, 0, true}, {3, 3, 157, 21},
         {3, 3, 137, 21}, 21, {139, 5, 155, 19}, none, none, none},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TCaptionLayout layout = LayOutCaption(c.window, m);
        ASSERT_TRUE(layout.painted);
        EXPECT_EQ(layout.caption, c.caption);
        EXPECT_EQ(layout.textArea, c.textArea);
        EXPECT_EQ(layout.textsArea.left, c.textsLeft);
        EXPECT_EQ(layout.textsArea.right, c.textArea.right);
        const RECT *buttons[kButtonCount] = {&c.close, &c.maximize, &c.minimize, &c.help};
        for (int b = 0; b < kButtonCount && c.window.newStyle; ++b) EXPECT_EQ(layout.button[b], *buttons[b]) << "button " << b;
    }
    EXPECT_FALSE(LayOutCaption({300, 200, WS_POPUP | WS_BORDER, 0, true}, m).painted);
}

} // namespace
