// Random inputs for the pure parsers and matchers, each held against a simple reference where one exists.
#include "FuzzBudget.h"

#include "filelist/Masks.h"
#include "hlpc/HelpSource.h"
#include "search/FileDate.h"
#include "search/TextSrch.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {

using fuzz::TFuzzBudget;

// Wildcard matching the textbook way: a star tries every length.
bool BacktrackingMatch(std::wstring_view name, std::wstring_view mask) {
    if (mask.empty())
        return name.empty();
    if (mask[0] == L'*')
        return BacktrackingMatch(name, mask.substr(1)) || (!name.empty() && BacktrackingMatch(name.substr(1), mask));
    if (name.empty())
        return false;
    return (mask[0] == L'?' || mask[0] == name[0]) && BacktrackingMatch(name.substr(1), mask.substr(1));
}

bool HasWildcard(const std::wstring &mask) { return mask.find_first_of(L"*?") != std::wstring::npos; }

// After the first star only stars and question marks: then taking the first occurrence of a literal can
// never differ from trying every one.
bool NoLiteralAfterAStar(const std::wstring &mask) {
    size_t star = mask.find(L'*');
    return star == std::wstring::npos || mask.find_first_not_of(L"*?", star) == std::wstring::npos;
}

TEST(MaskFuzz, NeverMatchesWhatAFullMatcherRejectsAndAgreesWhereNoStarIsFollowedByText) {
    TFuzzBudget budget;
    SCOPED_TRACE("ZELVOR_FUZZ_SEED=" + std::to_string(budget.Seed()));
    const std::wstring maskAlphabet = L"ab.*?";
    const std::wstring nameAlphabet = L"ab.";
    while (budget.More()) {
        std::wstring mask = budget.Pick(maskAlphabet, 7);
        std::wstring name = budget.Pick(nameAlphabet, 9);
        for (bool exact : {true, false}) {
            bool got = filelist::MatchesMask(name, mask, exact);
            if (!HasWildcard(mask)) {
                bool expected = exact ? name == mask : !mask.empty() && name.find(mask) != std::wstring::npos;
                ASSERT_EQ(got, expected) << "mask '" << std::string(mask.begin(), mask.end()) << "' name '"
                                         << std::string(name.begin(), name.end()) << "' exact " << exact;
                continue;
            }
            // "*.*" stands for every name, as the system's own matching has it.
            bool full = mask == L"*.*" || BacktrackingMatch(name, mask);
            if (got) {
                ASSERT_TRUE(full) << "mask '" << std::string(mask.begin(), mask.end()) << "' name '"
                                  << std::string(name.begin(), name.end()) << "'";
            }
            if (NoLiteralAfterAStar(mask)) {
                ASSERT_EQ(got, full) << "mask '" << std::string(mask.begin(), mask.end()) << "' name '"
                                     << std::string(name.begin(), name.end()) << "'";
            }
        }
    }
}

TEST(MaskFuzz, ListsFromAnyTextHoldSingleMasksThatNameEveryPiece) {
    TFuzzBudget budget;
    SCOPED_TRACE("ZELVOR_FUZZ_SEED=" + std::to_string(budget.Seed()));
    const std::wstring alphabet = L"aB.*?;, \x0416\x0436";
    while (budget.More()) {
        std::wstring text = budget.Pick(alphabet, 12);
        filelist::TMaskList list;
        filelist::BuildMaskList(text, list, true, false);
        ASSERT_FALSE(list.empty());
        for (const std::wstring &mask : list) {
            ASSERT_EQ(mask.find_first_of(L";,"), std::wstring::npos);
            // With stars added, a mask without a dot always ends in a star.
            if (mask.find(L'.') == std::wstring::npos) {
                ASSERT_EQ(mask.back(), L'*');
            }
            ASSERT_EQ(mask.find_first_of(L"B\x0416"), std::wstring::npos) << "not folded";
        }
        std::wstring name = budget.Pick(std::wstring(L"aAbB.\x0416\x0436"), 8);
        filelist::MatchesMaskList(name, list, true, false);
    }
}

// Every non-overlapping occurrence, found by trying each start with the system's own ANSI lower case.
std::vector<int32_t> ReferenceHits(const std::string &pattern, const std::string &text) {
    static const std::array<unsigned char, 256> lower = [] {
        std::array<unsigned char, 256> table{};
        for (int b = 0; b < 256; ++b) {
            char c[2] = {static_cast<char>(b), 0};
            CharLowerBuffA(c, 1);
            table[b] = static_cast<unsigned char>(c[0]);
        }
        return table;
    }();
    auto eq = [](char a, char b) {
        return lower[static_cast<unsigned char>(a)] == lower[static_cast<unsigned char>(b)];
    };
    std::vector<int32_t> hits;
    if (pattern.empty())
        return hits;
    for (auto it = text.begin();;) {
        it = std::search(it, text.end(), pattern.begin(), pattern.end(), eq);
        if (it == text.end())
            break;
        hits.push_back(static_cast<int32_t>(it - text.begin()) + 1);
        it += static_cast<std::ptrdiff_t>(pattern.size());
    }
    return hits;
}

