// The release as a Windows user meets it, in a Wine prefix of its own prepared by run_package_test.sh: the
// zip unpacked into a folder whose name holds a space and Cyrillic letters, and the installer beside it.
// Install silently, start the installed program, reinstall, uninstall silently, and look at what is left.
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "driver/ProcessWindow.h"

namespace {

// Where the script unpacked the zip and put the installer.
const wchar_t kUnpacked[] = L"C:\\Zelvor тест\\Распакованный\\";
const wchar_t kDist[] = L"C:\\dist\\";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelvor";
const wchar_t kSettingsKey[] = L"SOFTWARE\\Kestrune\\Zelvor";
const wchar_t *const kProgramFiles[] = {L"Zelvor.exe", L"Zelvor.hlp", L"README.txt", L"Uninstall.exe"};

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

bool Exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFile(const std::wstring &path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::wstring &path, const std::string &text) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << text;
}

std::vector<std::wstring> FilesIn(const std::wstring &dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::wstring(path) + L"\\";
}

bool WaitFor(const std::function<bool()> &done, DWORD ms) {
    for (DWORD waited = 0;; waited += 50) {
        if (done()) return true;
        if (waited >= ms) return false;
        Sleep(50);
    }
}

// The version in the program's own version resource, "a.b.c.d".
std::wstring FileVersion(const std::wstring &exe) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    VS_FIXEDFILEINFO *info = nullptr;
    UINT size = 0;
    if (data.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void **>(&info), &size))
        return L"";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
}

// Runs a command line and waits for it, and for the processes it started (an uninstaller hands its work to
// a copy of itself in the temporary folder and returns at once). Gives the exit code, or -1.
int RunAndWait(const std::wstring &commandLine) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    Handle process(pi.hProcess), thread(pi.hThread);
    if (WaitForSingleObject(pi.hProcess, 120000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        return -1;
    }
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID != pi.dwProcessId) continue;
        Handle child(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (child) WaitForSingleObject(child.get(), 120000);
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<int>(code);
}

// The program started as the Start menu would (in its own folder), once its main window with the given caption
// is up; closed as the close box would close it.
class RunningProgram {
public:
    RunningProgram(const std::wstring &exe, const std::wstring &caption) {
        std::wstring dir = exe.substr(0, exe.rfind(L'\\') + 1);
        std::wstring line = L"\"" + exe + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
            seen_ = L"(not started)";
            return;
        }
        process_.reset(pi.hProcess);
        CloseHandle(pi.hThread);
        WaitFor(
            [&] {
                window_ = testdriver::VisibleTopWindow(pi.dwProcessId);
                wchar_t text[256] = {};
                if (window_) GetWindowTextW(window_, text, 256);
                seen_ = text;
                return window_ && seen_ == caption;
            },
            60000);
        if (!window_) seen_ = L"(no window)";
    }
    ~RunningProgram() { Close(); }
    // The caption of the main window it showed, or what went wrong.
    const std::wstring &Seen() const { return seen_; }
    // The caption it showed, once it has closed; or what went wrong.
    std::wstring Close() {
        if (!process_) return seen_;
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.get(), 1);
            seen_ = L"(did not close: " + seen_ + L")";
        }
        process_.reset();
        return seen_;
    }

private:
    Handle process_;
    HWND window_ = nullptr;
    std::wstring seen_;
};

std::wstring StartAndClose(const std::wstring &exe, const std::wstring &caption) {
    return RunningProgram(exe, caption).Close();
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

// A visible dialog of any process, as the given test finds it among the top-level windows.
HWND WaitForDialog(const std::function<bool(HWND)> &matches, DWORD ms) {
    struct Query {
        const std::function<bool(HWND)> *matches;
        HWND found;
    } query{&matches, nullptr};
    WaitFor(
        [&] {
            struct Match {
                static BOOL CALLBACK Window(HWND window, LPARAM data) {
                    auto *q = reinterpret_cast<Query *>(data);
                    wchar_t name[32] = {};
                    GetClassNameW(window, name, 32);
                    if (!IsWindowVisible(window) || lstrcmpW(name, L"#32770") != 0 || !(*q->matches)(window)) return TRUE;
                    q->found = window;
                    return FALSE;
                }
            };
            EnumWindows(Match::Window, reinterpret_cast<LPARAM>(&query));
            return query.found != nullptr;
        },
        ms);
    return query.found;
}

// The text of the message box that is up (its text control), or empty.
std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? TextOf(text) : L"";
}

