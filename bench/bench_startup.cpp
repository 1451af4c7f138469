// Start-up as a user meets it: launches the real Zelvor.exe with a settings key whose left directory is a
// folder of 10,000 or 100,000 files (the right one an empty folder), and polls the left list view's row
// count from this process every 10 ms. Prints launch-to-window, launch-to-all-rows less the same for a
// folder of one file, and the ratio to a bare FindFirstFileW/FindNextFileW loop over the folder in the same run;
// and the empty-folder start against the minimal window program (one window, one list view, one row).
// Each figure is the best of three interleaved runs (more with --runs N or BENCH_STARTUP_RUNS=N).
// Usage: bench_startup [--runs N] [--also other.exe ...] [--empty-only | files ...] (default 10000 100000);
// --empty-only (or BENCH_STARTUP_EMPTY_ONLY=1) times the empty-folder start against the minimal program alone;
// --also times another build's starts in the same rounds, to compare two builds through the same noise.
#include <windows.h>
#define NO_SHLWAPI_STRFCNS // its StrToInt would rename the program's own
#include <shlwapi.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "BenchClock.h"
#include "app/StartupTrace.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "driver/ProcessWindow.h"
#include "filelist/Masks.h"

namespace {

int kRuns = 3; // "--runs N" or BENCH_STARTUP_RUNS=N asks for more
constexpr DWORD kPollMs = 10;
constexpr double kGiveUpSeconds = 60;
constexpr double kMarkGiveUpSeconds = 20;
const wchar_t kSettingsKey[] = L"SOFTWARE\\Kestrune\\Zelvor";

using bench::Now;


long long SystemTimeNow() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return (static_cast<long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

std::wstring ExeDirectory() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.rfind(L'\\') + 1);
}

std::wstring Wide(const char *text) {
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

std::wstring TempDirectory() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

// The bare loop, counting the rows Zelvor shows for the folder with its start-up mask "*.*": every
// folder entry but ".", and the files the mask admits (names with a dot).
struct Bare {
    int rows = 0;
    double seconds = 0;
    double basicSeconds = 0; // the same loop asking for no short names, in large fetches
};
Bare BareLoop(const std::wstring &dir) {
    Bare result;
    WIN32_FIND_DATAW fd;
    int entries = 0;
    double start = Now();
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do ++entries;
        while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    result.seconds = Now() - start;
    start = Now();
    h = FindFirstFileExW((dir + L"*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (h != INVALID_HANDLE_VALUE) {
        do ++entries;
        while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    result.basicSeconds = Now() - start;
    // The expected rows, counted outside the timed loop.
    filelist::TMaskList mask;
    filelist::BuildMaskList(L"*.*", mask, true, false);
    h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (!(fd.cFileName[0] == L'.' && fd.cFileName[1] == 0)) ++result.rows;
            } else if (filelist::MatchesMaskList(fd.cFileName, mask, true, false)) {
                ++result.rows;
            }
        while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    return result;
}

// A complete settings key, as a first start leaves it, with the two directories to start in.
void SeedSettings(const std::wstring &left, const std::wstring &right) {
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, kSettingsKey);
    config::CreateReg({100, 100, 813, 405, L"MS Sans Serif", config::clWindowText, config::clWindow});
    config::TSettingsKey key;
    key.WriteString(L"LeftDirectory", left);
    key.WriteString(L"RightDirectory", right);
}

struct ListViewQuery {
    HWND found;
    LONG left;
};

BOOL CALLBACK MatchListView(HWND hwnd, LPARAM param) {
    auto *q = reinterpret_cast<ListViewQuery *>(param);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    RECT r;
    if (lstrcmpiW(cls, WC_LISTVIEWW) == 0 && GetWindowRect(hwnd, &r) && r.left < q->left) {
        q->found = hwnd;
        q->left = r.left;
    }
    return TRUE;
}

// The leftmost list view of the window (Zelvor's left file view).
HWND LeftListView(HWND top) {
    ListViewQuery q{nullptr, LONG_MAX};
    EnumChildWindows(top, MatchListView, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

int RowCount(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 2000, &count)) return -1;
    return static_cast<int>(count);
}

struct Launch {
    bool ok = false;
    double window = 0;     // launch until the main window is visible
    double rows = 0;       // launch until the left list holds every expected row
    SIZE_T privateBytes = 0; // the process's private memory once every row is there
    SIZE_T workingSet = 0;
    SIZE_T peakWorkingSet = 0;
    std::vector<std::pair<std::wstring, double>> steps; // the program's own start-up marks, if any
    // With Downs posted while the rows come, from the first moment one can act (a row below the cursor):
    // how many were posted, the wait of each that moved the cursor, and the longest wait of those that
    // never did by the end of the run.
    int keys = 0;
    std::vector<double> keyLatencies;
    int keysNeverActed = 0;
    double neverActedWait = 0;
    double markSeconds = -1; // gray * on the listed rows until the window answers with the marks shown
};

// Where the program's main thread is while it lists: its instruction pointer, sampled from outside.
struct Profile {
    std::map<std::wstring, int> modules;  // samples per module
    std::map<std::wstring, int> addresses; // samples per "module+offset"
    int samples = 0;
};

// The shared area Zelvor writes its start-up marks into while it exists.
class TraceArea {
public:
    TraceArea() {
        mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(app::TStartupTraceArea), app::kStartupTraceName);
        if (mapping_)
            area_ = static_cast<app::TStartupTraceArea *>(
                MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(app::TStartupTraceArea)));
    }
    ~TraceArea() {
        if (area_) UnmapViewOfFile(area_);
        if (mapping_) CloseHandle(mapping_);
    }
    void Reset() {
        if (area_) area_->count = 0;
    }
    bool Has(const wchar_t *step) const {
        if (!area_) return false;
        long n = std::min<long>(area_->count, static_cast<long>(std::size(area_->entries)));
        for (long i = 0; i < n; ++i)
            if (std::wcscmp(area_->entries[i].step, step) == 0) return true;
        return false;
    }
    std::vector<std::pair<std::wstring, double>> Steps(long long launch) const {
        std::vector<std::pair<std::wstring, double>> steps;
        if (!area_) return steps;
        long n = std::min<long>(area_->count, static_cast<long>(std::size(area_->entries)));
        for (long i = 0; i < n; ++i)
            steps.push_back({area_->entries[i].step, double(area_->entries[i].time - launch) / 1e7});
        return steps;
    }

