#include "MainFormFixture.h"

#include <algorithm>

#include "app/CommandIds.h"
#include "driver/HelpViewer.h"

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

TEST_F(HelpMenuTest, F1AndTheHelpMenuOpenTheirOwnTopics) {
    testdriver::PressKey(VK_F1);
    EXPECT_EQ(testdriver::WaitForHelpTitle(L"Index"), L"Index");
    SendMessageW(form->Handle(), WM_COMMAND, IDM_KEYBOARD1, 0);
    EXPECT_EQ(testdriver::WaitForHelpTitle(L"Keyboard"), L"Keyboard");
    SendMessageW(form->Handle(), WM_COMMAND, IDM_FILEOPERATIONS1, 0);
    EXPECT_EQ(testdriver::WaitForHelpTitle(L"File operations"), L"File operations");
}

TEST_F(MainFormTest, OwnsTheVersionAndSystemFacts) {
    form->InfoVer.ReadVersionInfo();
    EXPECT_EQ(form->InfoVer.ProductName(), L"Zelvor");
    EXPECT_EQ(form->InfoVer.ProductVersion(), L"1.0.0.0");
    EXPECT_NE(form->MainSysInfo().diAvailableDisks().find(L'C'), std::wstring::npos);
}

} // namespace
