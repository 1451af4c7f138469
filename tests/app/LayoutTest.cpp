// Every window the program owns, opened as a person opens it at each common screen scale, and judged from
// outside as a person sees it: whole texts, no control hidden under another, nothing outside its window,
// windows that fit the screens of their time, and nothing left unpainted (read from the screen's pixels).
// The scale is the system DPI of the Wine prefix (LogPixels), which a process reads when it starts: the
// test runs itself once per scale as a child process.
#include "MainFormFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/FileCommands.h"
#include "config/OptionForm.h"
#include "fileops/OperationForm.h"
#include "fileops/SetAtrForm.h"
#include "search/SearchForm.h"
#include "driver/TempDir.h"
#include "sysinfo/AboutBox.h"
#include "sysinfo/DiskInfoForm.h"
#include "sysinfo/SysInfoForm.h"
#include "ui/Handles.h"
#include "viewer/ViewForm.h"

namespace {

const wchar_t kScaleVariable[] = L"ZELVOR_LAYOUT_DPI";
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kFontsKey[] = L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts";

// One registry value set for a while and given back as it was (or taken away when there was none).
class ScopedDword {
public:
    ScopedDword(HKEY root, const wchar_t *key, const wchar_t *name, DWORD value) : root_(root), key_(key), name_(name) {
        DWORD size = sizeof old_;
        had_ = RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &old_, &size) == ERROR_SUCCESS;
        Set(value);
    }
    ~ScopedDword() {
        if (had_) Set(old_);
        else if (HKEY key = nullptr; RegOpenKeyExW(root_, key_, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, name_);
            RegCloseKey(key);
        }
    }
    ScopedDword(const ScopedDword &) = delete;
    ScopedDword &operator=(const ScopedDword &) = delete;

private:
    void Set(DWORD value) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root_, key_, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
        RegSetValueExW(key, name_, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
        RegCloseKey(key);
    }
    HKEY root_;
    const wchar_t *key_, *name_;
    DWORD old_ = 0;
    bool had_ = false;
};

int ScaleOfThisRun() {
    const wchar_t *text = _wgetenv(kScaleVariable);
    return text ? _wtoi(text) : 0;
}

