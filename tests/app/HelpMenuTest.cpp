#include "MainFormFixture.h"

#include <algorithm>
#include <functional>

#include "app/CommandIds.h"
#include "driver/HelpViewer.h"
#include "driver/HtmlRecorder.h"

namespace {

class HelpMenuTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        std::string unixPath = ZELVOR_HELP_FILE;
        helpFile = L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
        std::replace(helpFile.begin(), helpFile.end(), L'/', L'\\');
        ui::Application().SetHelpFile(helpFile);
    }
    void TearDown() override {
        testdriver::CloseHelpViewer(form->Handle(), helpFile);
        MainFormTest::TearDown();
    }
    std::wstring helpFile;
};

// F1 and the Help menu open their own topics: in WinHelp, and where WinHelp cannot start (as on Windows 10
// and 11) at their pages of the HTML manual beside the help file, with the program the system has for HTML
// pages. The suite runs this test with and without WinHelp.
TEST_F(HelpMenuTest, F1AndTheHelpMenuOpenTheirOwnTopics) {
    const struct {
        const char *how;
        std::function<void()> ask;
        const wchar_t *title, *page;
    } cases[] = {
        {"F1", [] { testdriver::PressKey(VK_F1); }, L"Index", L"zelvor_index.html"},
        {"Keyboard", [&] { SendMessageW(form->Handle(), WM_COMMAND, IDM_KEYBOARD1, 0); }, L"Keyboard",
         L"zelvor_keyboard.html"},
        {"File Operations", [&] { SendMessageW(form->Handle(), WM_COMMAND, IDM_FILEOPERATIONS1, 0); },
         L"File operations", L"zelvor_fileops.html"},
    };
    const bool winHelp = !testdriver::WinHelpDisabled();
    testdriver::THtmlRecorder browser;
    const std::wstring pages = helpFile.substr(0, helpFile.rfind(L'\\') + 1) + L"Help\\";
    size_t opened = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        c.ask();
        if (winHelp) {
            EXPECT_EQ(testdriver::WaitForHelpTitle(c.title), c.title);
            continue;
        }
        std::vector<std::wstring> seen = browser.WaitForOpened(++opened);
        ASSERT_EQ(seen.size(), opened);
        EXPECT_EQ(testdriver::LongPathOf(seen.back()), pages + c.page);
    }
    EXPECT_EQ(browser.Opened().size(), opened);
    EXPECT_EQ(testdriver::FindHelpViewer() != nullptr, winHelp);
}

TEST_F(MainFormTest, OwnsTheVersionAndSystemFacts) {
    form->InfoVer.ReadVersionInfo();
    EXPECT_EQ(form->InfoVer.ProductName(), L"Zelvor");
    EXPECT_EQ(form->InfoVer.ProductVersion(), L"1.0.0.0");
    EXPECT_NE(form->MainSysInfo().diAvailableDisks().find(L'C'), std::wstring::npos);
}

} // namespace
