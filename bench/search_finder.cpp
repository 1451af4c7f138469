// The finder with a text over a generated tree, against a bare loop that lists the same tree and reads every
// file into one reused buffer: how much the filters and the search add to reading the files. With "--dialog",
// only the Find Files dialog (search_findfiles.cpp).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "search/Handles.h"
#include "search/myff.h"

std::string MixedText(size_t bytes, unsigned seed);
int FindFilesBench();

namespace {

constexpr int TopDirs = 5, SubDirs = 4, FilesPerDir = 100; // 2,000 files
constexpr int Rounds = 5;
const char Needle[] = "Zelvor Needle";

void WriteWhole(const std::wstring &path, const char *data, size_t size) {
    UniqueFileHandle file(NullIfInvalid(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) || written != size) {
        std::fprintf(stderr, "cannot write the benchmark tree\n");
        std::exit(1);
    }
}

// Builds the tree; returns the number of files that hold the needle.
int MakeTree(const std::wstring &root, long long &bytes) {
    const std::string source = MixedText(4u << 20, 2);
    std::mt19937 rng(3);
    int planted = 0;
    bytes = 0;
    CreateDirectoryW(root.c_str(), nullptr);
    for (int t = 0; t < TopDirs; ++t) {
        const std::wstring top = root + L"dir" + std::to_wstring(t) + L"\\";
        CreateDirectoryW(top.c_str(), nullptr);
        for (int s = 0; s < SubDirs; ++s) {
            const std::wstring sub = top + L"sub" + std::to_wstring(s) + L"\\";
            CreateDirectoryW(sub.c_str(), nullptr);
            for (int f = 0; f < FilesPerDir; ++f) {
                const size_t size = 20000 + rng() % 160000;
                std::string content = source.substr(rng() % (source.size() - size), size);
                if ((t * SubDirs + s) * FilesPerDir + f == 777) // one large file, its needle across a block edge
                    content = source.substr(0, 3u << 20);
                const int n = (t * SubDirs + s) * FilesPerDir + f;
                if (n % 400 == 7 || n == 777) {
                    const size_t at = n == 777 ? (1u << 20) - 5 : (n % 800 == 7 ? content.size() - 13 : size / 2);
                    std::copy(Needle, Needle + 13, content.begin() + at);
                    ++planted;
                }
                WriteWhole(sub + L"file" + std::to_wstring(f) + L".txt", content.data(), content.size());
                bytes += static_cast<long long>(content.size());
            }
        }
    }
    return planted;
}

void RemoveTree(const std::wstring &dir) {
    std::vector<std::wstring> subdirs;
    {
        WIN32_FIND_DATAW data;
        UniqueFindHandle find(NullIfInvalid(FindFirstFileW((dir + L"*").c_str(), &data)));
        if (find) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    subdirs.push_back(dir + name + L"\\");
                else
                    DeleteFileW((dir + name).c_str());
            } while (FindNextFileW(find.get(), &data));
        }
    }
    for (const std::wstring &sub : subdirs)
        RemoveTree(sub);
    RemoveDirectoryW(dir.c_str());
}

// The baseline: list and read every file, nothing else (or, for the breakdown, search each piece read).
long long ReadAll(const std::wstring &dir, std::vector<char> &buffer, TTextSearch *search = nullptr) {
    long long total = 0;
    std::vector<std::wstring> subdirs;
    WIN32_FIND_DATAW data;
    {
        UniqueFindHandle find(NullIfInvalid(FindFirstFileW((dir + L"*.*").c_str(), &data)));
        if (!find)
            return 0;
        do {
            const std::wstring name = data.cFileName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != L"." && name != L"..")
                    subdirs.push_back(dir + name + L"\\");
                continue;
            }
            UniqueFileHandle file(
                NullIfInvalid(CreateFileW((dir + name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
            DWORD got = 0;
            while (file && ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
                   got > 0) {
                total += got;
                if (search)
                    total += search->Find(std::string_view(buffer.data(), got)) > 0;
            }
        } while (FindNextFileW(find.get(), &data));
    }
    for (const std::wstring &sub : subdirs)
        total += ReadAll(sub, buffer, search);
    return total;
}

} // namespace

int main(int argc, char **argv) {
    // "--dialog": the Find Files dialog alone, without making the text tree.
    if (argc > 1 && std::string(argv[1]) == "--dialog")
        return FindFilesBench();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root =
        std::wstring(temp) + L"zelvor-bench-finder-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    long long bytes = 0;
    const int planted = MakeTree(root, bytes);
    std::printf("tree: %d files, %.0f MB, %d holding \"%s\"; best of %d runs each\n", TopDirs * SubDirs * FilesPerDir,
                static_cast<double>(bytes) / 1e6, planted, Needle, Rounds);

    std::vector<char> buffer(1u << 20);
    TMyFF finder;
    finder.SetFindString(L"zelvor needle");
    int found = 0;
    finder.OnAddFile = [&](const std::wstring &, const WIN32_FIND_DATAW &, bool &) { ++found; };

    ReadAll(root, buffer); // both measured runs start from the same warm cache
    TTextSearch search;
    search.SetPattern("zelvor needle");
    double tRead = 1e30, tFind = 1e30, tReadSearch = 1e30;
    long long read = 0;
    for (int i = 0; i < Rounds; ++i) {
        double start = bench::Now();
        read = ReadAll(root, buffer);
        tRead = std::min(tRead, bench::Now() - start);
        found = 0;
        start = bench::Now();
        finder.Execute(root);
        tFind = std::min(tFind, bench::Now() - start);
        start = bench::Now();
        ReadAll(root, buffer, &search);
        tReadSearch = std::min(tReadSearch, bench::Now() - start);
    }
    std::printf("list and read: %7.1f ms  %6.0f MB/s (%lld bytes)\n", tRead * 1e3,
                static_cast<double>(read) / 1e6 / tRead, read);
    std::printf("finder + text: %7.1f ms  %6.0f MB/s (%d files found%s)\n", tFind * 1e3,
                static_cast<double>(bytes) / 1e6 / tFind, found, found == planted ? "" : ", WRONG COUNT");
    std::printf("read + search: %7.1f ms (the bare loop searching each piece it reads)\n", tReadSearch * 1e3);
    std::printf("ratio finder / read: %.2fx\n", tFind / tRead);
    RemoveTree(root);
    const int findFiles = FindFilesBench();
    return found == planted && findFiles == 0 ? 0 : 1;
}
