#include "FileCommandsFixture.h"

using testdriver::AnswerWhenShown;
using testdriver::PressButton;

namespace {

constexpr DWORD kFourBits =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

class AttributesTest : public FileCommandsTest {
protected:
    // Shows the dialog for the cursor row, lets the step change the boxes, then presses the button.
    void ChangeAttributes(const std::function<void()> &step, const std::wstring &button) {
        AnswerWhenShown(L"Change attributes", [this, step, button](HWND dialog) {
            shownPath = AtrForm().FileNamePanel.Caption();
            shownChecks = {AtrForm().CheckArchiv.Checked(), AtrForm().CheckReadOnly.Checked(),
                           AtrForm().CheckHidden.Checked(), AtrForm().CheckSystem.Checked()};
            step();
            PressButton(button)(dialog);
        });
        form->FileCommands.Change1Click();
        const std::vector<std::wstring> &answered = testdriver::AnsweredCaptions();
        EXPECT_NE(std::find(answered.begin(), answered.end(), L"Change attributes"), answered.end());
    }
    // Counts the writes, and passes them on to the file.
    void WatchWrites() {
        AtrForm().WriteAttributes = [this](const std::wstring &path, DWORD word) {
            writes.push_back({path, word});
            return SetFileAttributesW(path.c_str(), word) ? DWORD{ERROR_SUCCESS} : GetLastError();
        };
    }

