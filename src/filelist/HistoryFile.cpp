#include "filelist/HistoryFile.h"

#include <windows.h>

#include <algorithm>

#include "filelist/HistoryList.h"
#include "ui/Handles.h"
#include "ui/Text.h"

namespace filelist {

namespace {

std::string ToAnsi(const std::wstring &text) {
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(const std::string &bytes) {
    if (bytes.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

[[noreturn]] void Fail(const wchar_t *what, const std::wstring &path) {
    throw ui::Error(what + path);
}

bool WriteAll(HANDLE file, const std::string &bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20)), written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

std::wstring HistoryFilePath() {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (n < exe.size()) {
            exe.resize(n);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    return exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"cmd.his";
}

std::optional<std::vector<std::wstring>> ReadHistoryFile(const std::wstring &path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        Fail(L"Cannot open file ", path);
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    for (;;) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
            Fail(L"Cannot open file ", path);
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    return SplitLines(FromAnsi(bytes));
}

void WriteHistoryFile(const std::wstring &path, const std::vector<std::wstring> &lines) {
    std::wstring text;
    for (const std::wstring &line : lines)
        text += line + L"\r\n";
    std::string bytes = ToAnsi(text);
    std::wstring temp = path + L".tmp";
    {
        ui::KernelHandle file(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE)
            Fail(L"Cannot create file ", path);
        if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            file.reset();
            DeleteFileW(temp.c_str());
            Fail(L"Cannot create file ", path);
        }
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        Fail(L"Cannot create file ", path);
    }
}

} // namespace filelist
