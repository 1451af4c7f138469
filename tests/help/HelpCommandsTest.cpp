#include "help/HelpCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "driver/HelpViewer.h"
#include "driver/HtmlRecorder.h"
#include "driver/TempDir.h"

namespace {

std::wstring WindowsPath(const std::string &unixPath) {
    std::wstring path = L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::wstring HelpFile() { return WindowsPath(ZELVOR_HELP_FILE); }

bool SamePath(const std::wstring &a, const std::wstring &b) {
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
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
    if (testdriver::WinHelpDisabled()) GTEST_SKIP() << "WinHelp cannot start in this run";
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

// Every way to the manual ends at the asked topic: in WinHelp where it starts, else at the topic's page in
// the program the system opens HTML pages with (here a recorder). The help file and its pages are copied
// into a folder whose name the ANSI code page of an English system cannot spell where a case says so.
// The suite runs this test twice, with and without WinHelp; each run takes the cases of its system.
TEST_F(HelpViewerTest, HelpReachesTheTopicWithOrWithoutWinHelpAndFromAnyFolder) {
    const struct {
        const char *what;
        bool cyrillicFolder;
        bool winHelpStarts;
        help::HelpViewer viewer;
        help::HelpTopic topic;
        const wchar_t *winHelpTitle; // null: the topic's page opens instead
    } cases[] = {
        {"Cyrillic folder, WinHelp", true, true, help::HelpViewer::WinHelp, help::kKeyboardTopic, L"Keyboard"},
        {"no WinHelp (F1)", false, false, help::HelpViewer::WinHelp, help::kIndexTopic, nullptr},
        {"no WinHelp (Keyboard)", false, false, help::HelpViewer::WinHelp, help::kKeyboardTopic, nullptr},
        {"Windows 10, though WinHelp would start", false, true, help::HelpViewer::Browser,
         help::kFileOperationsTopic, nullptr},
        {"Windows 10 without WinHelp", false, false, help::HelpViewer::Browser, help::kKeyboardTopic, nullptr},
        {"Cyrillic folder, no WinHelp", true, false, help::HelpViewer::WinHelp, help::kIndexTopic, nullptr},
    };
    testdriver::TempDir temp;
    const std::wstring cyrillic = temp.Folder(L"Зельвор помощь") + L"\\";
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, cyrillic.c_str(), -1, nullptr, 0, nullptr, &lost);
    if (!lost) GTEST_SKIP() << "the ANSI code page spells Cyrillic letters here: not an English system";
    ASSERT_TRUE(CopyFileW(HelpFile().c_str(), (cyrillic + L"Zelvor.hlp").c_str(), FALSE));
    const std::wstring pages = WindowsPath(ZELVOR_HELP_HTML) + L"\\", copies = temp.Folder(L"Зельвор помощь\\Help") + L"\\";
    WIN32_FIND_DATAW page;
    HANDLE find = FindFirstFileW((pages + L"*.*").c_str(), &page);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do
        if (!(page.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            EXPECT_TRUE(CopyFileW((pages + page.cFileName).c_str(), (copies + page.cFileName).c_str(), FALSE));
        }
    while (FindNextFileW(find, &page));
    FindClose(find);
    testdriver::THtmlRecorder recorder;
    size_t opened = 0;
    const bool winHelpStarts = !testdriver::WinHelpDisabled();
    for (const auto &c : cases) {
        if (c.winHelpStarts != winHelpStarts) continue;
        SCOPED_TRACE(c.what);
        testdriver::CloseHelpViewer(owner_, HelpFile());
        const std::wstring folder = c.cyrillicFolder ? cyrillic : HelpFile().substr(0, HelpFile().rfind(L'\\') + 1);
        EXPECT_NO_THROW(help::ShowHelpTopic(owner_, folder + L"Zelvor.hlp", c.topic, c.viewer));
        if (c.winHelpTitle) {
            EXPECT_EQ(testdriver::WaitForHelpTitle(c.winHelpTitle), c.winHelpTitle);
            EXPECT_EQ(recorder.Opened().size(), opened) << "a page opened too";
            continue;
        }
        std::vector<std::wstring> seen = recorder.WaitForOpened(opened + 1);
        ASSERT_EQ(seen.size(), opened + 1) << "no page opened; WinHelp window: " << (testdriver::FindHelpViewer() != nullptr);
        const std::wstring expected = folder + L"Help\\" + c.topic.key + L".html";
        EXPECT_TRUE(SamePath(testdriver::LongPathOf(seen.back()), expected)) << seen.back();
        EXPECT_EQ(testdriver::FindHelpViewer(), nullptr) << "WinHelp opened too";
        opened = seen.size();
    }
}

TEST(HelpCommands, HelpFileLiesBesideTheProgram) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring expected(exe);
    expected = expected.substr(0, expected.find_last_of(L'\\') + 1) + L"Zelvor.hlp";
    EXPECT_EQ(help::HelpFileBesideExecutable(), expected);
}

} // namespace
