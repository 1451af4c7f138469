// The viewer on text files of 1 MB, 60 MB and 1 GB against a floor measured in the same run: a bare window
// that opens the file, reads its first 64 KB and draws one screen of it with ExtTextOutW. Then Escape, W, A,
// S and Ctrl+End on the 1 GB file; W on lines wider than the window and Escape also against a bare window
// making the same change of scroll bars or hiding itself; the private memory the viewing left, and 1,000
// moves Down with the quick view over 10 KB files against the same moves without the pane (proving the pane
// followed every one). The two windows stand one above the other, so neither hides the other.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "app/MainForm.h"
#include "ui/Application.h"
#include "viewer/ViewForm.h"
#include "viewer/ViewIds.h"

namespace {

using bench::Time;

std::wstring TempFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    std::wstring dir = std::wstring(base) + L"bench-viewer\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

// Lines of 20 to 99 printable characters ending in CR LF, LF and CR by turns.
std::string MixedText(size_t size) {
    std::string text;
    text.reserve(size + 128);
    unsigned seed = 12345;
    static const char *const ends[] = {"\r\n", "\n", "\r"};
    for (int line = 0; text.size() < size; ++line) {
        seed = seed * 1103515245 + 12345;
        int length = 20 + static_cast<int>((seed >> 16) % 80);
        for (int i = 0; i < length; ++i) text += static_cast<char>(i % 11 == 10 ? ' ' : 'a' + (line + i) % 26);
        text += ends[line % 3];
    }
    text.resize(size);
    return text;
}

// Lines of Russian words in UTF-8 without a byte-order mark, ending in CR LF.
std::string RussianText(size_t size) {
    static const char *const words[] = {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "\xD0\xBC\xD0\xB8\xD1\x80",
                                        "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB", "text", "\xD1\x81\xD1\x82\xD1\x80\xD0\xBE\xD0\xBA\xD0\xB0"};
    std::string text;
    text.reserve(size + 128);
    for (int line = 0; text.size() < size; ++line) {
        for (int w = 0; w < 6 + line % 9; ++w) text += std::string(words[(line + w) % 5]) + " ";
        text += "\r\n";
    }
    // Cut at a character's start, so the file stays valid UTF-8.
    size_t end = size;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

// A file of `size` bytes of text, written in large pieces of the same 4 MB so that a gigabyte takes seconds.
void WriteTextFile(const std::wstring &path, unsigned long long size, bool russian = false) {
    static const std::string mixed = MixedText(4 << 20);
    static const std::string utf8 = RussianText(4 << 20);
    const std::string &piece = russian ? utf8 : mixed;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    for (unsigned long long done = 0; done < size;) {
        DWORD want = static_cast<DWORD>(std::min<unsigned long long>(piece.size(), size - done)), written = 0;
        if (!WriteFile(f, piece.data(), want, &written, nullptr) || written == 0) break;
        done += written;
    }
    // On the disk before anything is timed: a gigabyte still being written out slows every read beside it.
    FlushFileBuffers(f);
    CloseHandle(f);
}

// Committed private memory of the process, counted region by region (Wine reports no private usage figure).
double PrivateMb() {
    unsigned long long total = 0;
    MEMORY_BASIC_INFORMATION info{};
    for (const char *at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        const char *next = static_cast<const char *>(info.BaseAddress) + info.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return static_cast<double>(total) / (1 << 20);
}

void Pump() { ui::Application().ProcessMessages(); }

// The floor: a plain window that draws the first screen of a file's first 64 KB. It has the viewer's two
// scroll bars, so its text area is the viewer's; they cost nothing until one changes (ToggleBars).
class FloorWindow {
public:
    FloorWindow(int top, int width, int height) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BenchFloor";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, L"BenchFloor", L"floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                                0, top, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        font_ = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
        Pump();
    }
    ~FloorWindow() {
        DestroyWindow(hwnd_);
        DeleteObject(font_);
    }
    void Show(const std::wstring &path) {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        bytes_.assign(64 * 1024, '\0');
        DWORD got = 0;
        ReadFile(f, bytes_.data(), static_cast<DWORD>(bytes_.size()), &got, nullptr);
        bytes_.resize(got);
        CloseHandle(f);
        InvalidateRect(hwnd_, nullptr, TRUE);
        UpdateWindow(hwnd_);
    }
    // What W on wide lines needs at the least besides drawing the screen again: the horizontal bar changes
    // between a range to scroll and none, and the vertical thumb's size with the share of the text shown.
    void ToggleBars() {
        barOn_ = !barOn_;
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, barOn_ ? 2000 : 1, barOn_ ? 700u : 2u, 0, 0};
        SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
        SCROLLINFO sv{sizeof sv, SIF_ALL | SIF_DISABLENOSCROLL, 0, 9999, barOn_ ? 138u : 34u, 0, 0};
        SetScrollInfo(hwnd_, SB_VERT, &sv, TRUE);
        InvalidateRect(hwnd_, nullptr, TRUE);
        UpdateWindow(hwnd_);
    }
    // What Escape needs at the least: the active window goes away; timed alone, then the window comes back.
    // The other window is disabled meanwhile, so neither hiding hands the activation to the other and times
    // the redrawing of that one's frame.
    double TimeHiding(HWND other) {
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        UpdateWindow(hwnd_);
        Pump();
        EnableWindow(other, FALSE);
        double hiding = bench::Time([&] { ShowWindow(hwnd_, SW_HIDE); });
        EnableWindow(other, TRUE);
        ShowWindow(hwnd_, SW_SHOWNA);
        UpdateWindow(hwnd_);
        Pump();
        return hiding;
    }
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto *self = reinterpret_cast<FloorWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg != WM_PAINT || !self) return DefWindowProcW(hwnd, msg, wParam, lParam);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        SelectObject(dc, self->font_);
        RECT client{};
        GetClientRect(hwnd, &client);
        int y = 0;
        size_t at = 0;
        wchar_t line[1024];
        while (y < client.bottom && at < self->bytes_.size()) {
            size_t end = self->bytes_.find_first_of("\r\n", at);
            if (end == std::string::npos) end = self->bytes_.size();
            int n = MultiByteToWideChar(CP_ACP, 0, self->bytes_.data() + at,
                                        static_cast<int>(std::min<size_t>(end - at, 1024)), line, 1024);
            RECT row{0, y, client.right, y + 13};
            ExtTextOutW(dc, 2, y, ETO_OPAQUE | ETO_CLIPPED, &row, line, static_cast<UINT>(n), nullptr);
            y += 13;
            at = end + 1;
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    std::string bytes_;
    bool barOn_ = false;
};

void PressCtrl(HWND target, WORD key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(target, WM_KEYDOWN, key, 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

constexpr int kRounds = 25;
constexpr int kWidth = 800, kHeight = 400;

void ViewerBenchmark() {
    const double emptyStart = PrivateMb();
    std::wstring dir = TempFolder();
    viewer::TViewForm viewer;
    viewer.Create();
    // One above the other, so neither hides the other and each draws its whole screen.
    viewer.SetBounds(0, 0, kWidth, kHeight);
    viewer.Show();
    Pump();
    HWND memo = viewer.ViewMemo.Handle();
    RECT r{};
    GetClientRect(memo, &r);
    FloorWindow floor(kHeight, kWidth, kHeight);
    auto paint = [&] { UpdateWindow(memo); };

    struct Size {
        const wchar_t *name;
        unsigned long long bytes;
        bool russian;
    };
    const Size sizes[] = {
        {L"1mb", 1ull << 20, false}, {L"60mb", 60ull << 20, false}, {L"60mb-utf8", 60ull << 20, true}, {L"1gb", 1ull << 30, false}};
    std::printf("F3 to the first screen painted (text %ldx%ld), best of %d, the floor measured alongside:\n", r.right,
                r.bottom, kRounds);
    std::wstring big;
    for (const Size &size : sizes) {
        std::wstring path = dir + L"text-" + size.name + L".txt";
        double made = Time([&] { WriteTextFile(path, size.bytes, size.russian); });
        double viewing = 1e9, floorTime = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            floorTime = std::min(floorTime, Time([&] { floor.Show(path); }));
            viewing = std::min(viewing, Time([&] {
                                   viewer.LoadFile(path);
                                   paint();
                               }));
        }
        std::printf("  %-9ls viewer %7.2f ms, floor %7.2f ms, ratio %.2f (file written in %.1f s)%s\n", size.name,
                    viewing * 1e3, floorTime * 1e3, viewing / floorTime, made,
                    !size.russian ? "" : viewer.Checked(IDM_VIEWUNICODE) ? ", read as UTF-8" : " (NOT READ AS UTF-8)");
        std::fflush(stdout);
        if (size.bytes == sizes[3].bytes) big = path;
        else DeleteFileW(path.c_str());
    }

    std::printf("Keys on the 1 GB file, best of %d, each against the floor drawing the file's first screen "
                "alongside:\n",
                kRounds);
    // Each key from the state where it has work to do: S from ANSI, A and Escape from DOS.
    struct Step {
        const char *name;
        void (*before)(viewer::TViewForm &);
        void (*run)(viewer::TViewForm &);
        // What a bare window needs at the least for the same visible change besides drawing its screen,
        // and its cost, or nothing.
        const char *bareChange;
        double (*bare)(FloorWindow &, HWND viewer);
    };
    auto measure = [&](const Step &step, const std::wstring &path) {
        double best = 1e9, floorTime = 1e9, bareTime = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            if (step.bare) bareTime = std::min(bareTime, step.bare(floor, viewer.Handle()));
            viewer.Show();
            step.before(viewer);
            paint();
            Pump();
            floorTime = std::min(floorTime, Time([&] { floor.Show(path); }));
            if (step.bare) EnableWindow(floor.Handle(), FALSE);
            best = std::min(best, Time([&] {
                                step.run(viewer);
                                paint();
                            }));
            EnableWindow(floor.Handle(), TRUE);
        }
        std::printf("  %-16s %7.2f ms, floor %5.2f ms, ratio %.2f\n", step.name, best * 1e3, floorTime * 1e3,
                    best / floorTime);
        if (step.bare)
            std::printf("    a bare window %s: %.2f ms; %s against it: ratio %.2f\n", step.bareChange,
                        bareTime * 1e3, step.name, best / bareTime);
    };
    auto wrapClick = [](viewer::TViewForm &v) { v.ViewWrapClick(); };
    const Step steps[] = {
        {"W (wrap off/on)", [](viewer::TViewForm &) {}, wrapClick, nullptr, nullptr},
        {"S (DOS)", [](viewer::TViewForm &v) { v.ViewAnsiClick(); }, [](viewer::TViewForm &v) { v.ViewAsciiClick(); },
         nullptr, nullptr},
        {"A (ANSI)", [](viewer::TViewForm &v) { v.ViewAsciiClick(); }, [](viewer::TViewForm &v) { v.ViewAnsiClick(); },
         nullptr, nullptr},
        {"Escape", [](viewer::TViewForm &v) { v.ViewAsciiClick(); }, [](viewer::TViewForm &v) { v.ViewCloseClick(); },
         "hiding itself as Escape does", [](FloorWindow &f, HWND other) { return f.TimeHiding(other); }},
    };
    // The gigabyte's lines fit the window: its horizontal bar has nothing to scroll, wrapped or not.
    for (const Step &step : steps) measure(step, big);
    // Lines wider than the window: W also turns the horizontal bar on or off, and the vertical thumb's size
    // follows the share of the text on the screen.
    std::wstring wide = dir + L"wide.txt";
    {
        std::string line = std::string(400, 'w') + "\r\n", text;
        while (text.size() < (1u << 20)) text += line;
        HANDLE f = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(f);
    }
    viewer.LoadFile(wide);
    std::printf("Lines of 400 characters, wider than the window:\n");
    measure({"W (wrap off/on)", [](viewer::TViewForm &) {}, wrapClick,
             "drawing its screen again and changing its two scroll bars as W does",
             [](FloorWindow &f, HWND) { return Time([&] { f.ToggleBars(); }); }},
            wide);
    viewer.LoadFile(big);
    DeleteFileW(wide.c_str());
    viewer.Show();
    Pump();
    double toEnd = Time([&] {
        PressCtrl(memo, VK_END);
        paint();
    });
    std::vector<std::wstring> rows = viewer.ViewMemo.ScreenRows();
    std::printf("  Ctrl+End          %7.2f ms (a scan of the whole file for its end), caret at byte %llu%s\n",
                toEnd * 1e3, static_cast<unsigned long long>(viewer.ViewMemo.Caret()),
                viewer.ViewMemo.Caret() == (1ull << 30) ? "" : " (NOT AT THE END)");
    double toHome = Time([&] {
        PressCtrl(memo, VK_HOME);
        paint();
    });
    std::printf("  Ctrl+Home         %7.2f ms\n", toHome * 1e3);
    for (int i = 0; i < 200; ++i) SendMessageW(memo, WM_KEYDOWN, VK_NEXT, 1);
    paint();
    Pump();
    const double afterViewing = PrivateMb();
    std::printf("Private memory: empty start %.1f MB, after viewing the 1 GB file %.1f MB: %.1f MB more (limit 64)\n",
                emptyStart, afterViewing, afterViewing - emptyStart);
    viewer.ViewMemo.Clear();
    viewer.ViewCloseClick();
    DeleteFileW(big.c_str());

    // A log that grows while its end is on the screen: from a line written to it being on the screen.
    std::wstring log = dir + L"growing.log";
    WriteTextFile(log, 100 * 1024);
    {
        // The log's last line ends, so each line written is a row of its own.
        HANDLE f = CreateFileW(log.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, "\r\n", 2, &written, nullptr);
        CloseHandle(f);
    }
    viewer.Show();
    viewer.LoadFile(log);
    PressCtrl(memo, VK_END);
    paint();
    double worst = 0, total = 0;
    const int lines = 5;
    for (int i = 0; i < lines; ++i) {
        std::string line = "appended line ";
        line += std::to_string(i) + "\r\n";
        std::wstring want(line.begin(), line.end() - 2);
        HANDLE f = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
        DWORD written = 0;
        double took = Time([&] {
            WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(f);
            for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                Pump();
                std::vector<std::wstring> shown = viewer.ViewMemo.ScreenRows();
                if (std::find(shown.begin(), shown.end(), want) != shown.end()) break;
            }
        });
        worst = std::max(worst, took);
        total += took;
    }
    std::printf("A growing log, its end on the screen: a written line is on the screen after %.0f ms on average, "
                "%.0f ms at worst (%d lines; the view looks every %u ms)\n",
                total / lines * 1e3, worst * 1e3, lines, viewer::TTextView::kWatchMs);
    viewer.ViewMemo.Clear();
    viewer.ViewCloseClick();
    DeleteFileW(log.c_str());
}