TEST(TextSearchFuzz, FindsWhatACaseFoldingStdSearchFinds) {
    TFuzzBudget budget;
    SCOPED_TRACE("ZELVOR_FUZZ_SEED=" + std::to_string(budget.Seed()));
    // Letters in both cases, accented letters of the ANSI page, and bytes with no case at all.
    const std::string alphabet("aAbB\xC0\xE0\x9F\xFF\x00 \x80", 11);
    TTextSearch search;
    while (budget.More()) {
        std::string pattern = budget.Pick(alphabet, 6);
        std::string text = budget.Pick(alphabet, budget.OneIn(8) ? 4000 : 80);
        search.SetPattern(pattern);
        std::vector<int32_t> hits;
        for (int32_t p = search.Find(text); p > 0; p = search.FindNext())
            hits.push_back(p);
        ASSERT_EQ(hits, ReferenceHits(pattern, text)) << "pattern of " << pattern.size() << " bytes in "
                                                      << text.size() << " bytes";
    }
}

TEST(FileDateFuzz, EveryDateOfThePackedRangeComesBackWithinTwoSecondsAndOthersAreRefused) {
    TFuzzBudget budget;
    SCOPED_TRACE("ZELVOR_FUZZ_SEED=" + std::to_string(budget.Seed()));
    const double first = EncodeDateTime(1980, 1, 2);      // a day of margin for the time zone
    const double last = EncodeDateTime(2107, 12, 30, 23); // likewise
    std::uniform_real_distribution<double> inRange(first, last);
    const double outside[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(), 1e300, -1e300, -1.0, 0.0,
                              EncodeDateTime(1979, 6, 1), EncodeDateTime(2108, 6, 1)};
    while (budget.More()) {
        if (budget.OneIn(16)) {
            FILETIME utc{};
            ASSERT_FALSE(DateTimeToUtcFileTime(outside[budget.Below(std::size(outside))], utc));
            continue;
        }
        double value = inRange(budget.Rng());
        FILETIME utc{};
        ASSERT_TRUE(DateTimeToUtcFileTime(value, utc)) << value;
        double back = UtcFileTimeToDateTime(utc);
        ASSERT_LE(value - back, 2.0 / 86400 + 1e-9) << value;
        ASSERT_GE(value - back, -1e-3 / 86400) << value;
    }
}

// Help source pieces, valid and broken, put together at random.
const char *const kHelpPieces[] = {
    "@title Zelvor Help", "@copyright (c)", "@topic main 1 Contents", "@topic keys - Keys", "@topic", "@topic x 0 T",
    "@topic y 99999999999 T", "@bogus", "## Heading", "- item", "plain text", "**bold**", "**open", "[link](keys)",
    "[](keys)", "[a](", "](x)", "[[a](b)", "; comment", "", "\t ", "\xD0\x96", "\xC3", "\xE2\x82", "\xF0\x9F\x98\x80",
    "\r", "caf\xC3\xA9",
};

TEST(HelpSourceFuzz, AnySourceIsReadOrRefusedWithALineNumber) {
    TFuzzBudget budget;
    SCOPED_TRACE("ZELVOR_FUZZ_SEED=" + std::to_string(budget.Seed()));
    while (budget.More()) {
        std::string source;
        size_t lines = budget.Below(12);
        for (size_t i = 0; i < lines; ++i) {
            if (budget.OneIn(10)) {
                source += budget.Pick(std::string("ab*[]()@#-;\n\r\t \x00\xC3\xFF", 17), 10);
            } else {
                source += kHelpPieces[budget.Below(std::size(kHelpPieces))];
                if (budget.OneIn(3))
                    source += kHelpPieces[budget.Below(std::size(kHelpPieces))];
            }
            source += '\n';
        }
        try {
            hlpc::HelpProject project = hlpc::ParseHelpSource(source);
            ASSERT_FALSE(project.topics.empty());
        } catch (const std::runtime_error &e) {
            ASSERT_EQ(std::string(e.what()).rfind("line ", 0), 0u) << e.what();
        }
    }
}

TEST(HelpSourceFuzz, WellFormedTopicsComeBackInOrderWithTheirKeysIdsAndTitles) {
    TFuzzBudget budget;
    SCOPED_TRACE("ZELVOR_FUZZ_SEED=" + std::to_string(budget.Seed()));
    struct Expected {
        std::string key;
        uint32_t id;
        std::string title;
    };
    while (budget.More()) {
        std::vector<Expected> topics;
        std::string source = "@title T\n";
        size_t count = 1 + budget.Below(6);
        for (size_t i = 0; i < count; ++i) {
            Expected t{std::string("k").append(std::to_string(i)),
                       budget.OneIn(2) ? 0u : static_cast<uint32_t>(1 + budget.Below(5000)),
                       std::string("Title ").append(budget.Pick(std::string("abc xyz"), 8))};
            while (!t.title.empty() && t.title.back() == ' ')
                t.title.pop_back();
            topics.push_back(t);
            source += "@topic " + t.key + " " + (t.id ? std::to_string(t.id) : "-") + " " + t.title + "\n";
            size_t paragraphs = budget.Below(4);
            for (size_t p = 0; p < paragraphs; ++p)
                source += (budget.OneIn(2) ? "- item " : "text ") + std::string("**b** [to](k0)\n\n");
        }
        hlpc::HelpProject project = hlpc::ParseHelpSource(source);
        ASSERT_EQ(project.topics.size(), topics.size());
        for (size_t i = 0; i < topics.size(); ++i) {
            EXPECT_EQ(project.topics[i].key, topics[i].key);
            EXPECT_EQ(project.topics[i].mapId, topics[i].id);
            EXPECT_EQ(project.topics[i].title, topics[i].title);
        }
    }
}

} // namespace
