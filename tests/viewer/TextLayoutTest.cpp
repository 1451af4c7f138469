#include <gtest/gtest.h>

#include <functional>

#include "ViewTestFiles.h"
#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "ui/Text.h"
#include "viewer/TextLayout.h"
#include "viewer/TextLoader.h"
#include "viewer/TextNavigation.h"

namespace {

using viewer::TPos;
constexpr size_t B = viewer::TTextSource::kBlockSize;

std::string Xs(size_t n, char c = 'x') { return std::string(n, c); }

// Every character one unit wide, so a wrap width is a number of characters.
void FixedWidth(const wchar_t *, int count, std::vector<int> &extents) {
    extents.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) extents[i] = i + 1;
}

std::vector<std::string> Rows(viewer::TTextLayout &layout, bool backwards) {
    std::vector<std::string> rows;
    auto text = [&](TPos row) {
        const viewer::TLineText &t = layout.Text(layout.LineStartOf(row));
        size_t r = t.RowOf(t.IndexOf(row));
        return ui::Narrow(t.text.substr(t.rows[r], t.RowEnd(r) - t.rows[r]));
    };
    TPos row = 0;
    if (!backwards) {
        do rows.push_back(text(row));
        while (layout.NextRow(row, row));
        return rows;
    }
    row = layout.RowStartOf(layout.End());
    do rows.insert(rows.begin(), text(row));
    while (layout.PrevRow(row, row));
    return rows;
}

struct RowCase {
    const char *behaviour;
    std::string content;
    int wrapWidth; // 0: no wrapping
    std::vector<std::string> rows;
};

// Rows found reading forward from the top and backward from the end, over files of several blocks.
TEST(TextLayout, SplitsLinesAndWrapsRowsAlsoAtBlockEdges) {
    const RowCase cases[] = {
        {"CR, LF and CR LF are each one break", "a\rb\nc\r\nd", 0, {"a", "b", "c", "d"}},
        {"LF followed by CR is two breaks", "a\n\rb", 0, {"a", "", "b"}},
        {"a break at the very end leaves an empty last line", "a\r", 0, {"a", ""}},
        {"the text ends at the first zero byte", std::string("123456789\0abc\ndef", 17), 0, {"123456789"}},
        {"a file of nothing shows one empty row", "", 0, {""}},
        {"a CR ending one block and the LF starting the next are one break", Xs(B - 1) + "\r\ny", 0, {Xs(B - 1), "y"}},
        {"a lone CR at a block's end is a break", Xs(B - 1) + "\ry", 0, {Xs(B - 1), "y"}},
        {"an LF starting a block ends the line before it", Xs(B - 3) + "ab\ncd", 0, {Xs(B - 3) + "ab", "cd"}},
        {"a block without any break ends its line at the block's edge", Xs(B + 10), 0, {Xs(B), Xs(10)}},
        {"a line cut at a block's edge whose next byte is a break has no empty line", Xs(B) + "\nz", 0, {Xs(B), "z"}},
        {"a long line over two blocks with a break in the first is one line", "a\n" + Xs(B + 5), 0, {"a", Xs(B + 5)}},
        {"words wrap at the space before the one that does not fit", "hello world again", 10,
         {"hello ", "world ", "again"}},
        {"a word longer than the row is cut", "abcdefghijklmnop", 5, {"abcde", "fghij", "klmno", "p"}},
        {"spaces at the wrap point hang at the row's end", "abcde   fg", 5, {"abcde   ", "fg"}},
        {"tabs are spaces up to the next multiple of eight", "a\tb", 0, {"a       b"}},
        {"wrapped rows around a CR LF split over two blocks", Xs(B - 1) + "\r\n" + "abc def", 4,
         {"xxx", "abc ", "def"}},
    };
    for (const RowCase &c : cases) {
        SCOPED_TRACE(c.behaviour);
        testdriver::TempDir dir;
        std::wstring path = dir.File(L"text.txt", c.content);
        viewer::TTextSource source;
        source.OpenFile(path);
        viewer::TTextLayout layout(source);
        layout.SetMeasure(FixedWidth);
        layout.SetWrapWidth(c.wrapWidth);
        std::vector<std::string> forward = Rows(layout, false), backward = Rows(layout, true);
        if (c.wrapWidth == 0 || c.content.size() < B) {
            EXPECT_EQ(forward, c.rows);
        } else {
            // A wrapped line of a block's length: its last rows tell.
            ASSERT_GE(forward.size(), c.rows.size());
            EXPECT_EQ(std::vector<std::string>(forward.end() - c.rows.size(), forward.end()), c.rows);
        }
        EXPECT_EQ(backward, forward) << "reading back from the end finds the same rows";
    }
}