private:
    HANDLE mapping_ = nullptr;
    app::TStartupTraceArea *area_ = nullptr;
};

bool g_keys = false;       // post a Down every 100 ms during the listings too
bool g_mark = false;       // time gray * (invert the marks) once every row is there
Profile *g_profile = nullptr; // sample the main thread of the keyed runs

int FocusedRow(HWND list) {
    DWORD_PTR row = static_cast<DWORD_PTR>(-1);
    if (!SendMessageTimeoutW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED, SMTO_NORMAL, 2000, &row))
        return -2;
    return static_cast<int>(row);
}

std::wstring ModuleOf(HANDLE process, DWORD address, DWORD &offset) {
    HMODULE modules[512];
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &needed)) return L"?";
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
        MODULEINFO info{};
        if (!GetModuleInformation(process, modules[i], &info, sizeof info)) continue;
        DWORD base = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(info.lpBaseOfDll));
        if (address >= base && address < base + info.SizeOfImage) {
            wchar_t name[MAX_PATH] = {};
            GetModuleBaseNameW(process, modules[i], name, MAX_PATH);
            offset = address - base;
            return name;
        }
    }
    offset = address;
    return L"(outside modules)";
}

// Samples the thread's instruction pointer every millisecond or so until `stop` is set.
void SampleThread(HANDLE process, HANDLE thread, volatile bool &stop, Profile &profile) {
    std::map<DWORD, int> hits;
    while (!stop) {
        if (SuspendThread(thread) != static_cast<DWORD>(-1)) {
            CONTEXT context{};
            context.ContextFlags = CONTEXT_CONTROL;
            if (GetThreadContext(thread, &context)) ++hits[context.Eip];
            ResumeThread(thread);
        }
        Sleep(1);
    }
    std::map<DWORD, std::pair<std::wstring, DWORD>> cache;
    for (const auto &[eip, n] : hits) {
        DWORD offset = 0;
        std::wstring module = ModuleOf(process, eip, offset);
        profile.modules[module] += n;
        wchar_t at[300];
        swprintf(at, 300, L"%ls+%lx", module.c_str(), static_cast<unsigned long>(offset));
        profile.addresses[at] += n;
        profile.samples += n;
    }
}

