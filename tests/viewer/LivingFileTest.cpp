// The viewer and the quick view on files that change while shown, and on Unicode texts.
#include "ViewerFixture.h"

#include "ViewTestFiles.h"
#include "ui/Text.h"

using testdriver::PressKey;
using testdriver::PumpUntil;

namespace {

using testdriver::ClipboardText;

// Lines "<word> 000000 ..." up to about `size` bytes, each as long as the others.
std::string Lines(const std::string &word, size_t size) {
    std::string text;
    char line[96];
    for (int i = 0; text.size() < size; ++i) {
        snprintf(line, sizeof line, "%s %06d the quick brown fox jumps over the lazy dog\r\n", word.c_str(), i);
        text += line;
    }
    return text;
}

// Another program adding to the end of a file, as a log writer does.
void Append(const std::wstring &path, const std::string &bytes) {
    ui::KernelHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file && file.get() != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

class LivingFileTest : public ViewerTest {
protected:
    viewer::TTextView &Memo() { return Viewer().ViewMemo; }
    std::wstring LastRow() {
        std::vector<std::wstring> rows = Memo().ScreenRows();
        return rows.empty() ? L"" : rows.back();
    }
    bool EveryRowStartsWith(const std::wstring &word) {
        for (const std::wstring &row : Memo().ScreenRows())
            if (!row.empty() && row.rfind(word, 0) != 0) return false;
        return true;
    }
    // F3 on a file of this folder, `inside` running while the viewer shows it; the viewer is closed after.
    void View(const std::wstring &name, const std::function<void()> &inside) {
        ListSides();
        PutCursor(name);
        ASSERT_TRUE(ViewWithF3(dir / name, [&] {
            inside();
            PressKey(VK_ESCAPE);
        }));
    }
    // Message boxes that came up, by their text.
    std::vector<std::wstring> boxes;
    void SetUp() override {
        ViewerTest::SetUp();
        for (int i = 0; i < 3; ++i) testdriver::AnswerWhenShown(L"Zelvor", testdriver::ReadMessageAndPressOk(boxes));
    }
};

TEST_F(LivingFileTest, AFileReplacedWhileShownStaysTheFileThatWasOpened) {
    std::wstring shown = dir.File(L"rep.log", Lines("old", 3u << 20));
    View(L"rep.log", [&] {
        PressKey(VK_END, ui::ssCtrl);
        // Log rotation: the shown file is renamed and a new one takes its name.
        ASSERT_TRUE(MoveFileExW(shown.c_str(), (dir / L"rep.log.1").c_str(), 0));
        dir.File(L"rep.log", Lines("new", 2u << 20));
        EXPECT_TRUE(PumpUntil([&] { return !Memo().Notice().empty(); }, 3000));
        EXPECT_EQ(Memo().Notice(), L"Another file has taken this one's name; this is the file as it was opened.");
        const viewer::TPos end = Memo().SelEnd();
        for (double share : {0.0, 0.3, 0.5, 0.8, 1.0}) {
            SCOPED_TRACE(share);
            Memo().ScrollTo(static_cast<viewer::TPos>(share * static_cast<double>(end)));
            EXPECT_TRUE(EveryRowStartsWith(L"old "));
        }
        PressKey(VK_HOME, ui::ssCtrl);
        EXPECT_EQ(Memo().ScreenRows().front().substr(0, 10), L"old 000000");
        PressKey(VK_END, ui::ssCtrl);
        EXPECT_TRUE(EveryRowStartsWith(L"old "));
    });
    EXPECT_TRUE(boxes.empty());
}

TEST_F(LivingFileTest, LinesAddedToAShownFileAppearLikeTailAndAtTheEnd) {
    // The end on the screen: new lines show within about a second; the caret and the selection stay.
    std::wstring small = dir.File(L"small.log", "one\r\ntwo\r\n");
    View(L"small.log", [&] {
        Memo().SetSelection(1, 2);
        Append(small, "three\r\n");
        EXPECT_TRUE(PumpUntil([&] { return Memo().ScreenRows().size() >= 3 && Memo().ScreenRows()[2] == L"three"; },
                              3000));
        EXPECT_EQ(Memo().SelStart(), 1u);
        EXPECT_EQ(Memo().SelEnd(), 2u);
    });
    // A long file whose end is on the screen scrolls on to the new end, as tail -f does.
    std::wstring log = dir.File(L"long.log", Lines("line", 1u << 20));
    View(L"long.log", [&] {
        PressKey(VK_END, ui::ssCtrl);
        const viewer::TPos caret = Memo().Caret();
        Append(log, "appended while the end is shown\r\n");
        EXPECT_TRUE(PumpUntil([&] { return Memo().ScreenRows().size() > 1 &&
                                           Memo().ScreenRows()[Memo().ScreenRows().size() - 2] ==
                                               L"appended while the end is shown"; },
                              3000));
        EXPECT_EQ(Memo().Caret(), caret) << "the caret stays where it was";
        // Away from the end nothing moves; reaching the end shows what the file holds now.
        PressKey(VK_HOME, ui::ssCtrl);
        Append(log, "appended while the start is shown");
        testdriver::Pump(1200);
        EXPECT_EQ(Memo().ScreenRows().front().substr(0, 11), L"line 000000");
        PressKey(VK_END, ui::ssCtrl);
        EXPECT_EQ(LastRow(), L"appended while the start is shown");
    });
    // The quick view follows a growing file the same way.
    PutCursor(L"small.log");
    PressKey('Q', ui::ssCtrl);
    ASSERT_EQ(form->Right.QMemo.Text(), L"one\r\ntwo\r\nthree\r\n");
    Append(small, "four");
    EXPECT_TRUE(PumpUntil([&] { return form->Right.QMemo.ScreenRows().size() >= 4 &&
                                       form->Right.QMemo.ScreenRows()[3] == L"four"; },
                          3000));
    PressKey('Q', ui::ssCtrl);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(LivingFileTest, AFileDeletedOrCutShortWhileShownKeepsWhatIsTrueAndSaysSoInWords) {
    enum TWay { wRecycled, wDeleted, wCut };
    struct Case {
        const wchar_t *name;
        TWay way;
        std::wstring notice; // empty: not asked (Wine keeps a deleted file's name while the view holds it)
        std::string text;    // all of it that shows afterwards
    };
    const std::string whole = Lines("line", 2u << 20);
    const Case cases[] = {
        {L"recycled.log", wRecycled, L"The file has been deleted.", whole},
        {L"deleted.log", wDeleted, L"", whole},
        {L"cut.log", wCut, L"The file is shorter than when it was opened.", whole.substr(0, 1000)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(ui::Narrow(c.name));
        boxes.clear();
        std::wstring path = dir.File(c.name, whole);
        View(c.name, [&] {
            PressKey(VK_END, ui::ssCtrl);
            PressKey(VK_PRIOR);
            if (c.way == wRecycled) {
                // The Recycle Bin takes a file by moving it away.
                ASSERT_TRUE(MoveFileW(path.c_str(), (other / c.name).c_str()));
            } else if (c.way == wDeleted) {
                ASSERT_TRUE(DeleteFileW(path.c_str()));
            } else {
                ui::KernelHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    nullptr, OPEN_EXISTING, 0, nullptr));
                LARGE_INTEGER at{};
                at.QuadPart = 1000; // inside a line
                SetFilePointerEx(writer.get(), at, nullptr, FILE_BEGIN);
                ASSERT_TRUE(SetEndOfFile(writer.get()));
            }
            for (WORD key : {VK_DOWN, VK_NEXT, VK_UP, VK_PRIOR, VK_END}) PressKey(key);
            PressKey(VK_END, ui::ssCtrl);
            PressKey(VK_HOME, ui::ssShift);
            PressKey('C', ui::ssCtrl);
            PressKey(VK_PRIOR);
            if (!c.notice.empty())
                EXPECT_TRUE(PumpUntil([&] { return Memo().Notice() == c.notice; }, 3000)) << ui::Narrow(Memo().Notice());
            else
                testdriver::Pump(1200);
            PressKey(VK_HOME, ui::ssCtrl);
            EXPECT_EQ(Memo().ScreenRows().front().substr(0, 11), L"line 000000");
            PressKey('A', ui::ssCtrl);
            PressKey('C', ui::ssCtrl);
            EXPECT_TRUE(ui::Narrow(ClipboardText()) == c.text) << "what shows is what the file held";
        });
        EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : ui::Narrow(boxes.front()));
    }
}

TEST_F(LivingFileTest, UnicodeTextsOpenDecodedInTheViewerTheClipboardAndThePane) {
    const std::wstring text = L"Привет, мир\r\nвторая строка €";
    const std::string utf8 = ui::Narrow(text);
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (wchar_t c : text) {
        le += static_cast<char>(c & 0xFF), le += static_cast<char>(c >> 8);
        be += static_cast<char>(c >> 8), be += static_cast<char>(c & 0xFF);
    }
    struct Case {
        const wchar_t *name;
        std::string bytes;
    };
    const Case cases[] = {
        {L"utf8.txt", utf8},
        {L"utf8-bom.txt", "\xEF\xBB\xBF" + utf8},
        {L"utf16le.reg", le},
        {L"utf16be.txt", be},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dir.File(c.name, c.bytes);
        View(c.name, [&] {
            EXPECT_TRUE(Viewer().Checked(IDM_VIEWUNICODE));
            EXPECT_FALSE(Viewer().Checked(IDM_VIEWANSI));
            EXPECT_EQ(Memo().ScreenRows(), (std::vector<std::wstring>{L"Привет, мир", L"вторая строка €"}));
            // Selection and copy go by characters.
            PressKey(VK_HOME, ui::ssCtrl);
            PressKey(VK_RIGHT, ui::ssShift);
            PressKey(VK_RIGHT, ui::ssShift);
            PressKey('C', ui::ssCtrl);
            EXPECT_EQ(ClipboardText(), L"Пр");
            PressKey('A', ui::ssCtrl);
            PressKey('C', ui::ssCtrl);
            EXPECT_EQ(ClipboardText(), text);
            // A shows the bytes through the Windows set (UTF-16 ends at its first zero byte); U brings the
            // Unicode reading back.
            PressKey('A');
            EXPECT_TRUE(Viewer().Checked(IDM_VIEWANSI));
            EXPECT_NE(Memo().Text(), text);
            PressKey('U');
            EXPECT_TRUE(Viewer().Checked(IDM_VIEWUNICODE));
            EXPECT_EQ(Memo().Text(), text);
        });
        PutCursor(c.name);
        PressKey('Q', ui::ssCtrl);
        EXPECT_EQ(form->Right.QMemo.Text(), text) << "the quick view decodes the same way";
        PressKey('Q', ui::ssCtrl);
    }
    // A plain 8-bit text keeps the 8-bit reading.
    dir.File(L"plain.txt", "plain text\r\n");
    View(L"plain.txt", [&] { EXPECT_TRUE(Viewer().Checked(IDM_VIEWANSI)); });
    EXPECT_TRUE(boxes.empty());
}

} // namespace
