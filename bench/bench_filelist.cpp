// Lists directories of 10,000 and 100,000 files into a file list and compares the time with a bare
// FindFirstFile/FindNextFile loop over the same directory, measured in the same run; then sorts the
// 100,000 rows by each column.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>
#include <string>

#include "BenchClock.h"
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
        double bare = 1e9, panel = 1e9;
        for (int run = 0; run < 3; ++run) {
            bare = std::min(bare, Time([&] { BareLoop(dir); }));
            panel = std::min(panel, Time([&] { list.SetDirectory(dir); }));
        }
        std::printf("list %-23d %10.3f %10.3f %8.2f\n", files, bare, panel, panel / bare);
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
    return 0;
}
