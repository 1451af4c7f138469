#include "help/PrintCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// Stands in for the shell and the process start, answering "print" with a fixed code.
struct PrintRecorder {
    INT_PTR answer = 42;
    std::vector<std::wstring> printed;
    std::vector<std::pair<std::wstring, int>> started;

    help::PrintServices Services() {
        return {
            [this](HWND, const std::wstring &verb, const std::wstring &file, int show) {
                EXPECT_EQ(verb, L"print");
                EXPECT_EQ(show, SW_SHOWMINIMIZED);
                printed.push_back(file);
                return answer;
            },
            [this](const std::wstring &commandLine, int show) { started.emplace_back(commandLine, show); },
        };
    }
};

std::wstring TempPath(const wchar_t *name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

TEST(PrintCommand, FolderRowsAndNoRowPrintNothing) {
    const struct {
        const wchar_t *path;
        bool isFolder;
    } cases[] = {
        {L"C:\\Docs\\Letters", true}, // a folder row
        {L"C:\\Docs\\..", true},      // the parent row
        {L"", false},                 // an empty panel: no cursor row
    };
    for (const auto &c : cases) {
        PrintRecorder recorder;
        help::PrintFile(nullptr, c.path, c.isFolder, recorder.Services());
        EXPECT_TRUE(recorder.printed.empty()) << c.path;
        EXPECT_TRUE(recorder.started.empty()) << c.path;
    }
}

TEST(PrintCommand, ShellAnswerDecidesTheNotepadFallback) {
    const struct {
        INT_PTR answer;
        bool notepad;
    } cases[] = {
        {2, true},  {3, true},  {5, true},  {8, true},  {26, true},  {27, true},  {28, true},  {29, true},  {30, true},
        {31, true}, {32, true}, {0, false}, {4, false}, {11, false}, {25, false}, {33, false}, {42, false},
    };
    const std::wstring file = L"C:\\My Docs\\report.txt";
    for (const auto &c : cases) {
        PrintRecorder recorder;
        recorder.answer = c.answer;
        help::PrintFile(nullptr, file, false, recorder.Services());
        EXPECT_EQ(recorder.printed, std::vector<std::wstring>{file}) << c.answer;
        std::vector<std::pair<std::wstring, int>> expected;
        if (c.notepad)
            expected.emplace_back(L"notepad.exe /p \"C:\\My Docs\\report.txt\"", SW_SHOWMINIMIZED);
        EXPECT_EQ(recorder.started, expected) << c.answer;
    }
}

TEST(PrintCommand, FileTypeWithoutPrintActionGoesToNotepad) {
    std::wstring file = TempPath(L"zelvor print test.zvqprint");
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    PrintRecorder recorder;
    help::PrintServices services = help::PrintServices::System(); // the real shell decides
    services.run = recorder.Services().run;
    help::PrintFile(nullptr, file, false, services);
    DeleteFileW(file.c_str());
    ASSERT_EQ(recorder.started.size(), 1u);
    EXPECT_EQ(recorder.started[0].first, L"notepad.exe /p \"" + file + L"\"");
}

TEST(PrintCommand, StartProcessRunsItsCommandLine) {
    std::wstring marker = TempPath(L"zelvor-start-process.txt");
    DeleteFileW(marker.c_str());
    ASSERT_TRUE(help::StartProcess(L"cmd.exe /c echo started> \"" + marker + L"\"", SW_SHOWMINIMIZED));
    bool found = false;
    for (int i = 0; i < 100 && !found; ++i) {
        found = GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(found);
    DeleteFileW(marker.c_str());
    EXPECT_FALSE(help::StartProcess(L"zelvor-no-such-program.exe", SW_SHOWMINIMIZED));
}

} // namespace