Launch Run(const std::wstring &exe, int expectedRows, TraceArea &trace, bool keys = false) {
    Launch result;
    trace.Reset();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    long long launchSystemTime = SystemTimeNow();
    double launch = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
        return result;
    }
    HWND top = nullptr, list = nullptr;
    int seen = -1;
    double nextKey = 0, posted = -1, listed = -1;
    int before = -1;
    bool rowsShown = false;
    volatile bool stopSampling = false;
    std::thread sampler;
    if (keys && g_profile)
        sampler = std::thread([&] { SampleThread(pi.hProcess, pi.hThread, stopSampling, *g_profile); });
    while (Now() - launch < kGiveUpSeconds) {
        if (!top) {
            top = testdriver::VisibleTopWindow(pi.dwProcessId);
            if (top) result.window = Now() - launch;
        }
        if (top && !list) list = LeftListView(top);
        if (list && keys) {
            if (posted >= 0) {
                int now = FocusedRow(list);
                if (now != before && now != -2) {
                    result.keyLatencies.push_back(Now() - posted);
                    posted = -1;
                }
            }
            // A Down can act once there is a row below the cursor's first place. One key at a time, every
            // 100 ms or as soon as the last one acted when it took longer: each key has a wait of its own.
            if (!rowsShown) rowsShown = RowCount(list) >= 2;
            if (rowsShown && posted < 0 && listed < 0 && Now() >= nextKey) {
                before = FocusedRow(list);
                PostMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
                PostMessageW(list, WM_KEYUP, VK_DOWN, 0xC0000001);
                posted = Now();
                ++result.keys;
                nextKey = posted + 0.1;
            }
        }
        if (list && !result.ok && (seen = RowCount(list)) >= expectedRows) {
            result.rows = Now() - launch;
            result.ok = true;
            // With keys, they go on until the listing has ended, its sort included.
            if (!keys) break;
        }
        if (result.ok && listed < 0 && (trace.Has(L"left side listed") || Now() - launch > kGiveUpSeconds / 2))
            listed = Now();
        // The key posted last is given its time to act once the listing has ended, up to two seconds.
        if (listed >= 0 && (posted < 0 || Now() - listed > 2)) break;
        if (WaitForSingleObject(pi.hProcess, kPollMs) == WAIT_OBJECT_0) break;
    }
    if (posted >= 0) {
        ++result.keysNeverActed;
        result.neverActedWait = Now() - posted;
    }
    stopSampling = true;
    if (sampler.joinable()) sampler.join();
    if (result.ok && g_mark && !keys && list) {
        // Timed on the sorted rows: the listing has ended (its sort included), or the key would wait for it.
        while (!trace.Has(L"left side listed") && Now() - launch < kGiveUpSeconds)
            if (WaitForSingleObject(pi.hProcess, kPollMs) == WAIT_OBJECT_0) break;
        // Marks show as state image 1 of a row; row 1 is a folder below "..", which inverting marks.
        double start = Now();
        PostMessageW(list, WM_KEYDOWN, VK_MULTIPLY, 1);
        PostMessageW(list, WM_KEYUP, VK_MULTIPLY, 0xC0000001);
        while (Now() - start < kMarkGiveUpSeconds) {
            DWORD_PTR state = 0;
            if (SendMessageTimeoutW(list, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK, SMTO_NORMAL, 1000, &state) &&
                (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(1)) {
                result.markSeconds = Now() - start;
                break;
            }
            Sleep(1);
        }
    }
    // The memory is read once the shell's pictures are loaded too: an empty folder's start has them
    // loaded a moment after its row, and a row's share must not take their size.
    for (int waited = 0; result.ok && waited < 300 && !trace.Has(L"shell pictures ready"); ++waited)
        if (WaitForSingleObject(pi.hProcess, kPollMs) == WAIT_OBJECT_0) break;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    if (GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&memory), sizeof memory))
    {
        result.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
        result.workingSet = memory.WorkingSetSize;
        result.peakWorkingSet = memory.PeakWorkingSetSize;
    }
    // Let the right side finish too, so that the marks are complete, then close as a user would.
    Sleep(200);
    result.steps = trace.Steps(launchSystemTime);
    if (top) PostMessageW(top, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (!result.ok) std::printf("  %ls showed %d rows of %d\n", exe.c_str(), seen, expectedRows);
    return result;
}