struct StepCase {
    const char *behaviour;
    std::string content;
    std::function<TPos(viewer::TTextLayout &)> step;
    TPos expected;
};

// The caret's steps over the places where a line meets a block's edge, and over words.
TEST(TextLayout, CaretStepsCrossBlockEdgesAndWords) {
    using namespace viewer;
    const StepCase cases[] = {
        {"Right from a CR whose LF starts the next block lands after both", Xs(B - 1) + "\r\ny",
         [](TTextLayout &l) { return CharAfter(l, B - 1); }, B + 1},
        {"Left from after that CR LF lands before both", Xs(B - 1) + "\r\ny",
         [](TTextLayout &l) { return CharBefore(l, B + 1); }, B - 1},
        {"Left from a line cut at a block's edge lands on the last character before it", Xs(B + 10),
         [](TTextLayout &l) { return CharBefore(l, B); }, B - 1},
        {"Right onto a cut line's edge is one character", Xs(B + 10),
         [](TTextLayout &l) { return CharAfter(l, B - 1); }, B},
        {"Ctrl+Right goes to the next word's start", "ab  cd ef", [](TTextLayout &l) { return WordStart(l, 0, true); },
         4},
        {"Ctrl+Left from inside a word goes to its start", "hello world",
         [](TTextLayout &l) { return WordStart(l, 8, false); }, 6},
        {"Ctrl+Left from a word's start goes to the previous word's", "hello world",
         [](TTextLayout &l) { return WordStart(l, 6, false); }, 0},
        {"a double-click on a word takes the word", "ab  cd ef", [](TTextLayout &l) { return WordAround(l, 4).second; },
         6},
        {"a double-click on spaces takes the spaces", "ab  cd ef",
         [](TTextLayout &l) { return WordAround(l, 2).second; }, 4},
    };
    for (const StepCase &c : cases) {
        SCOPED_TRACE(c.behaviour);
        testdriver::TempDir dir;
        TTextSource source;
        source.OpenFile(dir.File(L"text.txt", c.content));
        TTextLayout layout(source);
        layout.SetMeasure(FixedWidth);
        EXPECT_EQ(c.step(layout), c.expected);
    }
    // A file of one word without end: Ctrl+Right stops inside it instead of walking the whole file.
    testdriver::TempDir dir;
    TTextSource source;
    source.OpenFile(dir.File(L"word.txt", Xs(4 * B)));
    TTextLayout layout(source);
    layout.SetMeasure(FixedWidth);
    TPos to = WordStart(layout, 0, true);
    EXPECT_GT(to, 0u);
    EXPECT_LE(to, static_cast<TPos>(kWordStepLimit));
}

