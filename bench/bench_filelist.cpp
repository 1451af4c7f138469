// Lists directories of 10,000 and 100,000 files into a file list and compares the time with a bare
// FindFirstFile/FindNextFile loop over the same directory, measured in the same run; then sorts the
// 100,000 rows by each column. Then lists 100,000 files (and 300,000 or 1,000,000 when tools/bench.sh has
// made those folders) with a timer beside it and prints the longest time between two turns of the message
// loop: the window is to answer within 50 ms while a huge listing is read, sorted and shown.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <string>

#include "BenchClock.h"
#include "filelist/DirectoryListing.h"
#include "filelist/FileList.h"
#include "ui/Form.h"

namespace {

using bench::Time;

std::wstring MakeDirectory(const std::wstring &base, int files) {
    std::wstring dir = base + L"bench-" + std::to_wstring(files) + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    static const wchar_t *const exts[] = {L".txt", L".doc", L".bin", L".c", L".h", L".dat", L".log", L""};
    WIN32_FIND_DATAW fd;
    int existing = 0;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do ++existing;
        while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    if (existing >= files + 2) return dir;
    for (int i = 0; i < files; ++i) {
        std::wstring name = dir + L"File" + std::to_wstring(i) + exts[i % 8];
        HANDLE f = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (i % 3 == 0) {
            DWORD w;
            WriteFile(f, "zelvor", 1 + i % 6, &w, nullptr);
        }
        CloseHandle(f);
    }
    for (int i = 0; i < 20; ++i) CreateDirectoryW((dir + L"Folder" + std::to_wstring(i)).c_str(), nullptr);
    return dir;
}

int BareLoop(const std::wstring &dir) {
    WIN32_FIND_DATAW fd;
    int n = 0;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do ++n;
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return n;
}

// The waits between two turns of the message loop while `work` runs: a timer of this thread ticks every few
// milliseconds whenever the loop turns, and its silences are the loop's absences. On a busy machine a wait
// also holds the time the thread was not given a processor, so the processor time the thread used within
// the wait is kept too (as the system counts it, in steps of 10 to 16 ms).
struct LoopTurns {
    double seconds = 0;                             // the work's whole time
    std::vector<std::pair<double, double>> longWaits; // over 50 ms: from, to, in seconds from the work's start
    std::vector<double> longWaitsCpu;                // the processor time used in each
};
double g_start = 0, g_lastTurn = 0, g_lastCpu = 0;
LoopTurns *g_turns = nullptr;
double ThreadCpu() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME &t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(value(kernel) + value(user)) / 1e7;
}
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    double now = bench::Now(), cpu = ThreadCpu();
    if (now - g_lastTurn > 0.05) {
        g_turns->longWaits.push_back({g_lastTurn - g_start, now - g_start});
        g_turns->longWaitsCpu.push_back(cpu - g_lastCpu);
    }
    g_lastTurn = now;
    g_lastCpu = cpu;
}
template <typename F> LoopTurns TimeLoopTurns(F &&work) {
    LoopTurns turns;
    g_turns = &turns;
    UINT_PTR timer = SetTimer(nullptr, 0, 5, Tick);
    g_lastTurn = g_start = bench::Now();
    g_lastCpu = ThreadCpu();
    work();
    Tick(nullptr, 0, 0, 0); // the wait from the last turn to the work's end counts too
    turns.seconds = g_lastTurn - g_start;
    KillTimer(nullptr, timer);
    return turns;
}

// A plain owner-data list view of the panel's size and columns, with nothing of the program's: what telling
// a list view its rows and painting them costs by itself. Under Wine's default theme, drawing a scroll bar
// takes milliseconds.
LRESULT CALLBACK PlainListParent(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR *>(lParam)->code == LVN_GETDISPINFOW) {
        LVITEMW &item = reinterpret_cast<NMLVDISPINFOW *>(lParam)->item;
        if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0)
            _snwprintf(item.pszText, static_cast<size_t>(item.cchTextMax), L"File%d.txt", item.iItem);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

struct PlainList {
    HWND parent = nullptr, list = nullptr;
    PlainList() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainListParent;
        wc.lpszClassName = L"BenchPlainListParent";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassW(&wc);
        parent = CreateWindowW(wc.lpszClassName, L"plain", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 620, 0, 600, 400,
                               nullptr, nullptr, nullptr, nullptr);
        list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                             0, 0, 580, 380, parent, nullptr, nullptr, nullptr);
        const wchar_t *captions[] = {L"Name", L"Size", L"Type", L"Modified"};
        for (int c = 0; c < 4; ++c) {
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.cx = c == 0 ? 200 : 100;
            col.pszText = const_cast<wchar_t *>(captions[c]);
            ListView_InsertColumn(list, c, &col);
        }
        ShowWindow(parent, SW_SHOW);
        UpdateWindow(parent);
    }
    ~PlainList() { DestroyWindow(parent); }
    // As a listing shows: the old rows go, the new ones come, and the window paints.
    void Show(int rows) {
        ListView_SetItemCountEx(list, 0, 0);
        ListView_SetItemCountEx(list, rows, 0);
        UpdateWindow(parent);
    }
};

} // namespace

