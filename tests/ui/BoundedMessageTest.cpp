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

// Of a text too long for a screen, a box shows the start and end of each long line and the first lines.
TEST(BoundedMessage, TextIsKeptToWhatAScreenShows) {
    const std::wstring a100(100, L'a'), pair = L"\xD83D\xDE00"; // a letter beyond 16 bits: one pair of surrogates
    struct Case {
        const char *what;
        std::wstring text, shown;
    };
    const Case cases[] = {
        {"a short text stays", L"Cannot open file C:\\x.txt", L"Cannot open file C:\\x.txt"},
        {"a line of 100 characters stays", a100, a100},
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