// The parent: each scale in a process of its own, with the prefix's DPI set meanwhile.
TEST(Layout, EveryWindowAtEveryScale) {
    if (ScaleOfThisRun()) GTEST_SKIP() << "the run of one scale";
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (int dpi : {96, 120, 144, 192}) {
        ScopedDword desktop(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", static_cast<DWORD>(dpi));
        ScopedDword fonts(HKEY_LOCAL_MACHINE, kFontsKey, L"LogPixels", static_cast<DWORD>(dpi));
        SetEnvironmentVariableW(kScaleVariable, std::to_wstring(dpi).c_str());
        std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=LayoutAtThisScale.*";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        BOOL started = CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
        SetEnvironmentVariableW(kScaleVariable, nullptr);
        ASSERT_TRUE(started) << dpi;
        CloseHandle(pi.hThread);
        testdriver::ProcessEnd end = testdriver::AwaitProcessEnd(pi.hProcess, 180000);
        EXPECT_TRUE(end.ended) << dpi << " DPI: the run did not end";
        EXPECT_EQ(end.exitCode, 0u) << dpi << " DPI: see the faults above";
    }
}

std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

std::wstring TextOf(HWND w) {
    wchar_t text[512] = {};
    GetWindowTextW(w, text, 512);
    return text;
}

RECT ScreenRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

RECT ClientOnScreen(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    MapWindowPoints(w, HWND_DESKTOP, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

BOOL CALLBACK Collect(HWND w, LPARAM list) {
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(w);
    return TRUE;
}

bool Inside(const RECT &inner, const RECT &outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The size a text takes in a window's own font: one line, or broken into lines `wrapWidth` wide.
SIZE Measure(HWND w, const std::wstring &text, UINT format, int wrapWidth = 0) {
    HDC dc = GetDC(w);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, wrapWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | format);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    return {r.right - r.left, r.bottom - r.top};
}

class LayoutAtThisScale : public MainFormTest {
protected:
    void SetUp() override {
        dpi = ScaleOfThisRun();
        if (!dpi) GTEST_SKIP() << "runs only as a child of Layout.EveryWindowAtEveryScale";
        MainFormTest::SetUp();
    }
    void TearDown() override {
        if (g_timer) KillTimer(nullptr, g_timer);
        g_timer = 0;
        if (dpi) MainFormTest::TearDown();
    }

    int Px(int pixels96) const { return MulDiv(pixels96, dpi, 96); }

    void Fault(const std::wstring &window, HWND control, const std::wstring &what) {
        std::wstring name = control ? ClassOf(control) + L" \"" + TextOf(control) + L"\"" : L"the window";
        faults.push_back(window + L": " + name + L": " + what);
    }

    // What a control's text needs beside the text itself, in its own kind.
    void CheckText(const std::wstring &window, HWND c) {
        const std::wstring cls = ClassOf(c);
        const LONG_PTR style = GetWindowLongPtrW(c, GWL_STYLE);
        RECT client{};
        GetClientRect(c, &client);
        const std::wstring text = TextOf(c);
        if (lstrcmpiW(cls.c_str(), L"ComboBox") == 0) {
            // Every entry in the closed field: the field less the button, the edges and a picture.
            int room = client.right - GetSystemMetrics(SM_CXVSCROLL) - 6;
            if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) room -= Px(26);
            int count = static_cast<int>(SendMessageW(c, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                std::wstring item(static_cast<size_t>(SendMessageW(c, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
                SendMessageW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
                item.resize(item.size() - 1);
                if (Measure(c, item, DT_SINGLELINE | DT_NOPREFIX).cx > room)
                    Fault(window, c, L"the entry \"" + item + L"\" is cut");
            }
            return;
        }
        if (text.empty()) return;
        if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
            const LONG_PTR kind = style & BS_TYPEMASK;
            SIZE need = Measure(c, text, DT_SINGLELINE);
            int extra = 4, height = need.cy;
            if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON ||
                kind == BS_3STATE || kind == BS_AUTO3STATE)
                extra = Px(13) + Px(4);
            else if (kind == BS_GROUPBOX)
                extra = Px(12);
            else
                height += 4;
            if (need.cx + extra > client.right) Fault(window, c, L"the text is cut at its end");
            if (height > client.bottom) Fault(window, c, L"the text is cut below");
        } else if (lstrcmpiW(cls.c_str(), L"Static") == 0) {
            const LONG_PTR kind = style & SS_TYPEMASK;
            if (kind == SS_ICON || kind == SS_BITMAP || (kind > SS_RIGHT && kind != SS_LEFTNOWORDWRAP && kind != SS_SIMPLE))
                return;
            UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
            SIZE need = kind == SS_LEFTNOWORDWRAP || kind == SS_SIMPLE
                            ? Measure(c, text, DT_SINGLELINE | prefix)
                            : Measure(c, text, DT_WORDBREAK | prefix, client.right);
            if (need.cx > client.right) Fault(window, c, L"the text is cut at its end");
            if (need.cy > client.bottom) Fault(window, c, L"the text is cut below");
        }
    }

    // The checks of one window that is up, from outside.
    // The shell's folder dialog is laid out by the system's own template (under Wine its status line lies in
    // the title's box): the overlap rule is not the program's to keep there; the other rules hold.
    void CheckWindow(const std::wstring &name, HWND top, bool systemTemplate = false) {
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        testdriver::Pump(150);
        checked.push_back(name);
        RECT bounds = ScreenRect(top);
        SIZE screen = dpi <= 120 ? SIZE{1024, 768} : SIZE{1280, 1024};
        if (dpi <= 144 && (bounds.right - bounds.left > screen.cx || bounds.bottom - bounds.top > screen.cy))
            Fault(name, nullptr,
                  L"larger than a " + std::to_wstring(screen.cx) + L"x" + std::to_wstring(screen.cy) + L" screen");
        const RECT display{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        std::vector<HWND> controls{top};
        EnumChildWindows(top, Collect, reinterpret_cast<LPARAM>(&controls));
        for (HWND c : controls) {
            if (!IsWindowVisible(c)) continue;
            if (c != top) {
                HWND parent = GetParent(c);
                if (!Inside(ScreenRect(c), ClientOnScreen(parent))) Fault(name, c, L"reaches outside its parent");
                // A frame lies beneath what it frames; anything else shows whole.
                bool frame = ClassOf(c) == L"Button" && (GetWindowLongPtrW(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
                RECT mine = ScreenRect(c), both{};
                for (HWND s = GetWindow(c, GW_HWNDPREV); s && !frame && !systemTemplate; s = GetWindow(s, GW_HWNDPREV)) {
                    RECT theirs = ScreenRect(s);
                    if (IsWindowVisible(s) && IntersectRect(&both, &mine, &theirs))
                        Fault(name, c, L"is covered by " + ClassOf(s) + L" \"" + TextOf(s) + L"\" above it");
                }
                CheckText(name, c);
            }
            // Painted: the part of its inside on the display is not the black of a window never drawn.
            RECT inside = ClientOnScreen(c), shown{};
            if (!IntersectRect(&shown, &inside, &display)) continue;
            auto unpainted = [&] {
                std::vector<COLORREF> pixels = testdriver::ScreenPixels(shown);
                size_t black = std::count(pixels.begin(), pixels.end(), RGB(0, 0, 0));
                return pixels.size() >= 16 && black * 100 >= pixels.size() * 98;
            };
            // The display may take its time on a busy machine: what stays black for seconds is unpainted.
            if (unpainted() && !testdriver::PumpUntil([&] { return !unpainted(); }, 2000))
                Fault(name, c, L"its inside is unpainted");
        }
    }

    // Opens a window the way `open` does and checks it once it is up; `close` then ends it.
    void OpenAndCheck(const std::wstring &name, std::function<HWND()> window, std::function<void()> open,
                      std::function<void(HWND)> close, bool systemTemplate = false) {
        g_up = [window] {
            HWND w = window();
            return w && IsWindowVisible(w) ? w : nullptr;
        };
        g_then = [this, name, close, systemTemplate](HWND w) {
            CheckWindow(name, w, systemTemplate);
            close(w);
        };
        g_timer = SetTimer(nullptr, 0, 50, Poll);
        open();
        testdriver::PumpUntil([] { return !g_then; }, 20000);
        if (g_then) Fault(name, nullptr, L"never showed");
        if (HWND w = window(); w && IsWindowVisible(w)) close(w);
        testdriver::PumpUntil([&] { HWND w = window(); return !w || !IsWindowVisible(w); }, 5000);
        KillTimer(nullptr, g_timer);
        g_timer = 0;
        g_then = nullptr;
    }

    static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
        if (!g_then) return;
        HWND w = g_up();
        if (!w) return;
        auto then = std::move(g_then);
        g_then = nullptr;
        then(w);
    }

    static void CloseByMessage(HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); }

    int dpi = 0;
    std::vector<std::wstring> faults, checked;
    static inline UINT_PTR g_timer = 0;
    static inline std::function<HWND()> g_up;
    static inline std::function<void(HWND)> g_then;
};

TEST_F(LayoutAtThisScale, EveryWindowShowsWholeAndInside) {
    HDC screen = GetDC(nullptr);
    const int seen = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(seen, dpi) << "the prefix's LogPixels did not take";
    testdriver::TempDir dir;
    std::wstring file = dir.File(L"readme.txt", "Zelvor\r\nlays itself out at every scale.\r\n");
    form->Left.SetDirectory(dir.Path());
    form->Right.SetDirectory(dir.Path());
    form->Left.Activate();
    form->LeftFileView.SetSelected(1);
    testdriver::Pump(100);
    CheckWindow(L"main window", form->Handle());

    app::TFileCommands &files = form->FileCommands;
    auto handleOf = [](ui::TWindow &w) { return [&w] { return w.Handle(); }; };
    OpenAndCheck(L"Change attributes", handleOf(files.SetAtrForm()), [&] { files.Change1Click(); }, CloseByMessage);
    OpenAndCheck(L"Copy", handleOf(files.OperationForm()), [&] { files.Run(form->Left, app::TFileCommand::Copy); },
                 CloseByMessage);
    OpenAndCheck(L"Move", handleOf(files.OperationForm()),
                 [&] { files.Run(form->Left, app::TFileCommand::RenameMove); }, CloseByMessage);
    OpenAndCheck(L"New folder", handleOf(files.OperationForm()),
                 [&] { files.Run(form->Left, app::TFileCommand::MakeDir); }, CloseByMessage);
    OpenAndCheck(L"Configuration", handleOf(form->SettingsCommands.OptionForm),
                 [&] { form->SettingsCommands.Options1Click(); }, CloseByMessage);
    OpenAndCheck(L"Find Files", [&] { return form->SearchForm().Handle(); }, [&] { form->Search1Click(); },
                 CloseByMessage);
    OpenAndCheck(L"Disk information", [&] { return form->DiskInfoForm().Handle(); },
                 [&] {
                     form->LeftFileView.SetFocus();
                     testdriver::PressKey('L', ui::ssCtrl);
                 },
                 CloseByMessage);
    OpenAndCheck(L"System Info", [&] { return form->SysInfoForm().Handle(); },
                 [&] { form->Systeminformation1Click(); }, CloseByMessage);
    OpenAndCheck(L"About", [&] { return form->AboutBox().Handle(); }, [&] { form->AboutZelvor1Click(); },
                 CloseByMessage);
    HWND browser = nullptr;
    form->BrowseFolderTree.OnInitialized = [&](ui::TBrowseFolder &, HWND dialog) { browser = dialog; };
    OpenAndCheck(L"folder browser", [&] { return browser; }, [&] { form->CDtree1Click(); },
                 [](HWND w) { PostMessageW(w, WM_COMMAND, IDCANCEL, 0); }, true);
    OpenAndCheck(L"viewer", [&] { return form->ViewForm().Handle(); },
                 [&] {
                     form->LeftFileView.SetFocus();
                     form->LeftFileView.SetSelected(1);
                     testdriver::PressKey(VK_F3);
                 },
                 CloseByMessage);

    EXPECT_EQ(checked.size(), 12u);
    for (const std::wstring &f : faults) std::wprintf(L"%d DPI: %ls\n", dpi, f.c_str());
    std::fflush(stdout);
    EXPECT_EQ(faults.size(), 0u) << dpi << " DPI: the faults are listed above";
}

} // namespace
