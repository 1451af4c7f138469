// The Find Files dialog with an empty mask, from Start Search to "File(s) found", over a folder of 100,000
// files and over a tree of 2,000 folders with 50 files each, against a bare recursive FindFirstFile loop
// over the same folders in the same run. Also the rate at which rows arrive in the list, early and late in
// the search: a list that slows down as it grows shows a smaller late rate.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "search/Handles.h"
#include "search/SearchForm.h"


namespace {

void Touch(const std::wstring &path) {
    UniqueFileHandle file(NullIfInvalid(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

int CountEntries(const std::wstring &dir) {
    int n = 0;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(NullIfInvalid(FindFirstFileW((dir + L"*").c_str(), &data)));
    if (find)
        do ++n;
        while (FindNextFileW(find.get(), &data));
    return n;
}

// The folders are normally made beforehand from the Linux side (tools/bench.sh), which is much faster than
// creating files one by one through Wine; they are made here only when missing.
std::wstring FlatFolder(const std::wstring &temp) {
    const std::wstring dir = temp + L"bench-100000\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    if (CountEntries(dir) < 100000) {
        std::printf("making %ls (slow through Wine)...\n", dir.c_str());
        for (int i = 0; i < 100000; ++i) Touch(dir + L"File" + std::to_wstring(i) + L".txt");
    }
    return dir;
}

std::wstring TreeFolder(const std::wstring &temp) {
    const std::wstring root = temp + L"bench-tree-2000x50\\";
    CreateDirectoryW(root.c_str(), nullptr);
    if (CountEntries(root) < 2000 + 2 || CountEntries(root + L"d1999\\") < 50 + 2) {
        std::printf("making %ls (slow through Wine)...\n", root.c_str());
        for (int d = 0; d < 2000; ++d) {
            const std::wstring dir = root + L"d" + std::to_wstring(d) + L"\\";
            CreateDirectoryW(dir.c_str(), nullptr);
            for (int f = 0; f < 50; ++f) Touch(dir + L"f" + std::to_wstring(f) + L".dat");
        }
    }
    return root;
}

// The baseline: list the tree, count its files, nothing else.
int BareLoop(const std::wstring &dir) {
    int files = 0;
    std::vector<std::wstring> subdirs;
    {
        WIN32_FIND_DATAW data;
        UniqueFindHandle find(NullIfInvalid(FindFirstFileW((dir + L"*.*").c_str(), &data)));
        if (!find) return 0;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
            else if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
                subdirs.push_back(dir + data.cFileName + L"\\");
        } while (FindNextFileW(find.get(), &data));
    }
    for (const std::wstring &sub : subdirs) files += BareLoop(sub);
    return files;
}

double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME &t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(value(kernel) + value(user)) / 1e7;
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME &t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(value(kernel) + value(user)) / 1e7;
}

struct SearchRun {
    double seconds = 0;
    double processCpu = 0, lastRow = 0; // all threads' processor time; when the last row came
    double dialogCpu = 0; // of the dialog's own thread, while the walk runs on another
    int rows = 0;
    double earlyRate = 0, lateRate = 0; // rows per second in the first and the last quarter of the rows
    std::wstring status;
};

SearchRun FindFiles(search::TSearchForm &form, const std::wstring &dir, int expected) {
    std::vector<double> quarterTimes;
    int added = 0;
    const int quarter = std::max(1, expected / 4);
    auto original = form.MyFF.OnAddFile;
    form.MyFF.OnAddFile = [&](const std::wstring &path, const WIN32_FIND_DATAW &data, bool &cancel) {
        original(path, data, cancel);
        if (++added % quarter == 0) quarterTimes.push_back(bench::Now());
    };
    form.FindDirEdit.SetText(dir);
    form.FindHistoryBox.SetText(L"");
    form.CheckTextSearch.SetChecked(false);
    SearchRun run;
    const double cpu = ThreadCpuSeconds(), processCpu = ProcessCpuSeconds();
    const double start = bench::Now();
    form.Find_BtnClick();
    run.seconds = bench::Now() - start;
    run.dialogCpu = ThreadCpuSeconds() - cpu;
    run.processCpu = ProcessCpuSeconds() - processCpu;
    if (!quarterTimes.empty()) run.lastRow = quarterTimes.back() - start;
    form.MyFF.OnAddFile = original;
    run.rows = ListView_GetItemCount(form.FindListView.Handle());
    wchar_t text[128] = {};
    SendMessageW(form.stb.Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    run.status = text;
    if (quarterTimes.size() >= 4) {
        run.earlyRate = quarter / (quarterTimes[0] - start);
        run.lateRate = quarter / (quarterTimes[3] - quarterTimes[2]);
    }
    return run;
}

} // namespace

int FindFilesBench() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    search::TSearchForm form;
    form.Create();
    ShowWindow(form.Handle(), SW_SHOW);

    bool ok = true;
    std::printf("\nFind Files, empty mask, best of 3 runs; baseline: a bare recursive list loop\n");
    std::printf("%-26s %8s %9s %9s %7s %12s %12s %10s\n", "case", "files", "bare ms", "dialog ms", "ratio", "rows/s early",
                "rows/s late", "its cpu ms");
    const struct {
        const char *name;
        std::wstring dir;
    } cases[] = {{"one folder, 100,000 files", FlatFolder(temp)}, {"2,000 folders x 50 files", TreeFolder(temp)}};
    for (const auto &c : cases) {
        const int files = BareLoop(c.dir); // also warms the cache for both
        double bare = 1e30, walk = 1e30, bareCpu = 1e30;
        SearchRun best;
        best.seconds = 1e30;
        for (int i = 0; i < 3; ++i) {
            double start = bench::Now(), cpu = ProcessCpuSeconds();
            BareLoop(c.dir);
            bare = std::min(bare, bench::Now() - start);
            bareCpu = std::min(bareCpu, ProcessCpuSeconds() - cpu);
            {
                // The finder alone on this thread, its events doing nothing: what the walk itself costs.
                TMyFF finder;
                finder.OnAddFile = [](const std::wstring &, const WIN32_FIND_DATAW &, bool &) {};
                double walkStart = bench::Now();
                finder.Execute(c.dir);
                walk = std::min(walk, bench::Now() - walkStart);
            }
            SearchRun run = FindFiles(form, c.dir, files);
            if (run.seconds < best.seconds) best = run;
        }
        const bool right = best.rows == files && best.status == std::to_wstring(files) + L" File(s) found";
        ok = ok && right;
        std::printf("%-26s %8d %9.1f %9.1f %6.2fx %12.0f %12.0f %10.1f%s\n", c.name, files, bare * 1e3,
                    best.seconds * 1e3, best.seconds / bare, best.earlyRate, best.lateRate, best.dialogCpu * 1e3,
                    right ? "" : "  WRONG ROWS");
        std::printf("%-26s the finder alone, no events: %.1f ms, %.2fx the bare loop\n", "", walk * 1e3, walk / bare);
        // On a busy machine the times follow the processor time used more than anything.
        std::printf("%-26s processor time, all threads: dialog %.0f ms, bare loop %.0f ms, %.2fx; last row at %.0f ms\n",
                    "", best.processCpu * 1e3, bareCpu * 1e3, best.processCpu / bareCpu, best.lastRow * 1e3);
        std::fflush(stdout);
    }
    return ok ? 0 : 1;
}
