#include "search/TextSrch.h"
#include "search/FileTextScanner.h"

#include "TempTree.h"
#include "search/Handles.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<int32_t> AllHits(TTextSearch &search, const std::string &text) {
    std::vector<int32_t> hits;
    for (int32_t p = search.Find(text); p > 0; p = search.FindNext())
        hits.push_back(p);
    return hits;
}

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The plain way: try every start, and after a hit go on behind it.
std::vector<int32_t> NaiveHits(const std::string &pattern, const std::string &text) {
    std::vector<int32_t> hits;
    if (pattern.empty())
        return hits;
    for (size_t i = 0; i + pattern.size() <= text.size();) {
        size_t k = 0;
        while (k < pattern.size() && Fold(text[i + k]) == Fold(pattern[k]))
            ++k;
        if (k == pattern.size()) {
            hits.push_back(static_cast<int32_t>(i + 1));
            i += pattern.size();
        } else {
            ++i;
        }
    }
    return hits;
}

std::string RandomText(std::mt19937 &rng, size_t maxLength, const std::string &alphabet) {
    std::string s(std::uniform_int_distribution<size_t>(0, maxLength)(rng), ' ');
    for (char &c : s)
        c = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)];
    return s;
}

struct HitCase {
    const char *what;
    std::string pattern;
    std::string text;
    std::vector<int32_t> hits;
};

} // namespace

TEST(TextSearch, ReportsEveryNonOverlappingOccurrenceIgnoringCase) {
    const HitCase cases[] = {
        {"lower pattern in upper text", "abc", "xxABCxx", {3}},
        {"upper pattern in lower text", "ABC", "xxabcxx", {3}},
        {"text shorter than pattern", "abc", "ab", {}},
        {"one-byte pattern, empty text", "a", "", {}},
        {"hits do not overlap", "aa", "aaaa", {1, 3}},
        {"hit at the very end", "end", "the END", {5}},
        {"text equal to pattern", "Zelvor", "zELVOR", {1}},
        {"partial match must not step over a hit", "xyab", "zyabxyab", {5}},
        {"several one-byte hits", "x", "xAXbx", {1, 3, 5}},
        {"zero bytes are ordinary bytes", std::string("a\0b", 3), std::string("xa\0a\0b", 6), {4}},
        {"empty pattern finds nothing", "", "abc", {}},
        {"absent", "needle", "haystack without it", {}},
    };
    for (const HitCase &c : cases) {
        TTextSearch search;
        search.SetPattern(c.pattern);
        EXPECT_EQ(AllHits(search, c.text), c.hits) << c.what;
        EXPECT_EQ(search.FoundCount(), static_cast<int32_t>(c.hits.size())) << c.what;
        EXPECT_FALSE(search.Found()) << c.what;
        EXPECT_EQ(search.FoundPosition(), 0) << c.what;
    }
}

TEST(TextSearch, FindStartsOverAndResetsTheCount) {
    TTextSearch search;
    search.SetPattern("aa");
    const std::string text = "aaaa";
    EXPECT_EQ(search.Find(text), 1);
    EXPECT_EQ(search.FindNext(), 3);
    EXPECT_TRUE(search.Found());
    EXPECT_EQ(search.FoundCount(), 2);
    EXPECT_EQ(search.Find(text), 1);
    EXPECT_EQ(search.FoundCount(), 1);
    EXPECT_EQ(search.FoundPosition(), 1);
}

TEST(TextSearch, FoldsTheAnsiCodePage) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "needs code page 1252";
    TTextSearch search;
    search.SetPattern("\xC4rger"); // Ärger
    const std::string text = "kein \xE4RGER";
    EXPECT_EQ(search.Find(text), 6);
}

TEST(TextSearch, AgreesWithNaiveSearchOnRandomTexts) {
    std::mt19937 rng(7);
    for (int round = 0; round < 4400; ++round) {
        // Long texts too, which are checked sixteen windows at a time.
        const bool longText = round % 11 == 0;
        const std::string pattern = RandomText(rng, longText ? 7 : 5, "aAbBc");
        const std::string text = RandomText(rng, longText ? 20000 : 60, longText ? "aAbBcdefgh" : "aAbBc");
        TTextSearch search;
        search.SetPattern(pattern);
        ASSERT_EQ(AllHits(search, text), NaiveHits(pattern, text)) << "pattern " << pattern << " text " << text;
    }
}

TEST(FileTextScanner, FindsOccurrencesCutByBlockBoundaries) {
    TempTree tree;
    std::mt19937 rng(11);
    TFileTextScanner scanner;
    for (int round = 0; round < 300; ++round) {
        std::string pattern = RandomText(rng, 6, "aAbB");
        if (pattern.empty())
            pattern = "ab";
        const std::string text = RandomText(rng, 40, "aAbB");
        const std::wstring path = tree.File(L"f" + std::to_wstring(round % 7) + L".txt", text);
        scanner.SetBlockSize(std::uniform_int_distribution<size_t>(1, 9)(rng));
        TTextSearch search;
        search.SetPattern(pattern);
        const bool expected = !NaiveHits(pattern, text).empty();
        ASSERT_EQ(scanner.Scan(path, search) == TFileTextScanner::TResult::Found, expected)
            << "pattern " << pattern << " text " << text << " block " << scanner.BlockSize();
    }
}

TEST(FileTextScanner, LeavesTheFileAsItWas) {
    TempTree tree;
    const std::wstring path = tree.File(L"old.txt", "some text with a needle in it");
    FILETIME stamp{};
    SYSTEMTIME st{2001, 2, 0, 3, 4, 5, 6, 0};
    SystemTimeToFileTime(&st, &stamp);
    TempTree::SetWriteTime(path, stamp);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    const DWORD attributes = GetFileAttributesW(path.c_str());

    TTextSearch search;
    search.SetPattern("NEEDLE");
    TFileTextScanner scanner(4);
    EXPECT_EQ(scanner.Scan(path, search), TFileTextScanner::TResult::Found);
    const FILETIME after = TempTree::WriteTime(path);
    EXPECT_EQ(after.dwLowDateTime, stamp.dwLowDateTime);
    EXPECT_EQ(after.dwHighDateTime, stamp.dwHighDateTime);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), attributes);
}

TEST(FileTextScanner, ReadsAFileOthersAreWritingButNotALockedOne) {
    TempTree tree;
    const std::wstring path = tree.File(L"busy.txt", "needle");
    TTextSearch search;
    search.SetPattern("needle");
    TFileTextScanner scanner;
    {
        UniqueFileHandle writer(NullIfInvalid(
            CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)));
        ASSERT_TRUE(writer);
        EXPECT_EQ(scanner.Scan(path, search), TFileTextScanner::TResult::Found);
    }
    {
        UniqueFileHandle locker(
            NullIfInvalid(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
        ASSERT_TRUE(locker);
        EXPECT_EQ(scanner.Scan(path, search), TFileTextScanner::TResult::Unreadable);
    }
    EXPECT_EQ(scanner.Scan(tree.Root() + L"missing.txt", search), TFileTextScanner::TResult::Unreadable);
}