void PrintSteps(const char *title, const std::vector<std::pair<std::wstring, double>> &steps) {
    if (steps.empty()) return;
    std::printf("%s (seconds from launch, step ended):\n", title);
    double previous = 0;
    for (const auto &[step, at] : steps) {
        std::printf("  %-36ls %7.3f  (+%.3f)\n", step.c_str(), at, at - previous);
        previous = at;
    }
}

// Each step's middle time over all runs, in order of first appearance: a single best run mixes lucky
// and unlucky steps. A step of the main thread counts from the mark before it; the shell's thread marks
// its end counted from the process entry.
void PrintMedianSteps(const char *title, const std::vector<Launch> &runs) {
    constexpr const wchar_t *kEntry = L"process entry", *kShellThread = L"shell pictures ready";
    std::map<std::wstring, std::vector<double>> times;
    std::vector<std::wstring> order;
    for (const Launch &l : runs) {
        double previous = 0, entry = 0;
        for (const auto &[step, at] : l.steps) {
            if (!times.count(step)) order.push_back(step);
            if (step == kEntry) entry = at;
            bool shellThread = step == kShellThread;
            times[step].push_back(shellThread ? at - entry : at - previous);
            if (!shellThread) previous = at;
        }
    }
    if (order.empty()) return;
    std::printf("%s (ms):\n", title);
    for (const std::wstring &step : order) {
        std::vector<double> &t = times[step];
        std::nth_element(t.begin(), t.begin() + t.size() / 2, t.end());
        std::printf("  %-36ls %7.1f%s\n", step.c_str(), t[t.size() / 2] * 1000,
                    step == kShellThread ? "  (from process entry, on its own thread)" : "");
    }
}

// The time between two of the program's own marks, or -1 when either is missing.
double Between(const Launch &l, const wchar_t *from, const wchar_t *to) {
    double start = -1, end = -1;
    for (const auto &[step, at] : l.steps) {
        if (step == from) start = at;
        if (step == to) end = at;
    }
    return start >= 0 && end >= 0 ? end - start : -1;
}

// The least such time over the runs.
double BestBetween(const std::vector<Launch> &runs, const wchar_t *from, const wchar_t *to) {
    double best = -1;
    for (const Launch &l : runs)
        if (double t = Between(l, from, to); l.ok && t >= 0 && (best < 0 || t < best)) best = t;
    return best;
}

} // namespace

