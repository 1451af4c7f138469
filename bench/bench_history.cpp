// Loads and saves a command history of 200,000 lines (about 10 MB) and one of a single 10 MB line, and
// compares each with a bare read or write of the same file, measured in the same run. Loading is the
// file read into the history box as the program does it at start; saving is the file written after one
// command was run. The time the box takes to list every entry in the background is shown apart.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "ui/HistoryBox.h"
#include "filelist/HistoryFile.h"

namespace {

using bench::Time;

std::string BareRead(const std::wstring &path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    GetFileSizeEx(h, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(h);
    return bytes;
}

void BareWrite(const std::wstring &path, const std::string &bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(h);
    CloseHandle(h);
}

void Measure(const char *what, const std::wstring &folder, const std::string &content) {
    std::wstring path = folder + L"cmd.his", copy = folder + L"bare.his";
    BareWrite(path, content);
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr);
    ui::THistoryBox box;
    box.Create(parent, 1);
    filelist::THistoryFile file;

    std::string bytes;
    double bareRead = Time([&] { bytes = BareRead(path); });
    std::optional<ui::THistoryEntries> lines;
    double read = Time([&] { lines = file.Load(path); });
    double fill = Time([&] { box.SetItems(std::move(*lines)); });
    double load = read + fill;
    double listed = Time([&] {
        MSG msg;
        while (!box.ListComplete()) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            Sleep(1);
        }
    });
    double bareWrite = Time([&] { BareWrite(copy, bytes); });
    double unchanged = Time([&] { file.Save(path, box.Items()); });
    box.AddItem(L"dir");
    double save = Time([&] { file.Save(path, box.Items()); });
    std::printf("%s: %zu entries, %.1f MB\n", what, box.Items().size(), content.size() / 1048576.0);
    std::printf("  load %.3f s (file %.3f s, first %zu entries into the list %.3f s), bare read %.3f s, ratio %.1f\n",
                load, read, ui::THistoryBox::kListStep, fill, bareRead, load / bareRead);
    std::printf("  the list took every entry in the background %.3f s later\n", listed);
    std::printf("  save %.3f s, bare write %.3f s, ratio %.1f; unchanged history: %.3f s, nothing written\n", save,
                bareWrite, save / bareWrite, unchanged);
    DestroyWindow(parent);
    DeleteFileW(path.c_str());
    DeleteFileW(copy.c_str());
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    std::wstring folder = std::wstring(base) + L"bench-history-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);

    std::string lines;
    for (int i = 0; i < 200000; ++i)
        lines += "notepad C:\\work\\reports\\quarter-" + std::to_string(i) + "-summary.txt\r\n";
    Measure("200,000 short lines", folder, lines);
    Measure("one line of 10 MB", folder, std::string(10 << 20, 'a') + "\r\n");
    RemoveDirectoryW(folder.c_str());
    return 0;
}