void PaneBenchmark() {
    std::wstring dir = TempFolder() + L"pane\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    std::string content = MixedText(10 * 1024);
    auto name = [](int i) { return L"file" + std::to_wstring(1000 + i) + L".txt"; };
    for (int i = 0; i < 1000; ++i) {
        std::string own = "file " + std::to_string(1000 + i) + "\r\n" + content;
        HANDLE f = CreateFileW((dir + name(i)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, own.data(), static_cast<DWORD>(own.size()), &written, nullptr);
        CloseHandle(f);
    }

    app::TMainForm form;
    form.Create();
    form.SetBounds(0, 0, 813, 405);
    form.FormResize();
    form.Show();
    form.Left.SetDirectory(dir);
    form.Right.SetDirectory(dir);
    form.Left.ColourActive();
    HWND view = form.LeftFileView.Handle();
    // Each Down is posted as a key would be and handled to the end, painting included, before the next: a
    // person sees every file the cursor passes.
    auto moveDown = [&](bool heldKey) {
        form.LeftFileView.SetSelected(0);
        SetFocus(view);
        Pump();
        return Time([&] {
            for (int i = 0; i < 1000; ++i) {
                PostMessageW(view, WM_KEYDOWN, VK_DOWN, 1);
                PostMessageW(view, WM_KEYUP, VK_DOWN, 0xC0000001);
                if (!heldKey) Pump();
            }
            Pump();
            // A held key's refill waits for the queue to empty.
            if (heldKey)
                for (DWORD start = GetTickCount(); GetTickCount() - start < 200;) Pump();
        });
    };
    auto &pane = form.Right.QMemo;
    auto shows = [&](int row) {
        std::wstring first = pane.ScreenRows().empty() ? L"" : pane.ScreenRows()[0];
        return first == L"file " + std::to_wstring(1000 + row - 1);
    };
    double bare = moveDown(false);
    form.Quickview1Click();
    int fillsBefore = pane.Fills();
    double withPane = moveDown(false);
    int fills = pane.Fills() - fillsBefore;
    bool followed = shows(1000) && fills >= 1000;
    form.Quickview1Click();
    bare = std::min(bare, moveDown(false));
    std::printf("1,000 moves Down over 1,000 files of 10 KB, each handled before the next: with the pane %.3f s "
                "(%.2f ms each, %d fills), without %.3f s, ratio %.2f%s\n",
                withPane, withPane, fills, bare, withPane / bare,
                followed ? ", the pane followed to the last file" : " (THE PANE DID NOT FOLLOW)");
    form.Quickview1Click();
    fillsBefore = pane.Fills();
    double held = moveDown(true);
    fills = pane.Fills() - fillsBefore;
    std::printf("1,000 Downs queued at once (a held key): %.3f s, %d fills, %s\n", held, fills,
                shows(1000) ? "the pane shows the last file" : "THE PANE DID NOT FOLLOW TO THE LAST FILE");
    form.Quickview1Click();
    // PgDn, each handled before the next, with the pane following and without it.
    auto pagesDown = [&] {
        form.LeftFileView.SetSelected(0);
        SetFocus(view);
        Pump();
        return Time([&] {
            for (int i = 0; i < 1000; ++i) {
                PostMessageW(view, WM_KEYDOWN, i % 40 < 20 ? VK_NEXT : VK_PRIOR, 1);
                PostMessageW(view, WM_KEYUP, i % 40 < 20 ? VK_NEXT : VK_PRIOR, 0xC0000001);
                Pump();
            }
        });
    };
    double pagesBare = pagesDown();
    form.Quickview1Click();
    fillsBefore = pane.Fills();
    double pagesPane = pagesDown();
    fills = pane.Fills() - fillsBefore;
    int row = form.LeftFileView.Selected();
    form.Quickview1Click();
    pagesBare = std::min(pagesBare, pagesDown());
    std::printf("1,000 PgDn and PgUp (20 each way by turns), each handled before the next: with the pane %.3f s "
                "(%d fills), without %.3f s, ratio %.2f%s\n",
                pagesPane, fills, pagesBare, pagesPane / pagesBare,
                (row == 0 ? pane.ScreenRows().front() == dir + L".." : shows(row))
                    ? ", the pane shows the cursor's row"
                    : " (THE PANE DID NOT FOLLOW)");
    form.Left.SetDirectory(L"c:\\");
    form.Right.SetDirectory(L"c:\\");
    for (int i = 0; i < 1000; ++i) DeleteFileW((dir + name(i)).c_str());
    RemoveDirectoryW(dir.c_str());
}

} // namespace

int wmain(int, wchar_t **) {
    app::InitApplication();
    ViewerBenchmark();
    PaneBenchmark();
    return 0;
}
