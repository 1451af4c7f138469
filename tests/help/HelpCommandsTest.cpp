#include "help/HelpCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

std::wstring HelpFile() {
    std::string unixPath = ZELVOR_HELP_FILE;
    std::wstring path = L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

HWND FindViewer() {
    return FindWindowW(L"MS_WINHELP", nullptr);
}

std::wstring WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    text.resize(copied);
    return text;
}

BOOL CALLBACK TakeTopicText(HWND child, LPARAM out) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (_wcsnicmp(name, L"RichEdit", 8) != 0)
        return TRUE;
    *reinterpret_cast<std::wstring *>(out) = WindowText(child);
    return FALSE;
}

// The first line of the viewer's topic window (a rich-edit child), which is the topic's title.
std::wstring ShownTitle() {
    std::wstring text;
    if (HWND viewer = FindViewer())
        EnumChildWindows(viewer, TakeTopicText, reinterpret_cast<LPARAM>(&text));
    return text.substr(0, text.find_first_of(L"\r\n"));
}

std::wstring WaitForTitle(const std::wstring &expected) {
    std::wstring shown;
    for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20); std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
        shown = ShownTitle();
        if (shown == expected)
            break;
    }
    return shown;
}

// Drives the system's help viewer through the help commands; the viewer is always closed again.
class HelpViewerTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowW(L"STATIC", L"owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override {
        if (HWND viewer = FindViewer()) {
            DWORD pid = 0;
            GetWindowThreadProcessId(viewer, &pid);
            HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
            WinHelpW(owner_, HelpFile().c_str(), HELP_QUIT, 0);
            if (process) {
                if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0)
                    TerminateProcess(process, 1);
                CloseHandle(process);
            }
        }
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
        EXPECT_EQ(WaitForTitle(c.title), c.title) << c.topic.key;
    }
    EXPECT_EQ(WindowText(FindViewer()), L"Zelvor Help") << "the viewer's caption";
}

TEST(HelpCommands, HelpFileLiesBesideTheProgram) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring expected(exe);
    expected = expected.substr(0, expected.find_last_of(L'\\') + 1) + L"Zelvor.hlp";
    EXPECT_EQ(help::HelpFileBesideExecutable(), expected);
}

} // namespace