TEST(TextLayout, AFileHeldOpenElsewhereCannotBeOpenedAndIsNotLockedOnceShown) {
    testdriver::TempDir dir;
    std::wstring held = dir.File(L"файл; с пробелом.txt", "busy");
    {
        HeldOpen holder(held);
        ASSERT_TRUE(holder.Holds());
        viewer::TTextSource source;
        try {
            source.OpenFile(held);
            ADD_FAILURE() << "a file held open was opened";
        } catch (const viewer::EViewLoadError &e) {
            EXPECT_EQ(e.what(), "Cannot open file " + ui::Narrow(held));
        }
    }
    viewer::TTextSource source;
    source.OpenFile(held);
    EXPECT_EQ(source.At(0), 'b');
    std::wstring renamed = dir / L"renamed.txt";
    EXPECT_TRUE(MoveFileW(held.c_str(), renamed.c_str())) << "another program can rename the file while it is shown";
    {
        // As a program writing a log opens it.
        ui::KernelHandle writer(CreateFileW(renamed.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                            nullptr));
        EXPECT_TRUE(writer && writer.get() != INVALID_HANDLE_VALUE) << "and write to it";
    }
    source.Release();
    ui::KernelHandle other(CreateFileW(renamed.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(other && other.get() != INVALID_HANDLE_VALUE) << "and, once the view lets go, open it without sharing";
}

TEST(TextLayout, AFileOfGigabytesOpensAtOnceAndReadsOnlyWhatIsAsked) {
    testdriver::TempDir dir;
    std::wstring image = SizedFile(dir / L"disk.img", 3ull << 30);
    viewer::TTextSource source;
    source.OpenFile(image);
    EXPECT_EQ(source.KnownEnd(), 3ull << 30);
    EXPECT_EQ(source.At(0), -1) << "the sparse file's first byte is a zero, which ends the text";
    EXPECT_EQ(source.KnownEnd(), 0u);
}

TEST(TextLayout, TheDosAndWindowsSetsShowTheSameByteInTheirOwnShapes) {
    if (GetACP() != 1252 || GetOEMCP() != 437) GTEST_SKIP() << "needs the Western code pages 1252 and 437";
    const std::string bytes = "\xB0\r\n\xC4";
    EXPECT_EQ(viewer::DecodeViewBytes(bytes, CP_ACP), L"\u00B0\r\n\u00C4") << "degree sign, A with diaeresis";
    EXPECT_EQ(viewer::DecodeViewBytes(bytes, CP_OEMCP), L"\u2591\r\n\u2500") << "light shade, box line";
}

} // namespace

namespace {

// A line asked for past the point where the file was cut short while shown: the line never runs backwards
// (it used to ask for a string of negative length), and the text ends where the file does.
TEST(TextLayout, ALineAskedForPastTheNewEndOfAFileCutShortIsEmpty) {
    testdriver::TempDir dir;
    std::wstring path = dir.File(L"cut.txt", Xs(3 * B));
    viewer::TTextSource source;
    source.OpenFile(path);
    viewer::TTextLayout layout(source);
    layout.SetMeasure(FixedWidth);
    {
        ui::KernelHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        LARGE_INTEGER at{};
        at.QuadPart = 100;
        SetFilePointerEx(writer.get(), at, nullptr, FILE_BEGIN);
        ASSERT_TRUE(SetEndOfFile(writer.get()));
    }
    for (TPos asked : {TPos(2 * B + 5), TPos(B), TPos(3 * B)}) {
        const viewer::TLineText &t = layout.Text(asked);
        EXPECT_LE(t.line.start, t.line.contentEnd);
        EXPECT_TRUE(t.text.empty());
    }
    EXPECT_EQ(source.KnownEnd(), 100u);
    EXPECT_EQ(source.Notice(), L"The file is shorter than when it was opened.");
    EXPECT_EQ(ui::Narrow(layout.Text(layout.LineStartOf(50)).text), Xs(100));
}

// The reading a file's first block asks for.
TEST(TextLayout, AUnicodeTextIsToldByItsMarkOrByValidUtf8BeyondAscii) {
    struct Case {
        std::string first;
        bool whole;
        UINT reading;
        size_t mark;
    };
    const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"; // Привет
    const Case cases[] = {
        {"\xEF\xBB\xBFplain", true, CP_UTF8, 3},
        {"\xFF\xFEp\0", true, viewer::kUtf16Le, 2},
        {"\xFE\xFF\0p", true, viewer::kUtf16Be, 2},
        {"plain ASCII only", true, 0, 0},
        {"one " + privet, true, CP_UTF8, 0},
        {"caf\xE9 in the Windows set", true, 0, 0},                 // a lone Latin-1 byte
        {"over\xC0\xAFlong", true, 0, 0},                           // an overlong slash
        {"cut " + privet.substr(0, 11), false, CP_UTF8, 0},         // the block ends inside a letter
        {"cut " + privet.substr(0, 11), true, 0, 0},                // the file ends inside it
        {std::string("ascii\0\xFF\xFE garbage", 16), true, 0, 0},  // past a zero byte nothing counts
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.first);
        size_t mark = 99;
        EXPECT_EQ(viewer::DetectUnicode(c.first, c.whole, mark), c.reading);
        EXPECT_EQ(mark, c.mark);
    }
}

} // namespace
