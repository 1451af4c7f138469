#include "filelist/Masks.h"

#include <gtest/gtest.h>

using namespace filelist;

namespace {

// Masks as the file list uses them: stars added, exact, not case-sensitive.
bool ListMatches(const std::wstring &maskText, const std::wstring &name) {
    TMaskList list;
    BuildMaskList(maskText, list, true, false);
    return MatchesMaskList(name, list, true, false);
}

struct MatchCase {
    const wchar_t *mask;
    const wchar_t *name;
    bool matches;
};

const MatchCase kMatchCases[] = {
    {L"*.*", L"report.txt", true},
    {L"*.*", L"makefile", true},
    {L"*.*", L"hosts", true},
    {L"*.*;*.txt", L"readme", true},
    {L"*", L"makefile", true},
    {L"", L"anything.at.all", true},
    {L"readme", L"myreadme.txt", true},
    {L"readme", L"read.me", false},
    {L"readme.txt", L"README.TXT", true},
    {L"readme.txt", L"readme.txt.bak", false},
    {L"a?c", L"abc", true},
    {L"a?c", L"abcd", true},
    {L"a?c", L"ac", false},
    {L"*.t?t", L"a.txt", true},
    {L"*.t?t", L"a.tt", false},
    {L"ab*.txt", L"abc.txt", true},
    {L"ab*.txt", L"ab.txt", true},
    {L"ab*.txt", L"xab.txt", false},
    {L"*.txt", L"a.txt.txt", false}, // the first occurrence after the star is not at the end
    {L"*.EXE, *.bat", L"setup.exe", true},
    {L"*.EXE, *.bat", L"run.BAT", true},
    {L"*.EXE, *.bat", L"notes.txt", false},
    {L";", L"anything", true},
    {L"   ", L"anything", true},
    {L"*.bat;*.cmd;*.com;*.exe;*.pif", L"zelvor.exe", true},
    {L"*.bat;*.cmd;*.com;*.exe;*.pif", L"zelvor.hlp", false},
};

TEST(Masks, FileListMatching) {
    for (const MatchCase &c : kMatchCases)
        EXPECT_EQ(ListMatches(c.mask, c.name), c.matches) << "mask '" << testing::PrintToString(std::wstring(c.mask))
                                                          << "' name " << testing::PrintToString(std::wstring(c.name));
}

struct BuildCase {
    const wchar_t *text;
    const wchar_t *stored; // entries joined with ";"
};

const BuildCase kBuildCases[] = {
    {L"*.EXE;*.bat", L"*.bat;*.exe"},
    {L"*.EXE, *.bat", L"*.bat;*.exe"},
    {L"", L"*"},
    {L"readme", L"*readme*"},
    {L"a?c", L"a?c*"},
    {L"*abc", L"*abc*"},
    {L"abc*", L"abc*"},
    {L"readme.txt", L"readme.txt"},
    {L";", L"**"},
};

TEST(Masks, BuildNormalisesAndSorts) {
    for (const BuildCase &c : kBuildCases) {
        TMaskList list;
        BuildMaskList(c.text, list, true, false);
        EXPECT_EQ(JoinList(list), c.stored) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(Masks, EmptyNameAndEmptyList) {
    TMaskList empty;
    EXPECT_TRUE(MatchesMaskList(L"", empty, true, false));
    EXPECT_FALSE(MatchesMaskList(L"a.txt", empty, true, false));
}

TEST(Masks, WithoutExactAPlainMaskIsASubstring) {
    EXPECT_TRUE(MatchesMask(L"myreadme.txt", L"readme", false));
    EXPECT_FALSE(MatchesMask(L"myreadme.txt", L"readme", true));
    EXPECT_FALSE(MatchesMask(L"abc", L"", false));
    EXPECT_TRUE(MatchesMask(L"", L"", true));
}

TEST(Masks, CaseSensitiveListKeepsCapitals) {
    TMaskList list;
    BuildMaskList(L"*.TXT", list, true, true);
    EXPECT_TRUE(MatchesMaskList(L"A.TXT", list, true, true));
    EXPECT_FALSE(MatchesMaskList(L"a.txt", list, true, true));
}

} // namespace
