#include "driver/TempDir.h"

#include <fstream>
#include <stdexcept>

namespace testdriver {

TempDir::TempDir() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::wstring candidate = std::wstring(base) + L"zelvor-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate + L"\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create a temporary folder");
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

std::wstring ReadOnlyFolder() {
    // The Linux path, as Wine's drive Z: shows it.
    std::string linuxPath = ZELVOR_READONLY_FOLDER;
    std::wstring folder = L"Z:";
    for (char c : linuxPath) folder += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    folder += L'\\';
    if (!Exists(folder + L"cmd.his")) return {};
    // Only a folder that refuses a new file will do.
    HANDLE probe = CreateFileW((folder + L"probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return folder;
    CloseHandle(probe);
    return {};
}

std::wstring TempDir::Folder(const std::wstring &relative, DWORD attributes) {
    std::wstring full = path_;
    size_t start = 0;
    for (;;) {
        size_t slash = relative.find(L'\\', start);
        full = path_ + relative.substr(0, slash);
        CreateDirectoryW(full.c_str(), nullptr);
        if (slash == std::wstring::npos) break;
        start = slash + 1;
    }
    if (attributes) SetFileAttributesW(full.c_str(), attributes);
    return full;
}

std::wstring TempDir::File(const std::wstring &relative, const std::string &content, DWORD attributes) {
    size_t slash = relative.rfind(L'\\');
    if (slash != std::wstring::npos) Folder(relative.substr(0, slash));
    std::wstring full = path_ + relative;
    HANDLE h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a test file");
    DWORD written = 0;
    if (!content.empty()) WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    if (attributes) SetFileAttributesW(full.c_str(), attributes);
    return full;
}

bool Exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFileBytes(const std::wstring &path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void RemoveTree(const std::wstring &path) {
    if (path.empty()) return;
    std::wstring dir = path;
    if (dir.back() != L'\\') dir += L'\\';
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else DeleteFileW(full.c_str());
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(dir.c_str());
}

} // namespace testdriver
