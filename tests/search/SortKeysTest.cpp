#include "search/SortKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string SystemKey(const std::wstring &text) {
    int n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(), -1, nullptr, 0);
    std::string key(static_cast<size_t>(n), '\0');
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(), -1, reinterpret_cast<wchar_t *>(key.data()), n);
    return key;
}

} // namespace

// The keys made from the table are the system's own, byte for byte, for plain names and for every other
// kind of name, which the system keys.
TEST(SortKeys, KeysAreTheSystemsOwnWhoeverMakesThem) {
    search::TSortKeys keys;
    ASSERT_TRUE(keys.KeysPlainTextsItself()) << "the test locale's keys are expected to be of the plain layout";
    const std::wstring cases[] = {
        L"File12345.txt", L"README", L"readme", L"ReadMe.Txt", L"x.y z", L"~$report.docx", L"a_b(1)[2]{3}!#%&+,;=@^`",
        L"Zz9", L"aB", L"Ba", L"ab", L"AB", L"...", L" lead", L"trail ", L"a", L"",
        L"a-b", L"it's", L"co-op.txt",                          // marks the locale weighs apart
        L"\u041F\u0440\u0438\u0432\u0435\u0442.txt", L"caf\u00E9", // letters beyond ASCII
        std::wstring(300, L'Q') + L".dat",                      // a key longer than the first buffer
    };
    for (const std::wstring &text : cases) {
        std::vector<char> appended{'x'};
        size_t length = keys.Append(text, appended);
        std::string expected = SystemKey(text);
        EXPECT_EQ(std::string(appended.begin() + 1, appended.end()), expected) << std::string(text.begin(), text.end());
        EXPECT_EQ(length, expected.size());
    }
}
