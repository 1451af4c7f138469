#include <gtest/gtest.h>

#include <vector>

#include "caption/Gradient.h"

using namespace caption;

namespace {

const COLORREF kMaroon = RGB(128, 0, 0);
const COLORREF kEnd = RGB(0, 64, 255);

struct BandCase {
    int width;
    int numColors;
    int emptyBands;
    // Some bands worked out by hand: index, edges relative to the area's left, colour.
    struct Band {
        int index, left, right;
        COLORREF color;
    };
    std::vector<Band> bands;
};

TEST(GradientTest, BandEdgesAndColoursRoundToTheNearest) {
    const BandCase cases[] = {
        {100, 1, 0, {{0, 0, 100, kMaroon}}},
        {300, 1, 0, {{0, 0, 300, kMaroon}}},
        {100, 2, 0, {{0, 0, 50, kMaroon}, {1, 50, 100, kEnd}}},
        {300, 2, 0, {{0, 0, 150, kMaroon}, {1, 150, 300, kEnd}}},
        // 8 x 100 / 64 = 12.5 goes up; band 32 has red 128 - 65.02, green 32.51, blue 129.52.
        {100, 64, 0,
         {{0, 0, 2, kMaroon}, {1, 2, 3, RGB(126, 1, 4)}, {8, 13, 14, RGB(112, 8, 32)}, {32, 50, 52, RGB(63, 33, 130)},
          {63, 98, 100, kEnd}}},
        {300, 64, 0, {{0, 0, 5, kMaroon}, {1, 5, 9, RGB(126, 1, 4)}, {63, 295, 300, kEnd}}},
        // More bands than pixels: 156 of them have no width, the first and the last among them.
        {100, 256, 156,
         {{0, 0, 0, kMaroon}, {1, 0, 1, RGB(127, 0, 1)}, {128, 50, 50, RGB(64, 32, 128)}, {255, 100, 100, kEnd}}},
        {300, 256, 0, {{0, 0, 1, kMaroon}, {1, 1, 2, RGB(127, 0, 1)}, {2, 2, 4, RGB(127, 1, 2)}, {255, 299, 300, kEnd}}},
    };
    const int left = 20;
    for (const BandCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.numColors << " bands on " << c.width);
        std::vector<TBand> bands = GradientBands(left, c.width, c.numColors, kMaroon, kEnd);
        ASSERT_EQ(bands.size(), static_cast<size_t>(c.numColors));
        EXPECT_EQ(bands.front().left, left);
        EXPECT_EQ(bands.back().right, left + c.width);
        int empty = 0;
        for (size_t i = 0; i < bands.size(); ++i) {
            if (i > 0) {
                EXPECT_EQ(bands[i].left, bands[i - 1].right) << i;
            }
            if (bands[i].right == bands[i].left) ++empty;
        }
        EXPECT_EQ(empty, c.emptyBands);
        for (const auto &b : c.bands) {
            EXPECT_EQ(bands[b.index].left, left + b.left) << b.index;
            EXPECT_EQ(bands[b.index].right, left + b.right) << b.index;
            EXPECT_EQ(bands[b.index].color, b.color) << b.index;
        }
    }
}

TEST(GradientTest, NumColorsIgnoresValuesBelowOneAndCutsAt256) {
    struct Case {
        int current, requested, result;
    };
    for (Case c : {Case{64, 0, 64}, Case{64, -5, 64}, Case{64, 1, 1}, Case{10, 100, 100}, Case{64, 256, 256},
                   Case{64, 257, 256}, Case{64, 100000, 256}})
        EXPECT_EQ(ClampNumColors(c.current, c.requested), c.result) << c.current << " asked " << c.requested;
}

TEST(GradientTest, GradientShowsAsTheSettingAndTheScreenDepthAllow) {
    struct Case {
        TGradEnabled enabled;
        bool active;
        int bitsPerPixel;
        bool drawn;
    };
    const Case cases[] = {
        {geAlways, false, 4, true},      {geNever, true, 32, false},      {geWhenActive, true, 4, true},
        {geWhenActive, false, 32, false}, {geSmart, true, 8, true},        {geSmart, true, 4, false},
        {geSmart, false, 8, false},       {geSmart, false, 16, true},      {geSmart, false, 9, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GradientWanted(c.enabled, c.active, c.bitsPerPixel), c.drawn)
            << c.enabled << " active " << c.active << " at " << c.bitsPerPixel;
}

} // namespace
