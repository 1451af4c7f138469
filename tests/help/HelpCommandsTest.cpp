#include "help/HelpCommands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "driver/HelpViewer.h"

namespace {

std::wstring HelpFile() {
    std::string unixPath = ZELVOR_HELP_FILE;
    std::wstring path = L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// Drives the system's help viewer through the help commands; the viewer is always closed again.
class HelpViewerTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowW(L"STATIC", L"owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override {
        testdriver::CloseHelpViewer(owner_, HelpFile());
        DestroyWindow(owner_);
    }
    HWND owner_ = nullptr;
};

TEST_F(HelpViewerTest, EachHelpCommandShowsItsOwnTopic) {
    const struct {
        help::HelpTopic topic;
        const wchar_t *title;
    } cases[] = {
        {help::kIndexTopic, L"Index"},                    // F1, "&Index"
        {help::kFileOperationsTopic, L"File operations"}, // "File Operations"
        {help::kKeyboardTopic, L"Keyboard"},              // "&Keyboard"
        {help::kIndexTopic, L"Index"},                    // again, from another topic
    };
    for (const auto &c : cases) {
        help::ShowHelpTopic(owner_, HelpFile(), c.topic);
        EXPECT_EQ(testdriver::WaitForHelpTitle(c.title), c.title) << c.topic.key;
    }
    EXPECT_EQ(testdriver::TextOf(testdriver::FindHelpViewer()), L"Zelvor Help") << "the viewer's caption";
}

TEST(HelpCommands, HelpFileLiesBesideTheProgram) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring expected(exe);
    expected = expected.substr(0, expected.find_last_of(L'\\') + 1) + L"Zelvor.hlp";
    EXPECT_EQ(help::HelpFileBesideExecutable(), expected);
}

} // namespace
