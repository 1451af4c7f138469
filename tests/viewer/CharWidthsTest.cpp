#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Handles.h"
#include "viewer/CharWidths.h"

namespace {

struct WidthCase {
    const char *what;
    std::wstring text;
    bool fromTable; // the table answers (else the system must measure the line)
};

// Widths added up from the table equal what the system measures for the whole line, in both of the
// viewer's fonts; lines the table must not answer for are left to the system.
TEST(CharWidths, AddUpAsTheSystemMeasuresALine) {
    const WidthCase cases[] = {
        {"ASCII", L"The quick brown fox jumps over the lazy dog 0123456789 ~!@#$%^&*()_+{}|:\"<>?", true},
        {"Cyrillic", L"Съешь же ещё этих мягких французских булок, да выпей чаю ЁЙЪ", true},
        {"Latin-1 and box drawing",
         L"\u00e9\u00fc\u00df \u2554\u2550\u2557\u2551\u255a\u255d \u2591\u2592\u2593", true},
        {"characters from blocks far apart", L"a\u0416b\u2500c\u00a0d", true},
        {"a combining accent", L"e\u0301e", false},
        {"Arabic letters join", L"\u0645\u0631\u062d\u0628\u0627", false},
        {"a character outside the basic plane", L"x\U0001F600x", false},
        {"a control character", L"a\x01b", false},
        {"a direction mark", L"a\u200fb", false},
    };
    const BYTE charSets[] = {DEFAULT_CHARSET, OEM_CHARSET};
    for (BYTE charSet : charSets) {
        ui::FontHandle font(CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS,
                                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                        L"MS Sans Serif"));
        HDC dc = CreateCompatibleDC(nullptr);
        ASSERT_TRUE(dc);
        SelectObject(dc, font.Get());
        viewer::TCharWidths widths(dc);
        for (const WidthCase &c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", character set " + std::to_string(charSet));
            const int n = static_cast<int>(c.text.size());
            std::vector<int> expected(c.text.size());
            SIZE size{};
            ASSERT_TRUE(GetTextExtentExPointW(dc, c.text.data(), n, 0, nullptr, expected.data(), &size));
            std::vector<int> got;
            // Twice: the second answer comes from blocks filled by the first.
            for (int round = 0; round < 2; ++round) {
                EXPECT_EQ(c.fromTable, widths.Extents(c.text.data(), n, got));
                if (c.fromTable) {
                    EXPECT_EQ(expected, got);
                }
            }
        }
        DeleteDC(dc);
    }
}

} // namespace