    std::wstring shownPath;
    fileops::TAttributeChecks shownChecks{};
    std::vector<std::pair<std::wstring, DWORD>> writes;
};

TEST_F(AttributesTest, AReadOnlyFileShowsItsBitsAndUncheckingReadOnlyMakesTheFileWritable) {
    std::wstring file = source.File(L"a.txt", "a", FILE_ATTRIBUTE_READONLY);
    // Wine reports every plain file as archived; the archive box follows whatever the platform reports.
    DWORD before = GetFileAttributesW(file.c_str());
    ASSERT_EQ(before & (kFourBits & ~FILE_ATTRIBUTE_ARCHIVE), DWORD(FILE_ATTRIBUTE_READONLY));
    ListSides();
    PutCursor(L"a.txt");
    ChangeAttributes([this] { AtrForm().CheckReadOnly.SetChecked(false); }, L"OK");
    EXPECT_EQ(shownPath, file);
    EXPECT_EQ(shownChecks.archive, (before & FILE_ATTRIBUTE_ARCHIVE) != 0);
    EXPECT_TRUE(shownChecks.readOnly);
    EXPECT_FALSE(shownChecks.hidden);
    EXPECT_FALSE(shownChecks.system);
    EXPECT_EQ(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(AttributesTest, OnlyAChangedWordIsWrittenAndOnlyForTheCursorRow) {
    struct Case {
        std::function<void(fileops::TSetAtrForm &)> change;
        std::wstring button;
        size_t writes;
    } cases[] = {
        {[](fileops::TSetAtrForm &) {}, L"OK", 0},
        {[](fileops::TSetAtrForm &f) { f.CheckReadOnly.SetChecked(true); }, L"Cancel", 0},
        // Checked and unchecked again: the word is the same.
        {[](fileops::TSetAtrForm &f) {
             f.CheckSystem.SetChecked(!f.CheckSystem.Checked());
             f.CheckSystem.SetChecked(!f.CheckSystem.Checked());
         },
         L"OK", 0},
        {[](fileops::TSetAtrForm &f) { f.CheckReadOnly.SetChecked(true); }, L"OK", 1},
    };
    source.File(L"a.txt", "a");
    source.File(L"b.txt", "b");
    ListSides();
    WatchWrites();
    for (const Case &c : cases) {
        Mark(L"b.txt");
        PutCursor(L"a.txt");
        writes.clear();
        ChangeAttributes([&] { c.change(AtrForm()); }, c.button);
        EXPECT_EQ(writes.size(), c.writes) << c.button;
    }
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].first, source / L"a.txt");
    EXPECT_TRUE(GetFileAttributesW((source / L"a.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(GetFileAttributesW((source / L"b.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((source / L"a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(AttributesTest, AFolderMadeHiddenKeepsItsDirectoryBit) {
    std::wstring folder = source.Folder(L"sub");
    ListSides();
    PutCursor(L"sub");
    WatchWrites();
    ChangeAttributes([this] { AtrForm().CheckHidden.SetChecked(true); }, L"OK");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].second & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN),
              DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    DWORD now = GetFileAttributesW(folder.c_str());
    EXPECT_TRUE(now & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(now & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(AttributesTest, AFileGoneBeforeTheDialogShowsAllFourBoxesAndOkWritesNothing) {
    std::wstring file = source.File(L"a.txt");
    ListSides();
    PutCursor(L"a.txt");
    DeleteFileW(file.c_str());
    WatchWrites();
    AnswerWhenShown(L"Zelvor", PressButton(L"OK"));
    ChangeAttributes([] {}, L"OK");
    EXPECT_TRUE(shownChecks.archive && shownChecks.readOnly && shownChecks.hidden && shownChecks.system);
    EXPECT_TRUE(writes.empty());
    EXPECT_FALSE(testdriver::Exists(file));
}

// What a person sees: read from the screen, each box shows on the dialog's face with its caption, and a
// key or a click changes what it shows, not only its state.
TEST_F(AttributesTest, TheFourBoxesShowOnTheScreenAndChangeByKeyAndMouse) {
    source.File(L"a.txt", "a");
    ListSides();
    PutCursor(L"a.txt");
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto screenOf = [](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return testdriver::ScreenPixels(r);
    };
    auto shows = [&](HWND w) {
        std::vector<COLORREF> pixels = screenOf(w);
        size_t faced = std::count(pixels.begin(), pixels.end(), face);
        size_t dark = std::count_if(pixels.begin(), pixels.end(),
                                    [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200; });
        // The face around the caption, the caption's letters and the box's frame; never all dark.
        return !pixels.empty() && faced * 3 > pixels.size() && dark > 10 && dark * 2 < pixels.size();
    };
    struct Box {
        const wchar_t *caption;
        ui::TCheckBox &box;
    };
    std::vector<std::wstring> unseen;
    bool keyChanged = false, clickChanged = false, keyToggled = false, clickToggled = false;
    AnswerWhenShown(L"Change attributes", [&](HWND dialog) {
        fileops::TSetAtrForm &f = AtrForm();
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        // The display may take its time on a busy machine: what never shows within seconds is unseen.
        testdriver::PumpUntil([&] {
            unseen.clear();
            for (Box b : {Box{L"Archive", f.CheckArchiv}, Box{L"Read only", f.CheckReadOnly},
                          Box{L"Hidden", f.CheckHidden}, Box{L"System", f.CheckSystem}})
                if (!shows(b.box.Handle())) unseen.push_back(b.caption);
            return unseen.empty();
        }, 3000);
        // Space on the box that has the focus, then a click on the middle of another as the screen has it.
        std::vector<COLORREF> before = screenOf(f.CheckArchiv.Handle());
        bool was = f.CheckArchiv.Checked();
        f.CheckArchiv.SetFocus();
        testdriver::PressKey(VK_SPACE);
        keyChanged = testdriver::PumpUntil([&] { return screenOf(f.CheckArchiv.Handle()) != before; }, 3000);
        keyToggled = f.CheckArchiv.Checked() != was;
        RECT r{};
        GetWindowRect(f.CheckSystem.Handle(), &r);
        before = screenOf(f.CheckSystem.Handle());
        was = f.CheckSystem.Checked();
        testdriver::ClickAt({r.left + 6, (r.top + r.bottom) / 2});
        clickChanged = testdriver::PumpUntil([&] { return screenOf(f.CheckSystem.Handle()) != before; }, 3000);
        clickToggled = f.CheckSystem.Checked() != was;
        PressButton(L"Cancel")(dialog);
    });
    form->FileCommands.Change1Click();
    EXPECT_EQ(unseen, std::vector<std::wstring>{});
    EXPECT_TRUE(keyToggled);
    EXPECT_TRUE(keyChanged);
    EXPECT_TRUE(clickToggled);
    EXPECT_TRUE(clickChanged);
}

TEST_F(AttributesTest, TheParentRowIsRefusedWithAMessage) {
    source.File(L"a.txt");
    ListSides();
    PutCursor(L"..");
    AnswerWhenShown(L"Zelvor", PressButton(L"OK"));
    form->FileCommands.Change1Click();
    EXPECT_EQ(testdriver::AnsweredCaptions(), std::vector<std::wstring>{L"Zelvor"});
}

} // namespace
