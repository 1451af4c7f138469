// The real program, started again and again and closed as soon as its window is up, with its saved
// folders on two drives: every start must end cleanly, however early the close comes to its start-up
// threads (folders read ahead, drive names, the shell's pictures).
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

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
    std::wstring second_;
};

TEST_F(StartCloseLoopTest, FiftyStartsClosedAsSoonAsTheWindowIsUpAllEndCleanly) {
    ASSERT_EQ(GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_FIXED)) << "the test setup gives the prefix a drive D:";
    testdriver::TempDir first;
    MakeFolder(first.Path());
    second_ = MakeFolder(L"D:\\zelvor-startclose\\");
    ASSERT_TRUE(testdriver::Exists(second_ + L"file1.txt"));
    config::CreateReg({100, 100, 813, 405, L"MS Sans Serif", config::clWindowText, config::clWindow});
    {
        config::TSettingsKey key;
        key.WriteString(L"LeftDirectory", first.Path());
        key.WriteString(L"RightDirectory", second_);
    }

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

} // namespace
