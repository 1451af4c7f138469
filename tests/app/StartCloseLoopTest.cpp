// The real program, started again and again and closed as soon as its window is up, with its saved
// folders on two drives: every start must end cleanly, however early the close comes to its start-up
// threads (folders read ahead, drive names, the shell's pictures). A crash after the window has gone
// counts too: it shows in the exit code and in what the system's debugger writes.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "driver/ProcessWindow.h"
#include "driver/TempDir.h"
#include "driver/TestDriver.h"

namespace {

const wchar_t kSettingsKey[] = L"SOFTWARE\\Kestrune\\Zelvor";

// The program as this process names it: the build gives a path of the build machine.
std::wstring ProgramPath() {
    std::string built = ZELVOR_EXE_PATH;
    std::wstring path(built.begin(), built.end());
    for (wchar_t &c : path)
        if (c == L'/')
            c = L'\\';
    return path.size() > 1 && path[1] == L':' ? path : L"Z:" + path;
}

// A folder with a few files and folders, as a saved folder is.
std::wstring MakeFolder(const std::wstring &path) {
    CreateDirectoryW(path.c_str(), nullptr);
    for (int i = 0; i < 30; ++i) {
        const std::wstring name = path + L"file" + std::to_wstring(i) + (i % 3 ? L".txt" : L".exe");
        HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    CreateDirectoryW((path + L"sub").c_str(), nullptr);
    return path;
}

// Under Wine a crash otherwise waits for a person to close its report; the run must end with the crash's code.
const wchar_t kCrashReportKey[] = L"Software\\Wine\\WineDbg";

class StartCloseLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyW(HKEY_LOCAL_MACHINE, kSettingsKey);
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kCrashReportKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            const DWORD off = 0;
            RegSetValueExW(key, L"ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&off), sizeof off);
            RegCloseKey(key);
        }
    }
    void TearDown() override {
        SHDeleteKeyW(HKEY_LOCAL_MACHINE, kSettingsKey);
        SHDeleteValueW(HKEY_CURRENT_USER, kCrashReportKey, L"ShowCrashDialog");
        testdriver::RemoveTree(second_);
    }
    // Saved folders on C: and on D:, as the user left them.
    void SaveFolders(const std::wstring &left) {
        second_ = MakeFolder(L"D:\\zelvor-startclose\\");
        ASSERT_TRUE(testdriver::Exists(second_ + L"file1.txt"));
        config::CreateReg({100, 100, 813, 405, L"MS Sans Serif", config::clWindowText, config::clWindow});
        config::TSettingsKey key;
        key.WriteString(L"LeftDirectory", left);
        key.WriteString(L"RightDirectory", second_);
    }
    std::wstring second_;
};

// A started copy of the program whose output (and that of the debugger a crash starts, which inherits it)
// goes to a file.
struct TStarted {
    PROCESS_INFORMATION process{};
    std::wstring log;
};

TStarted Start(const std::wstring &program, const std::wstring &log) {
    TStarted started;
    started.log = log;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = output;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &started.process))
        started.process = {};
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);
    if (started.process.hThread)
        CloseHandle(started.process.hThread);
    return started;
}

HWND AwaitWindow(const PROCESS_INFORMATION &process) {
    for (DWORD waited = 0; waited < 30000; waited += 2) {
        if (WaitForSingleObject(process.hProcess, 2) == WAIT_OBJECT_0)
            return nullptr;
        if (HWND window = testdriver::VisibleTopWindow(process.dwProcessId))
            return window;
    }
    return nullptr;
}

// A history as a long-time user has one.
std::string LargeHistory(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "copy c:\\work\\report" + std::to_string(i) + ".txt d:\\backup\\" + std::to_string(i % 97) + "\r\n";
    return text;
}

