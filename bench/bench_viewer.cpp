// The viewer's loading of text files of 1, 10 and 50 MB (mixed line ends) into its text control, against a
// bare baseline measured in the same run: reading the file plus one SetWindowTextW of the already converted
// text into a plain multi-line edit control of the same size. Then 1,000 quick-view pane refreshes while
// moving Down over a folder of 1,000 files of 10 KB, against the same 1,000 moves with no pane shown.
// "bench_viewer capacity" instead probes how much text and how many lines the edit control takes.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "app/MainForm.h"
#include "fileops/TextLoader.h"
#include "fileops/ViewForm.h"
#include "fileops/ViewIds.h"
#include "ui/Application.h"

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

void WriteFileBytes(const std::wstring &path, const std::string &bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

std::string ReadWhole(const std::wstring &path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    GetFileSizeEx(f, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(f);
    return bytes;
}

// A plain multi-line edit control in a window of its own, as large as the viewer's text.
class BareEdit {
public:
    BareEdit(DWORD style, int width, int height) {
        owner_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, width + 40, height + 60, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        edit_ = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | style, 0, 0, width, height,
                                owner_, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(edit_, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    }
    ~BareEdit() { DestroyWindow(owner_); }
    HWND Handle() const { return edit_; }

private:
    HWND owner_ = nullptr, edit_ = nullptr;
};

void Clear(HWND edit) { SetWindowTextW(edit, L""); }

void LoadingBenchmark() {
    std::wstring dir = TempFolder();
    fileops::TViewForm viewer;
    viewer.Create();
    RECT r{};
    GetClientRect(viewer.ViewMemo.Handle(), &r);
    std::printf("Loading into the viewer (text control %ldx%ld), best of the rounds, the two taking turns first:\n",
                r.right, r.bottom);
    // Wine's edit control takes seconds per megabyte, so the large files get fewer rounds.
    struct Size {
        int mb;
        int rounds;
        bool bothWraps;
    };
    for (Size size : {Size{1, 3, true}, Size{10, 1, true}, Size{50, 1, false}}) {
        std::wstring path = dir + L"text-" + std::to_wstring(size.mb) + L"mb.txt";
        WriteFileBytes(path, MixedText(static_cast<size_t>(size.mb) << 20));
        for (bool wrap : {true, false}) {
            if (!wrap && !size.bothWraps) continue;
            if (viewer.ViewMemo.WordWrap() != wrap) viewer.ViewWrapClick();
            BareEdit bare(wrap ? WS_VSCROLL : WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL, r.right, r.bottom);
            std::wstring converted = fileops::DecodeViewBytes(fileops::NormalizeLineBreaks(ReadWhole(path)), CP_ACP);
            auto baselineRun = [&] {
                Clear(bare.Handle());
                return Time([&] {
                    std::string bytes = ReadWhole(path);
                    SetWindowTextW(bare.Handle(), converted.c_str());
                });
            };
            auto viewerRun = [&] {
                viewer.ViewMemo.Clear();
                return Time([&] { viewer.LoadFile(path); });
            };
            double baseline = 1e9, viewing = 1e9;
            for (int round = 0; round < size.rounds; ++round) {
                if (round % 2 == 0) baseline = std::min(baseline, baselineRun());
                viewing = std::min(viewing, viewerRun());
                if (round % 2 == 1) baseline = std::min(baseline, baselineRun());
            }
            std::printf("  %2d MB, word wrap %-3s: viewer %7.2f s, baseline %7.2f s, ratio %.2f\n", size.mb,
                        wrap ? "on" : "off", viewing, baseline, viewing / baseline);
            std::fflush(stdout);
            Clear(bare.Handle());
        }
        viewer.ViewMemo.Clear();
        DeleteFileW(path.c_str());
    }
}

void PaneBenchmark() {
    std::wstring dir = TempFolder() + L"pane\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    std::string content = MixedText(10 * 1024);
    for (int i = 0; i < 1000; ++i) WriteFileBytes(dir + L"file" + std::to_wstring(1000 + i) + L".txt", content);

    app::InitApplication();
    app::TMainForm form;
    form.Create();
    form.SetBounds(0, 0, 813, 405);
    form.FormResize();
    form.Left.SetDirectory(dir);
    form.Right.SetDirectory(dir);
    form.Left.ColourActive();
    HWND view = form.LeftFileView.Handle();
    auto moveDown = [&] {
        form.LeftFileView.SetSelected(0);
        return Time([&] {
            for (int i = 0; i < 1000; ++i) {
                SendMessageW(view, WM_KEYDOWN, VK_DOWN, 1);
                SendMessageW(view, WM_KEYUP, VK_DOWN, 0xC0000001);
            }
        });
    };
    double bare = moveDown();
    form.Quickview1Click();
    double withPane = moveDown();
    form.Quickview1Click();
    bare = std::min(bare, moveDown());
    form.Quickview1Click();
    withPane = std::min(withPane, moveDown());
    bool followed = form.Right.QuickViewShown() && form.Right.QMemo.Text().size() > 10000;
    std::printf("1,000 moves Down over 1,000 files of 10 KB: with the pane following %.3f s (%.2f ms each), "
                "without a pane %.3f s, ratio %.2f%s\n",
                withPane, withPane, bare, withPane / bare, followed ? "" : " (THE PANE DID NOT FOLLOW)");
    for (int i = 0; i < 1000; ++i) DeleteFileW((dir + L"file" + std::to_wstring(1000 + i) + L".txt").c_str());
    RemoveDirectoryW(dir.c_str());
}

// How much the edit control takes in this process: texts of ordinary lines, then texts of empty lines.
void CapacityProbe() {
    BareEdit wrapped(WS_VSCROLL, 1000, 700);
    for (size_t mb : {16, 64}) {
        Clear(wrapped.Handle());
        std::wstring text;
        try {
            text = fileops::DecodeViewBytes(MixedText(mb << 20), CP_ACP);
        } catch (const std::bad_alloc &) {
            std::printf("  %zu MB of ordinary lines: no memory for the text itself\n", mb);
            break;
        }
        double t = Time([&] { SetWindowTextW(wrapped.Handle(), text.c_str()); });
        size_t shown = static_cast<size_t>(GetWindowTextLengthW(wrapped.Handle()));
        std::printf("  %zu MB of ordinary lines: %s in %.1f s\n", mb, shown == text.size() ? "taken" : "REFUSED", t);
        std::fflush(stdout);
        if (shown != text.size()) break;
    }
    Clear(wrapped.Handle());
    for (size_t lines : {8'000'000, 16'000'000, 24'000'000, 32'000'000}) {
        Clear(wrapped.Handle());
        std::wstring text;
        text.reserve(lines * 2);
        for (size_t i = 0; i < lines; ++i) text += L"\r\n";
        double t = Time([&] { SetWindowTextW(wrapped.Handle(), text.c_str()); });
        size_t shown = static_cast<size_t>(GetWindowTextLengthW(wrapped.Handle()));
        std::printf("  %zu empty lines: %s in %.1f s\n", lines, shown == text.size() ? "taken" : "REFUSED", t);
        std::fflush(stdout);
        if (shown != text.size()) break;
    }
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    if (argc > 1 && std::wstring(argv[1]) == L"capacity") {
        CapacityProbe();
        return 0;
    }
    LoadingBenchmark();
    PaneBenchmark();
    return 0;
}