int main(int argc, char **argv) {
    std::vector<int> sizes;
    std::vector<std::wstring> also; // other builds to time in the same rounds
    bool emptyOnly = std::getenv("BENCH_STARTUP_EMPTY_ONLY") != nullptr;
    g_keys = std::getenv("BENCH_STARTUP_KEYS") != nullptr;
    g_mark = std::getenv("BENCH_STARTUP_MARK") != nullptr;
    Profile profile;
    if (std::getenv("BENCH_STARTUP_PROFILE")) g_profile = &profile;
    if (const char *list = std::getenv("BENCH_STARTUP_SIZES"))
        for (char *end = nullptr;; list = end) {
            long n = std::strtol(list, &end, 10);
            if (end == list) break;
            sizes.push_back(static_cast<int>(n));
        }
    if (const char *runs = std::getenv("BENCH_STARTUP_RUNS")) kRuns = std::max(1, std::atoi(runs));
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--runs" && i + 1 < argc) kRuns = std::max(1, std::atoi(argv[++i]));
        else if (std::string(argv[i]) == "--empty-only") emptyOnly = true;
        else if (std::string(argv[i]) == "--keys") g_keys = true;
        else if (std::string(argv[i]) == "--mark") g_mark = true;
        else if (std::string(argv[i]) == "--profile") g_profile = &profile;
        else if (std::string(argv[i]) == "--also" && i + 1 < argc) also.push_back(Wide(argv[++i]));
        else sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty() && !emptyOnly) sizes = {10000, 100000};

    const std::wstring zelvor = ExeDirectory() + L"..\\Zelvor.exe";
    const std::wstring minimal = ExeDirectory() + L"minimal_window.exe";
    const std::wstring temp = TempDirectory();
    const std::wstring empty = temp + L"bench-empty\\";
    CreateDirectoryW(empty.c_str(), nullptr);
    // The start of a folder of one file: it waits for the shell's pictures as a folder of files does, and
    // an empty folder's start does not, so the listing figures take it as their fixed part.
    const std::wstring oneFile = temp + L"bench-one-file\\";
    CreateDirectoryW(oneFile.c_str(), nullptr);
    if (HANDLE h = CreateFileW((oneFile + L"one.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    TraceArea trace;

    struct SizeRuns {
        int files;
        std::wstring dir;
        std::vector<Bare> bare;
        std::vector<Launch> launches;
        std::vector<std::vector<Launch>> alsoLaunches; // per other build
        std::vector<Launch> keyed;                     // with a Down every 100 ms
    };
    std::vector<SizeRuns> perSize;
    for (int n : sizes) {
        std::wstring dir = temp + L"bench-" + std::to_wstring(n) + L"\\";
        if (GetFileAttributesW(dir.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::printf("missing %ls: tools/bench.sh makes it\n", dir.c_str());
            return 1;
        }
        perSize.push_back({n, dir, {}, {}, std::vector<std::vector<Launch>>(also.size()), {}});
    }
    std::vector<Launch> minimalRuns, emptyRuns, oneFileRuns;
    std::vector<std::vector<Launch>> alsoRuns(also.size());

    // Interleaved: each round runs every program once, so that a slow moment of the machine hits all alike.
    for (int round = 0; round < kRuns; ++round) {
        minimalRuns.push_back(Run(minimal, 1, trace));
        SeedSettings(empty, empty);
        emptyRuns.push_back(Run(zelvor, 1, trace));
        for (size_t i = 0; i < also.size(); ++i) {
            SeedSettings(empty, empty);
            alsoRuns[i].push_back(Run(also[i], 1, trace));
        }
        if (!perSize.empty()) {
            SeedSettings(oneFile, empty);
            oneFileRuns.push_back(Run(zelvor, 2, trace));
        }
        for (SizeRuns &s : perSize) {
            Bare bare = BareLoop(s.dir);
            s.bare.push_back(bare);
            SeedSettings(s.dir, empty);
            s.launches.push_back(Run(zelvor, bare.rows, trace));
            if (g_keys) {
                SeedSettings(s.dir, empty);
                s.keyed.push_back(Run(zelvor, bare.rows, trace, true));
            }
            for (size_t i = 0; i < also.size(); ++i) {
                SeedSettings(s.dir, empty);
                s.alsoLaunches[i].push_back(Run(also[i], bare.rows, trace));
            }
        }
    }
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, kSettingsKey);

    auto best = [](const std::vector<Launch> &runs, double Launch::*field) {
        double b = 1e9;
        for (const Launch &l : runs)
            if (l.ok) b = std::min(b, l.*field);
        return b;
    };
    double minimalRows = best(minimalRuns, &Launch::rows);
    double emptyWindow = best(emptyRuns, &Launch::window);
    double emptyRows = best(emptyRuns, &Launch::rows);
    std::printf("minimal program (window, list view, one row): launch to row %.3f s\n", minimalRows);
    std::printf("Zelvor, empty folder: launch to window %.3f s, to first row %.3f s: %.2fx the minimal program "
                "(target 1.5x)\n",
                emptyWindow, emptyRows, emptyRows / minimalRows);
    // Single launches vary by tens of milliseconds; the middle run of each says how typical the best one is.
    auto median = [](const std::vector<Launch> &runs) {
        std::vector<double> rows;
        for (const Launch &l : runs)
            if (l.ok) rows.push_back(l.rows);
        if (rows.empty()) return 0.0;
        std::nth_element(rows.begin(), rows.begin() + rows.size() / 2, rows.end());
        return rows[rows.size() / 2];
    };
    std::printf("  median runs: Zelvor %.3f s, minimal program %.3f s: %.2fx\n", median(emptyRuns), median(minimalRuns),
                median(emptyRuns) / median(minimalRuns));
    for (size_t i = 0; i < also.size(); ++i) {
        std::printf("  %ls: best %.3f s (%.2fx), median %.3f s (%.2fx)\n", also[i].c_str(),
                    best(alsoRuns[i], &Launch::rows), best(alsoRuns[i], &Launch::rows) / minimalRows,
                    median(alsoRuns[i]), median(alsoRuns[i]) / median(minimalRuns));
        auto fastest = std::min_element(alsoRuns[i].begin(), alsoRuns[i].end(),
                                        [](const Launch &a, const Launch &b) { return a.rows < b.rows; });
        if (fastest != alsoRuns[i].end()) PrintSteps("    its steps", fastest->steps);
    }
    auto bestEmpty = std::min_element(emptyRuns.begin(), emptyRuns.end(),
                                      [](const Launch &a, const Launch &b) { return a.rows < b.rows; });
    if (bestEmpty != emptyRuns.end()) PrintSteps("Zelvor start-up steps, empty folder", bestEmpty->steps);
    PrintMedianSteps("Zelvor start-up steps, empty folder, median of all runs", emptyRuns);

    // The fixed part of a start with files: a folder of one file.
    double oneFileRows = best(oneFileRuns, &Launch::rows);
    if (!perSize.empty())
        std::printf("Zelvor, folder of one file: launch to all rows %.3f s (median %.3f s)\n", oneFileRows,
                    median(oneFileRuns));
    for (const SizeRuns &s : perSize) {
        double bestRatio = 1e9, bestBare = 0, bestListing = 0, window = 1e9, bestBasicRatio = 1e9, bestBasic = 0;
        double bestLessEmpty = 1e9, bestLessEmptyRatio = 1e9;
        const Launch *bestLaunch = nullptr;
        for (int i = 0; i < kRuns; ++i) {
            const Launch &l = s.launches[i];
            if (!l.ok) continue;
            window = std::min(window, l.window);
            double listing = l.rows - oneFileRows;
            double ratio = listing / s.bare[i].seconds;
            if ((l.rows - emptyRows) / s.bare[i].seconds < bestLessEmptyRatio) {
                bestLessEmptyRatio = (l.rows - emptyRows) / s.bare[i].seconds;
                bestLessEmpty = l.rows - emptyRows;
            }
            if (listing / s.bare[i].basicSeconds < bestBasicRatio) {
                bestBasicRatio = listing / s.bare[i].basicSeconds;
                bestBasic = s.bare[i].basicSeconds;
            }
            if (ratio < bestRatio) {
                bestRatio = ratio;
                bestBare = s.bare[i].seconds;
                bestListing = listing;
                bestLaunch = &l;
            }
        }
        if (!bestLaunch) continue;
        std::printf("%d files (%d rows): launch to window %.3f s; launch to all rows less the one-file start %.3f s; "
                    "bare loop %.3f s: %.2fx (target 1.5x)\n",
                    s.files, s.bare[0].rows, window, bestListing, bestBare, bestRatio);
        // As first measured: the empty folder's start no longer waits for the shell's pictures, so this
        // one counts their load as listing time.
        std::printf("  less the empty start instead: %.3f s: %.2fx\n", bestLessEmpty, bestLessEmptyRatio);
        std::printf("  against FindFirstFileExW without short names, large fetches: %.3f s: %.2fx\n", bestBasic,
                    bestBasicRatio);
        // Measured inside the program, this part is free of the launch's own noise.
        std::printf("  inside the program, from the start of the listings to the left side's last row: %.3f s "
                    "(empty folder %.3f s)\n",
                    BestBetween(s.launches, L"listings begin", L"left side listed"),
                    BestBetween(emptyRuns, L"listings begin", L"left side listed"));
        if (bestEmpty != emptyRuns.end()) {
            auto perRow = [&](SIZE_T withRows, SIZE_T empty) {
                return withRows > empty ? double(withRows - empty) / s.bare[0].rows : 0.0;
            };
            std::printf("  memory: %.0f bytes per row of private memory, %.0f of working set, %.0f of peak working "
                        "set (less the empty start); whole process: %.0f MB private, peak working set %.0f MB\n",
                        perRow(bestLaunch->privateBytes, bestEmpty->privateBytes),
                        perRow(bestLaunch->workingSet, bestEmpty->workingSet),
                        perRow(bestLaunch->peakWorkingSet, bestEmpty->peakWorkingSet),
                        bestLaunch->privateBytes / 1048576.0, bestLaunch->peakWorkingSet / 1048576.0);
        }
        // Whole launches of the other builds, in the same rounds.
        for (size_t i = 0; i < also.size(); ++i)
            std::printf("  launch to all rows, best / median: Zelvor %.3f / %.3f s, %ls %.3f / %.3f s\n",
                        best(s.launches, &Launch::rows), median(s.launches), also[i].c_str(),
                        best(s.alsoLaunches[i], &Launch::rows), median(s.alsoLaunches[i]));
        double marks = 1e9;
        for (const Launch &l : s.launches)
            if (l.markSeconds >= 0) marks = std::min(marks, l.markSeconds);
        if (marks < 1e9) std::printf("  gray * (invert the marks) on %d rows: %.3f s to the window answering\n", s.bare[0].rows, marks);
        else if (g_mark) std::printf("  gray * (invert the marks): no run showed the marks within %.0f s\n", kMarkGiveUpSeconds);
        if (!s.keyed.empty()) {
            double keyed = best(s.keyed, &Launch::rows), still = best(s.launches, &Launch::rows);
            int posted = 0, neverActed = 0;
            double neverActedWait = 0;
            std::vector<double> waits;
            for (const Launch &l : s.keyed) {
                posted += l.keys;
                waits.insert(waits.end(), l.keyLatencies.begin(), l.keyLatencies.end());
                neverActed += l.keysNeverActed;
                neverActedWait = std::max(neverActedWait, l.neverActedWait);
            }
            double bare = 1e9;
            for (const Bare &b : s.bare) bare = std::min(bare, b.seconds);
            std::printf("  with a Down every 100 ms once rows show: launch to all rows %.3f s, without input %.3f s: "
                        "%.2fx (target 1.2x); against the bare loop plus the empty start (%.3f s): %.2fx and %.2fx\n",
                        keyed, still, keyed / still, bare + emptyRows, keyed / (bare + emptyRows),
                        still / (bare + emptyRows));
            std::printf("  keys: %d posted once a Down could act, %zu moved the cursor", posted, waits.size());
            if (!waits.empty()) {
                std::sort(waits.begin(), waits.end());
                std::printf("; key to cursor moved: median %.0f ms, worst %.0f ms (target 100 ms)", waits[waits.size() / 2] * 1000,
                            waits.back() * 1000);
            }
            if (neverActed) std::printf("; %d never moved it (waited up to %.0f ms)", neverActed, neverActedWait * 1000);
            std::printf("\n");
        }
        if (s.files == perSize.back().files) PrintSteps("Zelvor start-up steps", bestLaunch->steps);
    }
    if (g_profile && profile.samples) {
        std::printf("main thread during the keyed listings, %d samples, by module:\n", profile.samples);
        std::vector<std::pair<int, std::wstring>> byCount;
        for (const auto &[m, n] : profile.modules) byCount.push_back({n, m});
        std::sort(byCount.rbegin(), byCount.rend());
        for (const auto &[n, m] : byCount) std::printf("  %5.1f%%  %ls\n", 100.0 * n / profile.samples, m.c_str());
        byCount.clear();
        for (const auto &[a, n] : profile.addresses) byCount.push_back({n, a});
        std::sort(byCount.rbegin(), byCount.rend());
        std::printf("  hottest addresses:\n");
        for (size_t i = 0; i < byCount.size() && i < 40; ++i)
            std::printf("  %5.1f%%  %ls\n", 100.0 * byCount[i].first / profile.samples, byCount[i].second.c_str());
    }
    return 0;
}
