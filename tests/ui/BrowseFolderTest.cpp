#include <gtest/gtest.h>

#include <objbase.h>

#include "driver/TempDir.h"
#include "ui/BrowseSteps.h"
#include "ui/BrowseFolder.h"
#include "ui/Form.h"

using ui::BrowseFlag;
using ui::TBrowseFolder;

namespace {

std::string Utf8(const std::wstring &s) { return std::string(s.begin(), s.end()); }

bool SamePath(const std::wstring &a, const std::wstring &b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

std::wstring WithoutSlash(std::wstring path) {
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

void Press(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

class BrowseFolderTest : public testing::Test {
protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }

    void SetUp() override {
        browser.RootFolder = ui::foMyComputer;
        browser.ShowPathInStatusArea = true;
    }

    testdriver::TempDir dir;
    TBrowseFolder browser;
};

} // namespace

TEST(ShortenPath, KeepsShortPathsAndCutsFromTheThirdPart) {
    struct Case {
        const wchar_t *path, *shown;
    } cases[] = {
        // 40 characters, five parts: the second part gives way.
        {L"C:\\Program Files\\Common Files\\System\\ado", L"C:\\...\\Common Files\\System\\ado"},
        // Exactly 35 characters: whole.
        {L"C:\\Windows\\System32\\drivers\\etc\\abc", L"C:\\Windows\\System32\\drivers\\etc\\abc"},
        // 36 characters.
        {L"C:\\Windows\\System32\\drivers\\etc\\abcd", L"C:\\...\\System32\\drivers\\etc\\abcd"},
        // Two parts are shown whole however long.
        {L"C:\\A folder name much longer than thirty-five characters",
         L"C:\\A folder name much longer than thirty-five characters"},
        // Still too long after the filler: the parts after it go one by one, the last ones stay.
        {L"C:\\Program Files\\Common Files\\Microsoft Shared\\Web Server Extensions\\40",
         L"C:\\...\\Web Server Extensions\\40"},
        // Three parts left: nothing more is removed.
        {L"C:\\Program Files\\An extremely long folder name for the test",
         L"C:\\...\\An extremely long folder name for the test"},
        {L"", L""},
        {L"C:\\", L"C:\\"},
    };
    for (const Case &c : cases) EXPECT_EQ(ui::ShortenPath(c.path), c.shown) << Utf8(c.path);
}

TEST(BrowseFolderProperties, ButtonWidthAndDialogOptions) {
    TBrowseFolder browser;
    EXPECT_EQ(browser.CustomButtonWidth(), 75);
    struct WidthCase {
        int set, stored;
    } widths[] = {{0, 75}, {-10, 75}, {1, 1}, {120, 120}};
    for (const WidthCase &w : widths) {
        browser.SetCustomButtonWidth(w.set);
        EXPECT_EQ(browser.CustomButtonWidth(), w.stored) << w.set;
    }
    struct OptionCase {
        ui::TBrowseInfoFlags flags;
        UINT options;
    } options[] = {
        {browser.Flags, 0x0005}, // the default: file-system folders only, with a status line
        {BrowseFlag(ui::bfFileSysAncestors), 0x0008},
        {BrowseFlag(ui::bfDontGoBelowDomain) | BrowseFlag(ui::bfBrowseForComputer), 0x1002},
        {BrowseFlag(ui::bfBrowseForPrinter), 0x2000},
    };
    for (const OptionCase &o : options) EXPECT_EQ(ui::BrowseInfoOptions(o.flags), o.options);
    EXPECT_EQ(ui::SpecialFolderId(ui::foMyComputer), 0x11);
    EXPECT_EQ(ui::SpecialFolderId(ui::foDesktopExpanded), -1);
    EXPECT_EQ(ui::SpecialFolderId(ui::foTemplates), 0x15);
}

TEST_F(BrowseFolderTest, PreselectsAnExistingFolderAndOkChoosesIt) {
    const std::wstring folder = WithoutSlash(dir.Folder(L"pick me"));
    browser.Directory = folder;
    std::wstring selectedAtStart;
    BrowseSteps steps(browser, {[&](HWND) { selectedAtStart = browser.CurrentFolder(); }, BrowseSteps::Press(IDOK)});
    ASSERT_TRUE(browser.Execute());
    EXPECT_TRUE(SamePath(selectedAtStart, folder)) << Utf8(selectedAtStart);
    EXPECT_TRUE(SamePath(browser.Directory, folder)) << Utf8(browser.Directory);
    EXPECT_EQ(browser.CurrentFolder(), browser.Directory);
    EXPECT_TRUE(browser.DisplayName().ends_with(L"pick me")) << Utf8(browser.DisplayName());
    EXPECT_EQ(browser.DialogHandle(), nullptr) << "no dialog after it closed";
}

// A press of the button that opens the dialog, queued before it opened, reaches the owner once the
// dialog runs: it opens no second dialog, and the owner stays disabled until the one dialog is closed.
TEST_F(BrowseFolderTest, AskedAgainWhileOpenItOpensNoSecondDialog) {
    ui::TForm owner;
    owner.CreateForm(L"owner", 300, 200, false);
    owner.Show();
    browser.OwnerWindow = owner.Handle();
    const std::wstring folder = WithoutSlash(dir.Folder(L"once"));
    browser.Directory = folder;
    int dialogs = 0;
    browser.OnInitialized = [&](TBrowseFolder &, HWND) { ++dialogs; };
    bool againOpened = true, ownerEnabledAfterAgain = true;
    BrowseSteps steps(browser, {[&](HWND dialog) {
                                    againOpened = browser.Execute();
                                    ownerEnabledAfterAgain = IsWindowEnabled(owner.Handle()) != FALSE;
                                    // A second dialog, closed by the next step, leaves the first waiting.
                                    if (againOpened) Press(dialog, IDOK);
                                },
                                BrowseSteps::Press(IDOK)});
    ASSERT_TRUE(browser.Execute());
    EXPECT_FALSE(againOpened);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(ownerEnabledAfterAgain);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_TRUE(SamePath(browser.Directory, folder)) << Utf8(browser.Directory);
    // Closed, it opens again.
    BrowseSteps again(browser, {BrowseSteps::Press(IDCANCEL)});
    EXPECT_FALSE(browser.Execute());
    EXPECT_EQ(dialogs, 2);
}

TEST_F(BrowseFolderTest, AMissingFolderIsNotPreselectedAndCancelKeepsDirectory) {
    const std::wstring missing = dir / L"not there";
    browser.Directory = missing;
    std::wstring selectedAtStart = L"(not reached)";
    BrowseSteps steps(browser,
                      {[&](HWND) { selectedAtStart = browser.CurrentFolder(); }, BrowseSteps::Press(IDCANCEL)});
    EXPECT_FALSE(browser.Execute());
    EXPECT_TRUE(selectedAtStart.find(L"not there") == std::wstring::npos) << Utf8(selectedAtStart);
    EXPECT_FALSE(SamePath(selectedAtStart, dir.Path().substr(0, dir.Path().size() - 1)));
    EXPECT_EQ(browser.Directory, missing);
}

TEST_F(BrowseFolderTest, CancelKeepsDirectory) {
    const std::wstring first = WithoutSlash(dir.Folder(L"first"));
    browser.Directory = first;
    std::vector<std::wstring> reported;
    browser.OnSelectionChanged = [&](TBrowseFolder &, HWND, LPCITEMIDLIST item, const std::wstring &path) {
        EXPECT_NE(item, nullptr);
        reported.push_back(path);
    };
    BrowseSteps steps(browser, {[](HWND) {}, BrowseSteps::Press(IDCANCEL)});
    EXPECT_FALSE(browser.Execute());
    EXPECT_EQ(browser.Directory, first);
    ASSERT_FALSE(reported.empty());
    EXPECT_TRUE(SamePath(reported.back(), first)) << Utf8(reported.back());
}

// OK, and the own button kept in step with it, are enabled only on a folder of the file system. Wine's
// dialog does not show the root itself as an item, so the tree starts at the desktop here, where My
// Computer is an item of its own.
TEST_F(BrowseFolderTest, OkIsDisabledOnMyComputerItself) {
    const std::wstring folder = WithoutSlash(dir.Folder(L"real"));
    browser.RootFolder = ui::foDesktopExpanded;
    browser.CustomButtonVisible = true;
    browser.SyncCustomButton = true;
    struct State {
        std::wstring path;
        bool ok, button;
    };
    std::vector<State> states;
    auto record = [&](HWND dialog) {
        states.push_back({browser.CurrentFolder(), IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE,
                          IsWindowEnabled(browser.CustomButtonHandle()) != FALSE});
    };
    BrowseSteps steps(browser, {BrowseSteps::Retry(BrowseSteps::Select(folder),
                                                   [&] { return !browser.CurrentFolder().empty(); }),
                                BrowseSteps::WaitFor([&] { return !browser.CurrentFolder().empty(); }), record,
                                BrowseSteps::SelectMyComputer(),
                                BrowseSteps::WaitFor([&] { return browser.CurrentFolder().empty(); }), record,
                                BrowseSteps::Press(IDCANCEL)});
    EXPECT_FALSE(browser.Execute());
    ASSERT_EQ(states.size(), 2u);
    // Wine's tree under the desktop reaches only part of the way down to the folder: a file-system folder all the same.
    EXPECT_NE(states[0].path, L"");
    EXPECT_TRUE(states[0].ok);
    EXPECT_TRUE(states[0].button);
    EXPECT_EQ(states[1].path, L"");
    EXPECT_FALSE(states[1].ok);
    EXPECT_FALSE(states[1].button);
}

TEST_F(BrowseFolderTest, CustomButtonRaisesItsEventAndACheckBoxReportsItsState) {
    const std::wstring folder = WithoutSlash(dir.Folder(L"x"));
    browser.Directory = folder;
    browser.CustomButtonVisible = true;
    browser.SetCustomButtonWidth(0);
    browser.SetCustomButtonCaption(L"Extra");
    int clicks = 0;
    bool openAfterClick = false;
    RECT buttonRect{};
    std::wstring buttonText(32, L'\0');
    browser.OnCustomButtonClick = [&](TBrowseFolder &, HWND dialog) {
        ++clicks;
        EXPECT_EQ(dialog, browser.DialogHandle());
    };
    browser.OnInitialized = [&](TBrowseFolder &sender, HWND dialog) {
        HWND button = GetDlgItem(dialog, TBrowseFolder::kCustomButtonId);
        ASSERT_EQ(button, sender.CustomButtonHandle());
        GetWindowRect(button, &buttonRect);
        buttonText.resize(GetWindowTextW(button, buttonText.data(), 32));
        SendMessageW(button, BM_CLICK, 0, 0);
        openAfterClick = IsWindow(dialog) != FALSE;
        sender.SetCustomButtonCaption(L"Changed");
        wchar_t now[32] = {};
        GetWindowTextW(button, now, 32);
        EXPECT_STREQ(now, L"Changed");
        Press(dialog, IDCANCEL);
    };
    EXPECT_FALSE(browser.Execute());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(openAfterClick);
    EXPECT_EQ(buttonRect.right - buttonRect.left, 75);
    EXPECT_EQ(buttonRect.bottom - buttonRect.top, 23);
    EXPECT_EQ(buttonText, L"Extra");

    // A check box: its state when OK is pressed is read back.
    browser.CustomButtonType = ui::btCheckBox;
    browser.CustomButtonChecked = false;
    browser.OnCustomButtonClick = nullptr;
    browser.OnInitialized = [&](TBrowseFolder &sender, HWND dialog) {
        SendMessageW(sender.CustomButtonHandle(), BM_CLICK, 0, 0);
        Press(dialog, IDOK);
    };
    EXPECT_TRUE(browser.Execute());
    EXPECT_TRUE(browser.CustomButtonChecked);
    EXPECT_TRUE(SamePath(browser.Directory, folder));
}
