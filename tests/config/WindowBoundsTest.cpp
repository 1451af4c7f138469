#include <gtest/gtest.h>

#include "config/WindowBounds.h"

namespace {

struct Bounds {
    int left, top, width, height;
};

TEST(WindowBounds, SavedBoundsAreBroughtWhereTheWindowCanBeUsed) {
    const RECT work{0, 0, 1280, 770};
    const int caption = 19;
    struct Case {
        const char *what;
        Bounds saved, shown;
    };
    const Case cases[] = {
        {"on screen: kept", {40, 30, 700, 380}, {40, 30, 700, 380}},
        {"partly off to the left, enough caption left: kept", {-550, 30, 700, 380}, {-550, 30, 700, 380}},
        {"off to the left", {-100000, 30, 700, 380}, {0, 30, 700, 380}},
        {"as the system clamps it", {-32768, 30, 700, 380}, {0, 30, 700, 380}},
        {"off to the right", {5000, 30, 700, 380}, {580, 30, 700, 380}},
        {"only a sliver of caption on screen", {1230, 30, 700, 380}, {580, 30, 700, 380}},
        {"above the screen", {40, -500, 700, 380}, {40, 0, 700, 380}},
        {"below the screen", {40, 100000, 700, 380}, {40, 390, 700, 380}},
        {"caption just above the bottom edge", {40, 760, 700, 380}, {40, 390, 700, 380}},
        {"no size", {40, 30, 0, 0}, {40, 30, 320, 200}},
        {"negative size", {40, 30, -5, -5}, {40, 30, 320, 200}},
        {"larger than the work area: kept", {0, 0, 2000, 1000}, {0, 0, 2000, 1000}},
    };
    for (const Case &c : cases) {
        config::TWindowPos pos = config::OnWorkArea({c.saved.top, c.saved.left, c.saved.width, c.saved.height}, work,
                                                    caption);
        EXPECT_EQ(pos.left, c.shown.left) << c.what;
        EXPECT_EQ(pos.top, c.shown.top) << c.what;
        EXPECT_EQ(pos.width, c.shown.width) << c.what;
        EXPECT_EQ(pos.height, c.shown.height) << c.what;
    }
    // A work area on a second monitor to the left of the first.
    config::TWindowPos pos = config::OnWorkArea({30, -100000, 700, 380}, RECT{-1024, 0, 0, 738}, caption);
    EXPECT_EQ(pos.left, -1024);
}

TEST(WindowBounds, NormalPositionsAreRelativeToTheWorkArea) {
    struct Case {
        const char *what;
        RECT work, monitor, normal, screen;
    };
    const Case cases[] = {
        {"taskbar at the bottom", {0, 0, 1280, 770}, {0, 0, 1280, 800}, {40, 30, 740, 410}, {40, 30, 740, 410}},
        {"taskbar at the top", {0, 40, 1280, 800}, {0, 0, 1280, 800}, {40, 30, 740, 410}, {40, 70, 740, 450}},
        {"taskbar at the left", {60, 0, 1280, 800}, {0, 0, 1280, 800}, {40, 30, 740, 410}, {100, 30, 800, 410}},
    };
    for (const Case &c : cases) {
        RECT r = config::WorkspaceToScreen(c.normal, c.work, c.monitor);
        EXPECT_EQ(r.left, c.screen.left) << c.what;
        EXPECT_EQ(r.top, c.screen.top) << c.what;
        EXPECT_EQ(r.right, c.screen.right) << c.what;
        EXPECT_EQ(r.bottom, c.screen.bottom) << c.what;
    }
}

} // namespace