int main(int argc, char **argv) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    CoInitialize(nullptr);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    ui::TForm form;
    form.CreateForm(L"bench", 600, 400, false);
    filelist::TFileList list;
    list.Create(form.Handle(), 1);
    list.SetBounds(0, 0, 580, 380);
    list.SetFileTypes(filelist::kAllFileTypes);
    ShowWindow(form.Handle(), SW_SHOW);

    std::printf("%-28s %10s %10s %8s\n", "case", "bare s", "panel s", "ratio");
    // An argument limits the run to one directory size (e.g. "10000").
    std::vector<int> sizes{10000, 100000};
    if (argc > 1) sizes = {std::atoi(argv[1])};
    for (int files : sizes) {
        std::wstring dir = MakeDirectory(temp, files);
        BareLoop(dir); // warm the directory cache for both
        double bare = 1e9, panel = 1e9, alone = 1e9, plain = 1e9;
        PlainList plainList;
        plainList.Show(files);
        for (int run = 0; run < 3; ++run) {
            plain = std::min(plain, Time([&] { plainList.Show(files); }));
            bare = std::min(bare, Time([&] { BareLoop(dir); }));
            panel = std::min(panel, Time([&] { list.SetDirectory(dir); }));
            // The same listing with no window: what the list view adds is the rest.
            filelist::TDirectoryListing listing;
            listing.SetFileTypes(filelist::kAllFileTypes);
            alone = std::min(alone, Time([&] { listing.SetDirectory(dir); }));
        }
        std::printf("list %-23d %10.3f %10.3f %8.2f   (the listing with no window: %.3f s, %.2fx; a plain list view "
                    "shown these rows: %.3f s, and with the bare loop %.2fx)\n",
                    files, bare, panel, panel / bare, alone, alone / bare, plain, panel / (bare + plain));
        std::fflush(stdout);
        if (files == 100000) {
            static const struct {
                filelist::TFileInfo member;
                const char *name;
            } columns[] = {{filelist::fiSize, "size"}, {filelist::fiType, "type"}, {filelist::fiModified, "modified"},
                           {filelist::fiName, "name"}};
            for (auto c : columns) {
                double sort = Time([&] { list.SetSortColumn(c.member); });
                std::printf("list + sort by %-13s %10.3f %10.3f %8.2f\n", c.name, bare, panel + sort,
                            (panel + sort) / bare);
            }
            std::printf("rows listed: %d\n", list.Count());
        }
    }

    // Huge listings with the window answering: the folders beyond 100,000 files are made by tools/bench.sh
    // (BENCH_STARTUP_SIZES="300000 1000000"), which is much faster than through Wine.
    std::printf("\nthe message loop's longest absence while a folder is listed, sorted and shown (target 50 ms)\n");
    for (int files : {100000, 300000, 1000000}) {
        std::wstring dir = std::wstring(temp) + L"bench-" + std::to_wstring(files) + L"\\";
        if (BareLoop(dir) < files) {
            if (files > 100000) std::printf("%d files: no folder %ls (tools/bench.sh makes it)\n", files, dir.c_str());
            continue;
        }
        list.SetDirectory(std::wstring(temp)); // from a small folder, as a user comes to a large one
        for (int run = 0; run < (files > 300000 ? 2 : 3); ++run) {
            list.SetDirectory(std::wstring(temp));
            LoopTurns turns = TimeLoopTurns([&] { list.SetDirectory(dir); });
            // The first wait is the system's first read of the folder (under Wine it reads the whole folder
            // before it returns the first name); the rest are the program's own.
            double own = 0, ownCpu = 0;
            for (size_t i = 1; i < turns.longWaits.size(); ++i) {
                own = std::max(own, turns.longWaits[i].second - turns.longWaits[i].first);
                ownCpu = std::max(ownCpu, turns.longWaitsCpu[i]);
            }
            std::printf("%d files (%d rows), run %d: listed in %.3f s; after the first read, longest wait between two "
                        "turns of the loop %.0f ms, most processor time within one %.0f ms; waits over 50 ms "
                        "(from-to, ms, processor ms):", files, list.Count(), run + 1, turns.seconds, own * 1e3,
                        ownCpu * 1e3);
            for (size_t i = 0; i < turns.longWaits.size(); ++i)
                std::printf(" %.0f-%.0f/%.0f", turns.longWaits[i].first * 1e3, turns.longWaits[i].second * 1e3,
                            turns.longWaitsCpu[i] * 1e3);
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    list.SetDirectory(std::wstring(temp));
    return 0;
}