BOOL CALLBACK TakeEditText(HWND child, LPARAM out) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Edit") != 0) return TRUE;
    *reinterpret_cast<std::wstring *>(out) = TextOf(child);
    return FALSE;
}

// The texts of a window's controls, one after another in brackets.
BOOL CALLBACK CollectTexts(HWND child, LPARAM out) {
    *reinterpret_cast<std::wstring *>(out) += L"[" + TextOf(child) + L"]";
    return TRUE;
}

// The finish page's check box that offers to start the program.
BOOL CALLBACK FindRunOffer(HWND child, LPARAM out) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Button") != 0 || !IsWindowVisible(child) || !TextOf(child).starts_with(L"&Run Zelvor"))
        return TRUE;
    *reinterpret_cast<HWND *>(out) = child;
    return FALSE;
}

// Starts a command line without waiting; the process, or null.
Handle Start(const std::wstring &commandLine) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
    CloseHandle(pi.hThread);
    return Handle(pi.hProcess);
}

// The files of the program folder that the installer writes: the program's, its manual's and the uninstaller.
std::vector<std::wstring> InstalledFiles(const std::wstring &dir) {
    std::vector<std::wstring> files;
    for (const wchar_t *name : kProgramFiles) files.push_back(dir + name);
    for (const std::wstring &page : FilesIn(dir + L"Help\\")) files.push_back(dir + L"Help\\" + page);
    return files;
}

std::wstring ReadString(HKEY key, const wchar_t *name) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return L"(missing)";
    return text;
}

bool KeyExists(const wchar_t *path) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Every value of the settings key, type and data, to compare before and after.
std::map<std::wstring, std::pair<DWORD, std::string>> SettingsValues() {
    std::map<std::wstring, std::pair<DWORD, std::string>> values;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLen = 256, type = 0, size = 4096;
        std::string data(size, '\0');
        if (RegEnumValueW(key, i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size) !=
            ERROR_SUCCESS)
            break;
        data.resize(size);
        values[name] = {type, data};
    }
    RegCloseKey(key);
    return values;
}

std::wstring ShortcutTarget(const std::wstring &link) {
    IShellLinkW *shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void **>(&shellLink))))
        return L"(no shell link)";
    std::wstring target = L"(unreadable)";
    IPersistFile *file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
        // The item list is what the shell starts; the link's plain path text may be in the ANSI code page.
        wchar_t path[MAX_PATH] = {};
        PIDLIST_ABSOLUTE item = nullptr;
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) && SUCCEEDED(shellLink->GetIDList(&item)) && item) {
            if (SHGetPathFromIDListW(item, path)) target = path;
            CoTaskMemFree(item);
        }
        file->Release();
    }
    shellLink->Release();
    return target;
}

class PackageTest : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        version = FileVersion(std::wstring(kUnpacked) + L"Zelvor.exe");
        ASSERT_FALSE(version.empty());
        setup = std::wstring(kDist) + L"Zelvor-" + version + L"-setup.exe";
        ASSERT_TRUE(Exists(setup));
    }
    void TearDown() override { CoUninitialize(); }

    std::wstring Caption() const { return L"Zelvor - version " + version; }

    std::wstring version, setup;
};

TEST_F(PackageTest, TheZipHoldsTheProgramItsHelpAndAReadmeAndRunsFromAnyFolder) {
    std::vector<std::wstring> files = FilesIn(kUnpacked);
    EXPECT_EQ(std::set<std::wstring>(files.begin(), files.end()),
              (std::set<std::wstring>{L"Zelvor.exe", L"Zelvor.hlp", L"README.txt"}));
    const std::string readme = ReadFile(std::wstring(kUnpacked) + L"README.txt");
    size_t bareLineEnds = 0;
    for (size_t i = 0; i < readme.size(); ++i)
        if (readme[i] == '\n' && (i == 0 || readme[i - 1] != '\r')) ++bareLineEnds;
    EXPECT_EQ(bareLineEnds, 0u) << "README.txt has lines that end without CR";
    for (const char *fact : {"Windows XP SP3 and later, 32- and 64-bit, and Linux under Wine",
                             "HKLM\\SOFTWARE\\Kestrune\\Zelvor", "\"cmd.his\"", "VirtualStore", "F5"})
        EXPECT_NE(readme.find(fact), std::string::npos) << fact;
    const std::vector<std::wstring> pages = FilesIn(std::wstring(kUnpacked) + L"Help\\");
    for (const wchar_t *page : {L"zelvor_contents.html", L"zelvor_index.html", L"zelvor.css"})
        EXPECT_NE(std::find(pages.begin(), pages.end(), page), pages.end()) << "the HTML manual lacks " << page;
    EXPECT_EQ(StartAndClose(std::wstring(kUnpacked) + L"Zelvor.exe", Caption()), Caption());
}

