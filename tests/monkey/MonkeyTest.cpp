// Seeded random keys and clicks on the real main window, with every window that pops up answered at
// random. The sides are kept inside a sandbox folder: whenever an action has taken a side elsewhere, the
// next action first brings it back, so no file outside the sandbox can be the target of a command.
#include <gtest/gtest.h>

#include <windows.h>
#define NO_SHLWAPI_STRFCNS // its StrToInt would rename the program's own
#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/MainForm.h"
#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "ui/Application.h"

namespace {

using testdriver::TempDir;

const wchar_t kSettingsKey[] = L"SOFTWARE\\Kestrune\\Zelvor";

unsigned ReadNumber(const char *name, unsigned fallback) {
    const char *text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

std::wstring ExeDirectory() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    return path.substr(0, path.rfind(L'\\') + 1);
}

void ForgetSettings() {
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, kSettingsKey);
    DeleteFileW((ExeDirectory() + L"cmd.his").c_str());
}

// Name, size and write time of everything below a folder, to prove it untouched.
using Snapshot = std::map<std::wstring, std::pair<unsigned long long, unsigned long long>>;

void TakeSnapshot(const std::wstring &dir, Snapshot &out, const std::wstring &skipName = L"") {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L".." || _wcsicmp(name.c_str(), skipName.c_str()) == 0)
            continue;
        unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        unsigned long long time =
            (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
        bool folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        out[dir + name] = {folder ? 0 : size, folder ? 0 : time};
        if (folder)
            TakeSnapshot(dir + name + L"\\", out);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

bool StartsWithNoCase(const std::wstring &text, const std::wstring &prefix) {
    return text.size() >= prefix.size() && _wcsnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

// What a person would check after an exit: every setting of the key has its kind and a value the program
// can read again, and the history file is plain text lines.
void ExpectSettingsWellFormed() {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    auto read = [&](const wchar_t *name, DWORD &type) {
        std::vector<BYTE> data(4096);
        DWORD size = static_cast<DWORD>(data.size());
        LONG result = RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
        EXPECT_EQ(result, ERROR_SUCCESS) << "missing " << std::string(name, name + wcslen(name));
        std::wstring text(reinterpret_cast<wchar_t *>(data.data()), size / sizeof(wchar_t));
        if (size_t nul = text.find(L'\0'); nul != std::wstring::npos)
            text.resize(nul);
        return text;
    };
    DWORD type = 0;
    for (const wchar_t *name : {L"LeftDirectory", L"RightDirectory", L"FileListFont"}) {
        read(name, type);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    }
    for (const wchar_t *name : {L"Top", L"Left", L"Width", L"Height"}) {
        std::wstring text = read(name, type);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        wchar_t *end = nullptr;
        wcstol(text.c_str(), &end, 10);
        EXPECT_TRUE(!text.empty() && *end == 0) << "not a number in " << std::string(name, name + wcslen(name));
    }
    for (const wchar_t *name : {L"QSAltLetters", L"QSCtrlAltLetters", L"SaveDir", L"SavePanels", L"SaveCommand"}) {
        std::wstring text = read(name, type);
        EXPECT_TRUE(text == L"True" || text == L"False");
    }
    for (const wchar_t *name : {L"LeftPanelStyle", L"RightPanelStyle"}) {
        std::wstring text = read(name, type);
        EXPECT_TRUE(text == L"vsList" || text == L"vsReport");
    }
    for (const wchar_t *name : {L"FontColor", L"BackColor"}) {
        read(name, type);
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    }
    RegCloseKey(key);
    std::string history = testdriver::Exists(ExeDirectory() + L"cmd.his")
                              ? testdriver::ReadFileBytes(ExeDirectory() + L"cmd.his")
                              : std::string();
    EXPECT_EQ(history.find('\0'), std::string::npos) << "cmd.his holds a NUL byte";
}

// Answers whatever window the program (or the shell for it) puts up: a button at random, Escape, Enter,
// or the close box; an open menu is ended. It runs from a thread timer, so every modal loop serves it.
class TRandomAnswerer {
public:
    explicit TRandomAnswerer(unsigned seed) : rng_(seed) {
        self_ = this;
        timer_ = SetTimer(nullptr, 0, 40, Tick);
    }
    ~TRandomAnswerer() {
        KillTimer(nullptr, timer_);
        self_ = nullptr;
    }
    void SetMainWindow(HWND main) { main_ = main; }
    unsigned Answered() const { return answered_; }
    // A window that stayed up through this many answers has hung the program.
    unsigned LongestStay() const { return longestStay_; }
    bool AnyPopup() const {
        Search search{main_};
        EnumThreadWindows(GetCurrentThreadId(), CollectPopup, reinterpret_cast<LPARAM>(&search));
        return search.any;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (self_)
            self_->Answer();
    }

    static bool IsPopup(HWND w, HWND main) {
        if (w == main || !IsWindowVisible(w))
            return false;
        LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
        return (style & WS_CAPTION) == WS_CAPTION;
    }

    HWND FindPopup() const {
        Search search{main_};
        EnumThreadWindows(GetCurrentThreadId(), CollectPopup, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    struct Search {
        HWND main;
        HWND found = nullptr;
        bool any = false;
    };

    // Of a chain of modal windows, only the enabled one takes input: a person cannot press the buttons of
    // the others. A window disabled for a modal one not yet shown (a dialog shows once its loop is idle)
    // waits for it.
    static BOOL CALLBACK CollectPopup(HWND w, LPARAM data) {
        auto *s = reinterpret_cast<Search *>(data);
        if (!IsPopup(w, s->main))
            return TRUE;
        s->any = true;
        if (!IsWindowEnabled(w))
            return TRUE;
        s->found = w;
        return FALSE;
    }

    static BOOL CALLBACK CollectButton(HWND w, LPARAM data) {
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        LONG_PTR kind = GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK;
        if (_wcsicmp(cls, L"Button") == 0 && IsWindowVisible(w) && IsWindowEnabled(w) &&
            (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON))
            reinterpret_cast<std::vector<HWND> *>(data)->push_back(w);
        return TRUE;
    }

    void Answer() {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        bool gotInfo = GetGUIThreadInfo(GetCurrentThreadId(), &info);
        if (gotInfo && (info.flags & GUI_INMOVESIZE)) {
            // A window being moved or sized by the keyboard waits for Enter or Escape.
            PostMessageW(info.hwndMoveSize ? info.hwndMoveSize : info.hwndActive, WM_KEYDOWN, VK_ESCAPE, 1);
            return;
        }
        if (gotInfo && (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE))) {
            EndMenu();
            // A menu mode that outlasts its ending does not keep a window from its answer.
            if (++menuTicks_ < 5) return;
        } else {
            menuTicks_ = 0;
        }
        HWND popup = FindPopup();
        if (!popup) {
            last_ = nullptr;
            return;
        }
        stay_ = popup == last_ ? stay_ + 1 : 1;
        last_ = popup;
        longestStay_ = std::max(longestStay_, stay_);
        ++answered_;
        std::vector<HWND> buttons;
        EnumChildWindows(popup, CollectButton, reinterpret_cast<LPARAM>(&buttons));
        int choice = std::uniform_int_distribution<int>(0, 9)(rng_);
        // Long up: close it, or, where closing is not offered (a message box without Cancel), take a button.
        if (stay_ > 20)
            choice = (stay_ & 1) ? 0 : 9;
        if (choice == 0) {
            PostMessageW(popup, WM_CLOSE, 0, 0);
        } else if (choice <= 2) {
            PostMessageW(GetFocus() ? GetFocus() : popup, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageW(GetFocus() ? GetFocus() : popup, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        } else if (choice <= 3) {
            PostMessageW(GetFocus() ? GetFocus() : popup, WM_KEYDOWN, VK_RETURN, 1);
            PostMessageW(GetFocus() ? GetFocus() : popup, WM_KEYUP, VK_RETURN, 0xC0000001);
        } else if (!buttons.empty()) {
            HWND button = buttons[std::uniform_int_distribution<size_t>(0, buttons.size() - 1)(rng_)];
            PostMessageW(popup, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        } else {
            PostMessageW(popup, WM_CLOSE, 0, 0);
        }
    }

    static inline TRandomAnswerer *self_ = nullptr;
    std::mt19937 rng_;
    UINT_PTR timer_ = 0;
    HWND main_ = nullptr;
    HWND last_ = nullptr;
    unsigned stay_ = 0;
    unsigned menuTicks_ = 0;
    unsigned longestStay_ = 0;
    unsigned answered_ = 0;
};

// A hang inside one action never returns to the loop, so the test's own checks cannot see it, and the run
// would only end at the test runner's time limit with nothing said. This watch, on a thread of its own, acts
// as a person at a program that stopped answering: after a while without an action ending, it prints what
// the stuck thread shows and presses Escape (a long search, say, ends by it), then asks the foremost window
// to close; when even that does not help, it prints the last actions and ends the process with a failure.
class THangWatch {
public:
    explicit THangWatch(DWORD limitMs) : thread_(GetCurrentThreadId()), limitMs_(limitMs) {
        watcher_ = std::thread([this] { Watch(); });
    }
    ~THangWatch() {
        stop_ = true;
        watcher_.join();
    }
    void Begin(const std::string &action) {
        std::lock_guard<std::mutex> hold(lock_);
        last_.push_back(action);
        if (last_.size() > 25) last_.erase(last_.begin());
        since_ = GetTickCount();
        nudges_ = 0;
    }
    unsigned Nudged() const { return nudged_; }

private:
    static constexpr DWORD kNudgeAfterMs = 10000;

    void Watch() {
        while (!stop_) {
            Sleep(250);
            std::lock_guard<std::mutex> hold(lock_);
            if (!since_) continue;
            DWORD stuck = GetTickCount() - since_;
            if (stuck > limitMs_) Fail();
            if (stuck > kNudgeAfterMs * (nudges_ + 1) && nudges_ < 2) Nudge();
        }
    }

    void Nudge() {
        std::printf("[ monkey   ] %s: no end after %lu s; pressing Escape%s\n", last_.back().c_str(),
                    static_cast<unsigned long>(kNudgeAfterMs * (nudges_ + 1) / 1000),
                    nudges_ ? " and closing the foremost window" : "");
        PrintWindows();
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(thread_, &info);
        HWND target = info.hwndFocus ? info.hwndFocus : info.hwndActive;
        if (target) {
            PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        }
        if (nudges_ && info.hwndActive) PostMessageW(info.hwndActive, WM_CLOSE, 0, 0);
        ++nudges_;
        ++nudged_;
    }

    static BOOL CALLBACK PrintWindow(HWND w, LPARAM depth) {
        if (!IsWindowVisible(w)) return TRUE;
        wchar_t cls[64] = {}, text[128] = {};
        GetClassNameW(w, cls, 64);
        // Not GetWindowText: it would wait on the stuck thread.
        InternalGetWindowText(w, text, 128);
        std::printf("%*s%ls \"%ls\" style %08lx%s\n", static_cast<int>(depth) * 2, "", cls, text,
                    static_cast<unsigned long>(GetWindowLongPtrW(w, GWL_STYLE)), IsWindowEnabled(w) ? "" : " disabled");
        if (depth == 1) EnumChildWindows(w, PrintWindow, 2);
        return TRUE;
    }

    void PrintWindows() {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(thread_, &info))
            std::printf("  thread flags %08lx, capture %s\n", static_cast<unsigned long>(info.flags),
                        info.hwndCapture ? "held" : "none");
        EnumThreadWindows(thread_, PrintWindow, 1);
        std::fflush(stdout);
    }

    void Fail() {
        std::printf("[ monkey   ] no action ended for %lu s; the last actions, oldest first:\n",
                    static_cast<unsigned long>(limitMs_ / 1000));
        for (const std::string &action : last_)
            std::printf("  %s\n", action.c_str());
        PrintWindows();
        ExitProcess(3);
    }

    DWORD thread_;
    DWORD limitMs_;
    std::mutex lock_;
    std::vector<std::string> last_;
    DWORD since_ = 0;
    unsigned nudges_ = 0;
    std::atomic<unsigned> nudged_{0};
    std::atomic<bool> stop_{false};
    std::thread watcher_;
};

struct Key {
    WORD key;
    ui::TShiftState shift;
};

// The keys a person uses in a panel, and then some. F1 (help) is left out: it starts the help viewer,
// another program that would outlive the test.
std::vector<Key> KeyClasses() {
    std::vector<Key> keys;
    for (WORD k : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_INSERT, VK_SPACE,
                   VK_RETURN, VK_BACK, VK_TAB, VK_ESCAPE, VK_MULTIPLY, VK_ADD, VK_SUBTRACT, VK_NUMPAD0, VK_NUMPAD3,
                   VK_NUMPAD5, VK_NUMPAD9, VK_DELETE})
        for (ui::TShiftState s : std::initializer_list<ui::TShiftState>{0, ui::ssShift, ui::ssCtrl})
            keys.push_back({k, s});
    for (WORD f = VK_F2; f <= VK_F10; ++f)
        for (ui::TShiftState s : std::initializer_list<ui::TShiftState>{0, ui::ssShift, ui::ssCtrl, ui::ssAlt, ui::ssShift | ui::ssAlt})
            keys.push_back({f, s});
    keys.push_back({VK_F1, ui::ssAlt});
    for (WORD c : {'A', 'B', 'Q', 'L', 'U', 'R', 'S', 'X', '1'})
        for (ui::TShiftState s : std::initializer_list<ui::TShiftState>{0, ui::ssCtrl, ui::ssAlt})
            keys.push_back({c, s});
    keys.push_back({VK_RETURN, ui::ssShift | ui::ssAlt});
    keys.push_back({VK_RETURN, ui::ssCtrl});
    return keys;
}

class MonkeyTest : public testing::Test {
protected:
    static void SetUpTestSuite() { app::InitApplication(); }

    void SetUp() override {
        ForgetSettings();
        sandbox_ = std::make_unique<TempDir>();
        canary_ = std::make_unique<TempDir>();
        Seed();
    }

    void TearDown() override {
        testdriver::ClearAnswers();
        form_.reset();
        ForgetSettings();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // Names a person may have: Cyrillic, accented, with ";" and blanks, very long, read-only, nested.
    // With `onlyMissing`, what is there is left as the actions made it.
    void SeedOrdinary(bool onlyMissing) {
        static const char text[] = "text line one\r\nline two\n\xB0\xB1\xB2\0tail";
        const std::string content(text, sizeof text - 1);
        const std::wstring names[] = {L"отчёт.txt", L"café au lait.doc", L"data;old", L"precious;notes.txt",
                                      std::wstring(200, L'x') + L".log", L"readonly.txt", L"plain.bin",
                                      L"Über Größe.TXT", L"a b c", L"x.exe"};
        for (const std::wstring &name : names) {
            if (onlyMissing && testdriver::Exists(*sandbox_ / name))
                continue;
            if (name.find(L'.') == std::wstring::npos)
                sandbox_->Folder(name);
            else
                sandbox_->File(name, content, name == L"readonly.txt" ? FILE_ATTRIBUTE_READONLY : 0);
        }
        for (const auto &[name, inner] : NestedFiles())
            if (!onlyMissing || !testdriver::Exists(*sandbox_ / name))
                sandbox_->File(name, inner);
    }

    static std::vector<std::pair<std::wstring, std::string>> NestedFiles() {
        return {{L"data;old\\inner.txt", "inner"}, {L"a b c\\deep\\deeper\\leaf.txt", std::string(70000, 'z')}};
    }

    // Names the shell would read as others, each beside the name it would take instead: wildcards,
    // trailing blanks and dots, case twins, device names, a "\\" inside a name.
    static std::vector<testdriver::UnixEntry> HardEntries() {
        return {{"star*.txt", "star"}, {"star.txt", "s"},     {"starfish.txt", "f"}, {"quest?.txt", "q"},
                {"quest1.txt", "1"},   {"trail.txt ", "t"},   {"trail.txt", "t"},    {"tr2.txt.", "t"},
                {"tr2.txt", "t"},      {"dir /in.txt", "in"}, {"dir/keep.txt", "keep"}, {"Normal2.TXT", "N"},
                {"normal2.txt", "n"},  {"con", "c"},          {"aux.txt", "a"},      {"back\\slash", "b"}};
    }

    // A folder nested past 700 characters, made through exact paths.
    bool SeedDeep() {
        std::wstring deep = L"\\\\?\\" + *sandbox_ / L"nested";
        CreateDirectoryW(deep.c_str(), nullptr);
        for (wchar_t level = L'a'; deep.size() < 730; ++level) {
            deep += L"\\" + std::wstring(90, level);
            CreateDirectoryW(deep.c_str(), nullptr);
        }
        deepLeaf_ = deep + L"\\leaf.txt";
        HANDLE leaf = CreateFileW(deepLeaf_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (leaf == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(leaf);
        return true;
    }

    // The names the sandbox's listing shows at its top.
    std::vector<std::wstring> TopNames() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((sandbox_->Path() + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(data.cFileName);
        while (FindNextFileW(find, &data));
        FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }

    void Seed() {
        SeedOrdinary(false);
        ASSERT_TRUE(testdriver::MakeFromUnix(sandbox_->Path(), HardEntries()));
        ASSERT_TRUE(SeedDeep());
        seeded_ = TopNames();
        canary_->File(L"keep.txt", "do not touch");
        canary_->File(L"keep;me\\inside.txt", "do not touch either");
    }

    // Whatever the actions deleted, renamed or moved away of the seeded names comes back, so that every
    // stretch of a long run has them to act on. Copies and new names the actions made stay.
    void KeepSeeded() {
        const std::vector<std::wstring> now = TopNames();
        bool gone = !std::includes(now.begin(), now.end(), seeded_.begin(), seeded_.end());
        for (const auto &nested : NestedFiles())
            gone = gone || !testdriver::Exists(*sandbox_ / nested.first);
        const bool deepGone = !testdriver::Exists(deepLeaf_);
        if (!gone && !deepGone)
            return;
        ++restores_;
        try {
            SeedOrdinary(true);
        } catch (const std::exception &) {
            // A name the actions made in the way (a file where a folder was): tried again after the next action.
        }
        testdriver::MakeFromUnix(sandbox_->Path(), HardEntries(), true);
        if (deepGone)
            SeedDeep();
        // A name that does not come back in the same form is not looked for again after every action.
        const std::vector<std::wstring> restored = TopNames();
        std::vector<std::wstring> kept;
        std::set_intersection(seeded_.begin(), seeded_.end(), restored.begin(), restored.end(), std::back_inserter(kept));
        seeded_ = std::move(kept);
    }

    void OpenForm() {
        form_ = std::make_unique<app::TMainForm>();
        form_->Create();
        // No other program is started: the shell's "open" and the command line are only recorded.
        form_->ShellExecuteVerb = [this](HWND, const std::wstring &, const std::wstring &) { ++shellRequests_; };
        form_->CommandLine.ShellOpen = [this](HWND, const std::wstring &, const std::wstring &) {
            ++shellRequests_;
        };
        form_->PrintServices.shellExecute = [this](HWND, const std::wstring &, const std::wstring &, int) -> INT_PTR {
            ++shellRequests_;
            return 42;
        };
        form_->PrintServices.run = [this](const std::wstring &, int) { ++shellRequests_; };
        form_->ViewCommands.ShellExecuteProgram = [this](HWND, const std::wstring &, const std::wstring &,
                                                         const std::wstring &, const std::wstring &,
                                                         int) { ++shellRequests_; };
        form_->Show();
        testdriver::Pump(20);
        KeepInSandbox();
    }

    void KeepInSandbox() {
        for (app::TSide *side : {&form_->Left, &form_->Right})
            if (!StartsWithNoCase(side->Directory(), sandbox_->Path()))
                side->SetDirectory(sandbox_->Path());
    }

    // One random action: a key in whatever has the focus, or a click on a row, a title line or the
    // command line.
    // The row a key in a panel acts on: the cursor row of the panel with the focus, if it is a file or folder.
    static bool OnEntry(HWND view, int row) {
        if (row < 0)
            return false;
        wchar_t text[MAX_PATH] = {};
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(view, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return text[0] && std::wstring(text) != L"..";
    }

    bool KeyOnEntry() const {
        HWND focus = GetFocus();
        if (focus != form_->LeftFileView.Handle() && focus != form_->RightFileView.Handle())
            return false;
        return OnEntry(focus, static_cast<int>(SendMessageW(focus, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                            LVNI_SELECTED)));
    }

    // True when the action acted on a file or folder of the sandbox (a row's click, a key on a panel's row).
    bool Act(std::mt19937 &rng, const std::vector<Key> &keys, THangWatch &watch, unsigned index) {
        int kind = std::uniform_int_distribution<int>(0, 19)(rng);
        HWND view = (kind & 1) ? form_->LeftFileView.Handle() : form_->RightFileView.Handle();
        const char *side = (kind & 1) ? "left" : "right";
        int rows = static_cast<int>(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
        std::string number = std::to_string(index) + ": ";
        if (kind == 0 && rows > 0) {
            int row = std::uniform_int_distribution<int>(0, rows - 1)(rng);
            watch.Begin(number + "click row " + std::to_string(row) + " " + side);
            bool onEntry = OnEntry(view, row);
            testdriver::ClickRow(view, row);
            return onEntry;
        } else if (kind == 1 && rows > 0) {
            int row = std::uniform_int_distribution<int>(0, rows - 1)(rng);
            watch.Begin(number + "right click row " + std::to_string(row) + " " + side);
            SendMessageW(view, LVM_ENSUREVISIBLE, row, FALSE);
            RECT r{};
            r.left = LVIR_LABEL;
            SendMessageW(view, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
            testdriver::RightClick(view, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
            return OnEntry(view, row);
        } else if (kind == 2) {
            bool left = rng() & 1;
            watch.Begin(number + "click title line " + (left ? "left" : "right"));
            testdriver::Click(left ? form_->LeftTitlePanel.Handle() : form_->RightTitlePanel.Handle(), 5, 5);
        } else if (kind == 3) {
            wchar_t c = L"abcé;ж .*?\\"[std::uniform_int_distribution<int>(0, 10)(rng)];
            watch.Begin(number + "type character " + std::to_string(static_cast<unsigned>(c)));
            testdriver::TypeText(std::wstring(1, c));
        } else {
            Key k = keys[std::uniform_int_distribution<size_t>(0, keys.size() - 1)(rng)];
            watch.Begin(number + "key " + std::to_string(k.key) + " shift " + std::to_string(k.shift));
            bool onEntry = KeyOnEntry();
            testdriver::PressKey(k.key, k.shift);
            return onEntry;
        }
        return false;
    }

    std::unique_ptr<TempDir> sandbox_;
    std::unique_ptr<TempDir> canary_;
    std::unique_ptr<app::TMainForm> form_;
    unsigned shellRequests_ = 0;
    std::vector<std::wstring> seeded_; // the sandbox's top names as seeded, sorted
    std::wstring deepLeaf_;
    unsigned restores_ = 0;
};

TEST_F(MonkeyTest, RandomKeysAndClicksNeitherCrashNorHangNorTouchFilesOutsideTheSandbox) {
    const unsigned seed = ReadNumber("ZELVOR_MONKEY_SEED", 20261207);
    const unsigned actions = ReadNumber("ZELVOR_MONKEY_ACTIONS", 2000);
    SCOPED_TRACE("ZELVOR_MONKEY_SEED=" + std::to_string(seed));
    std::mt19937 rng(seed);
    const std::vector<Key> keys = KeyClasses();

    Snapshot canaryBefore, exeDirBefore;
    TakeSnapshot(canary_->Path(), canaryBefore);
    TakeSnapshot(ExeDirectory(), exeDirBefore, L"cmd.his");

    TRandomAnswerer answerer(seed + 1);
    // Longer than an action may take: the wait for its windows to go below, and a reopening.
    THangWatch watch(ReadNumber("ZELVOR_MONKEY_HANG_MS", 90000));
    watch.Begin("open the window");
    OpenForm();
    answerer.SetMainWindow(form_->Handle());
    unsigned exits = 0;
    DWORD start = GetTickCount();
    unsigned onEntries = 0;
    for (unsigned i = 0; i < actions; ++i) {
        if (Act(rng, keys, watch, i))
            ++onEntries;
        // The program answers again once nothing it put up is left open.
        ASSERT_TRUE(testdriver::PumpUntil([&] { return !answerer.AnyPopup(); }, 30000))
            << "a window stayed open after action " << i;
        if (!IsWindow(form_->Handle())) {
            ++exits;
            watch.Begin(std::to_string(i) + ": reopen the window after an exit");
            ExpectSettingsWellFormed();
            form_.reset();
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            }
            OpenForm();
            answerer.SetMainWindow(form_->Handle());
        }
        KeepInSandbox();
        KeepSeeded();
    }
    watch.Begin("close the window");
    HWND main = form_->Handle();
    PostMessageW(main, WM_CLOSE, 0, 0);
    testdriver::PumpUntil([&] { return !IsWindow(main); }, 10000);
    ExpectSettingsWellFormed();

    Snapshot canaryAfter, exeDirAfter;
    TakeSnapshot(canary_->Path(), canaryAfter);
    TakeSnapshot(ExeDirectory(), exeDirAfter, L"cmd.his");
    EXPECT_EQ(canaryAfter, canaryBefore) << "a file outside the sandbox changed";
    EXPECT_EQ(exeDirAfter.size(), exeDirBefore.size()) << "files appeared or vanished beside the program";
    std::printf("[ monkey   ] %u actions in %lu ms, %u on a file or folder (%u%%), %u windows answered, %u exits, "
                "%u shell requests, %u nudges, %u restores of the sandbox, seed %u\n",
                actions, GetTickCount() - start, onEntries, actions ? onEntries * 100 / actions : 0,
                answerer.Answered(), exits, shellRequests_, watch.Nudged(), restores_, seed);
}

} // namespace
