#include "ui/MessageBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Lines(int count) {
    std::wstring text;
    for (int i = 1; i <= count; ++i)
        text += (i > 1 ? L"\n" : L"") + std::wstring(L"line ") + std::to_wstring(i);
    return text;
}

std::wstring Repeat(const std::wstring &part, int times) {
    std::wstring text;
    for (int i = 0; i < times; ++i)
        text += part;
    return text;
}

// Of a text too long for a screen, a box shows the start and end of each long word and line, and the first
// lines.
TEST(BoundedMessage, TextIsKeptToWhatAScreenShows) {
    // A letter beyond 16 bits is one pair of surrogates.
    const std::wstring a100(100, L'a'), a90(90, L'a'), pair = L"\xD83D\xDE00";
    struct Case {
        const char *what;
        std::wstring text, shown;
    };
    const Case cases[] = {
        {"a short text stays", L"Cannot open file C:\\x.txt", L"Cannot open file C:\\x.txt"},
        {"a word of 100 characters stays", a100, a100},
        {"a line of 189 characters stays", L"Copy " + a90 + L" to " + a90, L"Copy " + a90 + L" to " + a90},
        {"a line of words longer than 200 characters keeps 99 of its start and 100 of its end", Repeat(L"ab ", 100),
         Repeat(L"ab ", 33) + L"\u2026 " + Repeat(L"ab ", 33)},
        {"a long word inside a line is shortened alone", L"Cannot open " + std::wstring(150, L'p') + L" now",
         L"Cannot open " + std::wstring(49, L'p') + L"\u2026" + std::wstring(50, L'p') + L" now"},
        {"a longer line keeps 49 characters of its start and 50 of its end",
         L"S" + std::wstring(3999998, L'm') + L"E",
         L"S" + std::wstring(48, L'm') + L"\u2026" + std::wstring(49, L'm') + L"E"},
        {"each line is shortened on its own, its CR LF kept",
         L"head\r\n" + std::wstring(200, L'b') + L"\r\ntail",
         L"head\r\n" + std::wstring(49, L'b') + L"\u2026" + std::wstring(50, L'b') + L"\r\ntail"},
        {"a pair of surrogates is never cut", std::wstring(48, L'c') + pair + std::wstring(200, L'd'),
         std::wstring(48, L'c') + L"\u2026" + std::wstring(50, L'd')},
        {"15 lines stay", Lines(15), Lines(15)},
        {"16 lines show 14 and the count of the rest", Lines(16), Lines(14) + L"\nand 2 more lines"},
        {"188 lines show 14 and the count of the rest", Lines(188), Lines(14) + L"\nand 174 more lines"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ui::BoundedMessageText(c.text), c.shown) << c.what;
}

} // namespace