// The program asks for no execution level: its manifest only declares DPI awareness, so Windows still
// redirects a standard user's writes to the settings key and to "cmd.his" in Program Files.
TEST_F(PackageTest, TheProgramAsksForNoExecutionLevel) {
    HMODULE exe = LoadLibraryExW((std::wstring(kUnpacked) + L"Zelvor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC manifest = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(manifest, nullptr);
    std::string text(static_cast<const char *>(LockResource(LoadResource(exe, manifest))), SizeofResource(exe, manifest));
    EXPECT_EQ(text.find("requestedExecutionLevel"), std::string::npos) << text;
    EXPECT_NE(text.find("dpiAware"), std::string::npos) << text;
    FreeLibrary(exe);
}

TEST_F(PackageTest, InstallRunReinstallAndUninstall) {
    struct Case {
        const char *what;
        std::wstring folder; // empty: the default folder
        bool userFiles;      // the user keeps a history and a file of his own in the program folder
    };
    const Case cases[] = {
        {"the default folder, with the user's files", L"", true},
        {"a chosen folder with a space and Cyrillic letters", L"C:\\Мои программы\\Zelvor 2", false},
    };
    const std::wstring link = Folder(CSIDL_COMMON_PROGRAMS) + L"Zelvor.lnk";
    const std::wstring defaultDir = Folder(CSIDL_PROGRAM_FILES) + L"Zelvor\\";
    const std::string history = "dir\r\ncopy a.txt \"b c.txt\"\r\n", notes = "my own notes\r\n";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring dir = c.folder.empty() ? defaultDir : c.folder + L"\\";
        const std::wstring install = L"\"" + setup + L"\" /S" + (c.folder.empty() ? L"" : L" /D=" + c.folder);

        ASSERT_EQ(RunAndWait(install), 0);
        for (const wchar_t *name : kProgramFiles) EXPECT_TRUE(Exists(dir + name)) << name;
        for (const wchar_t *name : {L"Zelvor.exe", L"Zelvor.hlp", L"README.txt"})
            EXPECT_EQ(ReadFile(dir + name), ReadFile(std::wstring(kUnpacked) + name)) << name;
        const std::vector<std::wstring> pages = FilesIn(std::wstring(kUnpacked) + L"Help\\");
        const std::vector<std::wstring> installedPages = FilesIn(dir + L"Help\\");
        EXPECT_EQ(std::set<std::wstring>(installedPages.begin(), installedPages.end()),
                  std::set<std::wstring>(pages.begin(), pages.end()))
            << "the HTML manual";
        for (const std::wstring &page : pages)
            EXPECT_EQ(ReadFile(dir + L"Help\\" + page), ReadFile(std::wstring(kUnpacked) + L"Help\\" + page));
        HKEY key;
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key), ERROR_SUCCESS);
        EXPECT_EQ(ReadString(key, L"DisplayName"), L"Zelvor");
        EXPECT_EQ(ReadString(key, L"DisplayVersion"), version);
        EXPECT_EQ(ReadString(key, L"Publisher"), L"Kestrune");
        EXPECT_EQ(ReadString(key, L"DisplayIcon"), dir + L"Zelvor.exe,0");
        const std::wstring uninstall = ReadString(key, L"UninstallString");
        EXPECT_EQ(uninstall, L"\"" + dir + L"Uninstall.exe\"");
        DWORD estimated = 0, size = sizeof estimated;
        EXPECT_EQ(RegQueryValueExW(key, L"EstimatedSize", nullptr, nullptr, reinterpret_cast<BYTE *>(&estimated), &size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        // In KB: the installed files, give or take the rounding of each.
        ULONGLONG bytes = 0;
        const std::vector<std::wstring> installed = InstalledFiles(dir);
        for (const std::wstring &file : installed) bytes += ReadFile(file).size();
        EXPECT_GE(estimated, bytes / 1024);
        EXPECT_LE(estimated, bytes / 1024 + installed.size());
        EXPECT_EQ(ShortcutTarget(link), dir + L"Zelvor.exe");

        EXPECT_EQ(StartAndClose(dir + L"Zelvor.exe", Caption()), Caption());
        if (c.userFiles) {
            WriteFile(dir + L"cmd.his", history);
            WriteFile(dir + L"my notes.txt", notes);
        }
        const auto settings = SettingsValues();
        EXPECT_FALSE(settings.empty()) << "the program's first start writes its settings";

        // A newer setup run plainly goes over the installed copy, wherever that is: the program's files are
        // there again, the user's are as he left them.
        ASSERT_EQ(RunAndWait(L"\"" + setup + L"\" /S"), 0);
        for (const wchar_t *name : kProgramFiles) EXPECT_TRUE(Exists(dir + name)) << name;
        EXPECT_EQ(Exists(defaultDir + L"Zelvor.exe"), c.folder.empty());
        EXPECT_EQ(SettingsValues(), settings);
        if (c.userFiles) {
            EXPECT_EQ(ReadFile(dir + L"cmd.his"), history);
            EXPECT_EQ(ReadFile(dir + L"my notes.txt"), notes);
        }

        ASSERT_EQ(RunAndWait(uninstall + L" /S"), 0);
        EXPECT_TRUE(WaitFor([] { return !KeyExists(kUninstallKey); }, 30000)) << "uninstall entry left";
        for (const std::wstring &file : installed) EXPECT_FALSE(Exists(file)) << file;
        EXPECT_FALSE(Exists(dir + L"Help")) << "the manual's folder is removed";
        EXPECT_FALSE(Exists(link));
        EXPECT_EQ(SettingsValues(), settings);
        if (c.userFiles) {
            EXPECT_EQ(ReadFile(dir + L"cmd.his"), history);
            EXPECT_EQ(ReadFile(dir + L"my notes.txt"), notes);
        } else {
            EXPECT_FALSE(Exists(dir)) << "an emptied program folder is removed";
        }
    }
}

// A running copy cannot be replaced or removed: setup and the uninstaller name it before they write anything
// and let the user close it and retry, or cancel, which changes nothing; silent runs cancel. Closed, it
// goes: the next setup proposes the installed folder as a folder is written, without a closing "\", and its
// last page offers to start Zelvor, which a silent setup never does.
TEST_F(PackageTest, ARunningZelvorIsNamedByInstallAndUninstall) {
    const std::wstring dir = Folder(CSIDL_PROGRAM_FILES) + L"Zelvor\\";
    const std::wstring running = L"Zelvor is running. Close it and click Retry.";
    auto messageUp = [&] {
        return WaitForDialog([&](HWND box) { return MessageBoxText(box) == running; }, 30000);
    };
    ASSERT_EQ(RunAndWait(L"\"" + setup + L"\" /S"), 0);
    EXPECT_FALSE(WaitFor([&] { return FindWindowW(nullptr, Caption().c_str()) != nullptr; }, 3000))
        << "a silent setup started Zelvor";
    const std::wstring uninstall = L"\"" + dir + L"Uninstall.exe\"";
    {
        RunningProgram zelvor(dir + L"Zelvor.exe", Caption());
        ASSERT_EQ(zelvor.Seen(), Caption());
        EXPECT_NE(RunAndWait(L"\"" + setup + L"\" /S"), 0) << "a silent setup over a running copy";
        RunAndWait(uninstall + L" /S"); // its copy in the temporary folder does the work and gives no code
        for (const std::wstring &command : {L"\"" + setup + L"\"", uninstall}) {
            SCOPED_TRACE(command);
            Handle process = Start(command);
            ASSERT_TRUE(process);
            HWND box = messageUp();
            ASSERT_NE(box, nullptr) << "no message names the running Zelvor";
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 30000));
            // The uninstaller works from a copy of itself in the temporary folder; that copy showed the box.
            EXPECT_TRUE(WaitFor([&] { return WaitForDialog([](HWND) { return true; }, 0) == nullptr; }, 30000))
                << "a page is still up after Cancel";
        }
        EXPECT_TRUE(KeyExists(kUninstallKey));
        for (const wchar_t *name : kProgramFiles) EXPECT_TRUE(Exists(dir + name)) << name;
        EXPECT_EQ(zelvor.Close(), Caption());
    }
    {
        // Started while the uninstaller shows its first page: the removal stops at the same message, and after
        // Cancel the last page says that it stopped, not that it completed.
        Handle process = Start(uninstall);
        ASSERT_TRUE(process);
        HWND wizard = WaitForDialog(
            [&](HWND w) {
                std::wstring caption = TextOf(w);
                return caption.starts_with(L"Zelvor " + version) && caption.find(L"Uninstall") != std::wstring::npos;
            },
            30000);
        ASSERT_NE(wizard, nullptr) << "no uninstall window";
        RunningProgram zelvor(dir + L"Zelvor.exe", Caption());
        ASSERT_EQ(zelvor.Seen(), Caption());
        PostMessageW(wizard, WM_COMMAND, IDOK, 0);
        HWND box = messageUp();
        ASSERT_NE(box, nullptr) << "no message names the running Zelvor";
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        const int kHeaderTitle = 1037; // the wizard's header, above every page
        std::wstring header;
        EXPECT_TRUE(WaitFor([&] { return (header = TextOf(GetDlgItem(wizard, kHeaderTitle))) != L"Uninstalling"; },
                            30000));
        EXPECT_EQ(header, L"Uninstallation Aborted");
        std::wstring pageTexts;
        EnumChildWindows(wizard, CollectTexts, reinterpret_cast<LPARAM>(&pageTexts));
        EXPECT_EQ(pageTexts.find(L"Completed"), std::wstring::npos) << testing::PrintToString(pageTexts);
        PostMessageW(wizard, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(wizard); }, 30000));
        EXPECT_TRUE(KeyExists(kUninstallKey));
        for (const wchar_t *name : kProgramFiles) EXPECT_TRUE(Exists(dir + name)) << name;
        EXPECT_EQ(zelvor.Close(), Caption());
    }
    {
        Handle process = Start(L"\"" + setup + L"\"");
        ASSERT_TRUE(process);
        HWND wizard =
            WaitForDialog([&](HWND w) { return TextOf(w).starts_with(L"Zelvor " + version + L" Setup"); }, 30000);
        ASSERT_NE(wizard, nullptr) << "no setup window";
        std::wstring proposed;
        EXPECT_TRUE(WaitFor(
            [&] {
                EnumChildWindows(wizard, TakeEditText, reinterpret_cast<LPARAM>(&proposed));
                return !proposed.empty();
            },
            30000));
        EXPECT_EQ(proposed, dir.substr(0, dir.size() - 1)) << "the proposed folder";
        // Install (the Next button), then the last page's offer to start Zelvor, taken with Finish.
        PostMessageW(wizard, WM_COMMAND, IDOK, 0);
        HWND run = nullptr;
        EXPECT_TRUE(WaitFor(
            [&] {
                EnumChildWindows(wizard, FindRunOffer, reinterpret_cast<LPARAM>(&run));
                return run != nullptr;
            },
            60000))
            << "no offer to start Zelvor";
        if (run) {
            EXPECT_EQ(SendMessageW(run, BM_GETCHECK, 0, 0), BST_CHECKED);
            PostMessageW(wizard, WM_COMMAND, IDOK, 0);
            EXPECT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
            HWND started = nullptr;
            EXPECT_TRUE(WaitFor([&] { return (started = FindWindowW(nullptr, Caption().c_str())) != nullptr; }, 60000))
                << "Finish started no Zelvor";
            DWORD pid = 0;
            if (started) GetWindowThreadProcessId(started, &pid);
            Handle zelvor(pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr);
            if (started) PostMessageW(started, WM_CLOSE, 0, 0);
            if (zelvor) {
                EXPECT_EQ(WaitForSingleObject(zelvor.get(), 30000), WAIT_OBJECT_0) << "Zelvor did not close";
            }
        } else {
            PostMessageW(wizard, WM_COMMAND, IDCANCEL, 0);
        }
        EXPECT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    }
    ASSERT_EQ(RunAndWait(uninstall + L" /S"), 0);
    EXPECT_TRUE(WaitFor([] { return !KeyExists(kUninstallKey); }, 30000)) << "uninstall entry left";
    EXPECT_FALSE(Exists(dir + L"Zelvor.exe"));
}

} // namespace