// A whole number from the environment, or `fallback`.
unsigned EnvNumber(const char *name, unsigned fallback) {
    const char *text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

TEST_F(StartCloseLoopTest, FiftyStartsClosedAsSoonAsTheWindowIsUpAllEndCleanly) {
    ASSERT_EQ(GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_FIXED)) << "the test setup gives the prefix a drive D:";
    testdriver::TempDir first;
    MakeFolder(first.Path());
    ASSERT_NO_FATAL_FAILURE(SaveFolders(first.Path()));

    const std::wstring program = ProgramPath();
    constexpr int kStarts = 50;
    for (int start = 0; start < kStarts; ++start) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring commandLine = L"\"" + program + L"\"";
        ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &si, &pi))
            << "cannot start " << std::string(program.begin(), program.end());
        CloseHandle(pi.hThread);
        // The close comes at once, or after a few milliseconds, so that it meets each stage of start-up.
        const DWORD delayMs = static_cast<DWORD>((start % 4) * 7);
        HWND window = nullptr;
        for (DWORD waited = 0; !window && waited < 30000; waited += 2) {
            if (WaitForSingleObject(pi.hProcess, 2) == WAIT_OBJECT_0)
                break;
            window = testdriver::VisibleTopWindow(pi.dwProcessId);
        }
        EXPECT_NE(window, nullptr) << "start " << start << ": no window came up";
        if (window) {
            Sleep(delayMs);
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        const testdriver::ProcessEnd end = testdriver::AwaitProcessEnd(pi.hProcess, 30000);
        ASSERT_TRUE(end.ended) << "start " << start << " did not end after its close";
        ASSERT_EQ(end.exitCode, 0u) << "start " << start << " ended with 0x" << std::hex << end.exitCode;
    }
}

// Copies started together (two at a time, and one alone) with a history of 50,000 lines, closed
// together at a random moment within the first second after their windows came up: whatever start-up
// or the close still has running then, every copy ends by itself with code 0.
TEST_F(StartCloseLoopTest, CopiesClosedAtRandomMomentsWithALargeHistoryAllEndCleanly) {
    testdriver::TempDir home;
    // Another build can be tried the same way (ZELVOR_STARTCLOSE_PROGRAM, its Windows path).
    const char *other = std::getenv("ZELVOR_STARTCLOSE_PROGRAM");
    const std::wstring built = other && *other ? std::wstring(other, other + strlen(other)) : ProgramPath();
    const std::wstring program = home / L"Zelvor.exe";
    ASSERT_TRUE(CopyFileW(built.c_str(), program.c_str(), FALSE));
    home.File(L"cmd.his", LargeHistory(50000));
    testdriver::TempDir folder;
    MakeFolder(folder.Path());
    ASSERT_NO_FATAL_FAILURE(SaveFolders(folder.Path()));
    config::SaveCheck(true, false, true);

    const unsigned seed = EnvNumber("ZELVOR_STARTCLOSE_SEED", GetTickCount());
    const unsigned rounds = EnvNumber("ZELVOR_STARTCLOSE_ROUNDS", 240);
    std::mt19937 random(seed);
    std::uniform_int_distribution<DWORD> moment(0, 1000);
    for (unsigned round = 0; round < rounds; ++round) {
        const int copies = round % 3 == 2 ? 1 : 2;
        const std::string where = "round " + std::to_string(round) + " (seed " + std::to_string(seed) + "), ";
        std::vector<TStarted> started;
        for (int copy = 0; copy < copies; ++copy) {
            started.push_back(Start(program, home / (L"output" + std::to_wstring(copy) + L".txt")));
            ASSERT_NE(started.back().process.hProcess, nullptr) << where << "cannot start the program";
        }
        std::vector<HWND> windows;
        for (const TStarted &s : started)
            windows.push_back(AwaitWindow(s.process));
        Sleep(moment(random));
        for (HWND window : windows)
            if (window)
                PostMessageW(window, WM_CLOSE, 0, 0);
        for (size_t copy = 0; copy < started.size(); ++copy) {
            const testdriver::ProcessEnd end = testdriver::AwaitProcessEnd(started[copy].process.hProcess, 60000);
            const std::string output = testdriver::ReadFileBytes(started[copy].log);
            const std::string copyWhere = where + "copy " + std::to_string(copy);
            EXPECT_NE(windows[copy], nullptr) << copyWhere << ": no window came up";
            EXPECT_TRUE(end.ended) << copyWhere << " did not end after its close";
            EXPECT_EQ(end.exitCode, 0u) << copyWhere << " ended with 0x" << std::hex << end.exitCode;
            if (!windows[copy] || !end.ended || end.exitCode != 0)
                std::printf("%s wrote:\n%s\n", copyWhere.c_str(), output.c_str());
        }
        if (HasFailure())
            return;
    }
}

} // namespace
