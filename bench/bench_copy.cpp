// The program's own copy (temporary name beside the target, renamed when whole, times and attributes
// kept, a cancel checked after every block) against a bare CopyFileExW loop over the same data, measured
// in the same run: one large file (BENCH_COPY_MB, 1024 by default) and 10,000 small files. Then the whole
// command with its progress window, timing how long a message sent to a window of the program's thread
// waits for an answer while the copy runs; the worst wait is printed.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "BenchClock.h"
#include "fileops/FileOp.h"
#include "fileops/LongPathOps.h"
#include "fileops/PathRules.h"

namespace {

using bench::Time;

std::wstring TempFolder(const wchar_t *name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteFileOfSize(const std::wstring &path, unsigned long long bytes) {
    HANDLE file = CreateFileW(fileops::LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::vector<char> block(1 << 20, 'z');
    for (unsigned long long left = bytes; left > 0;) {
        DWORD chunk = static_cast<DWORD>(std::min<unsigned long long>(left, block.size())), written = 0;
        WriteFile(file, block.data(), chunk, &written, nullptr);
        left -= chunk;
    }
    CloseHandle(file);
}

// Copies a folder of files with CopyFileExW, one call a file, as a bare loop would.
void BareCopy(const std::wstring &from, const std::wstring &to) {
    DWORD attributes = GetFileAttributesW(from.c_str());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CopyFileExW(from.c_str(), to.c_str(), nullptr, nullptr, nullptr, 0);
        return;
    }
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((from + L"\\*").c_str(), &fd);
    do {
        std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..")
            BareCopy(from + L"\\" + name, to + L"\\" + name);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
}

void Remove(const std::wstring &path) { fileops::DeleteItem(path); }

void Compare(const char *what, const std::wstring &source, const std::wstring &folder) {
    double bare = 1e9, own = 1e9;
    int rounds = std::getenv("BENCH_COPY_ROUNDS") ? std::atoi(std::getenv("BENCH_COPY_ROUNDS")) : 2;
    for (int round = 0; round < rounds; ++round) {
        std::wstring bareTarget = folder + L"\\bare", ownTarget = folder + L"\\own";
        bare = std::min(bare, Time([&] { BareCopy(source, bareTarget); }));
        own = std::min(own, Time([&] {
                           fileops::TWorkControl control;
                           fileops::CopyItem(source, ownTarget, &control);
                       }));
        Remove(bareTarget);
        Remove(ownTarget);
    }
    std::printf("%-28s bare CopyFileExW %8.3f s   own copy %8.3f s   ratio %.2fx\n", what, bare, own, own / bare);
}

// The whole command, its window and thread included, while another thread sends a message to a window
// of the program's thread every 10 ms and keeps the longest wait for its answer.
void AnswerTimes(const std::wstring &source, const std::wstring &folder) {
    HWND window = CreateWindowExW(0, L"STATIC", L"answer", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                  nullptr);
    std::atomic<bool> running{true}, finished{false};
    std::atomic<long long> worstMicro{0};
    std::atomic<int> sent{0};
    std::thread prober([&] {
        while (running) {
            double start = bench::Now();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
            long long waited = static_cast<long long>((bench::Now() - start) * 1e6);
            worstMicro = std::max<long long>(worstMicro, waited);
            ++sent;
            Sleep(10);
        }
        finished = true;
    });
    fileops::TFileOperation oper;
    oper.SetOperation(fileops::foCopy);
    oper.SetFilesFrom(source);
    oper.SetFilesTo(folder + L"\\");
    oper.SetFlags(fileops::FileOpFlagBit(fileops::fofNoConfirmation));
    double took = Time([&] { oper.Execute(); });
    running = false;
    // The prober's last message is answered before it is waited for.
    while (!finished) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(1);
    }
    prober.join();
    DestroyWindow(window);
    std::printf("whole command with its window %8.3f s   %d messages sent, the longest answer %.1f ms\n", took,
                sent.load(), worstMicro / 1000.0);
    Remove(folder + source.substr(source.rfind(L'\\')));
}

} // namespace

int main() {
    unsigned long long megabytes = 1024;
    if (const char *mb = std::getenv("BENCH_COPY_MB"))
        megabytes = std::strtoull(mb, nullptr, 10);
    std::wstring base = TempFolder(L"bench-copy");
    std::wstring big = base + L"\\big.bin", small = base + L"\\small";
    // A name ending in a space, so that the command itself takes the program's own route.
    std::wstring bigOwnRoute = base + L"\\big.bin ";
    std::wstring targets = base + L"\\targets";
    CreateDirectoryW(targets.c_str(), nullptr);
    WriteFileOfSize(big, megabytes << 20);
    CreateDirectoryW(small.c_str(), nullptr);
    for (int i = 0; i < 10000; ++i)
        WriteFileOfSize(small + L"\\f" + std::to_wstring(i) + L".dat", 1024);
    std::printf("bench_copy: %llu MB file, 10,000 files of 1 KB\n", megabytes);
    Compare("one large file", big, targets);
    Compare("10,000 small files", small, targets);
    MoveFileW(fileops::LongPath(big).c_str(), fileops::LongPath(bigOwnRoute).c_str());
    AnswerTimes(bigOwnRoute, targets);
    Remove(bigOwnRoute);
    Remove(small);
    Remove(targets);
    RemoveDirectoryW(base.c_str());
    return 0;
}
