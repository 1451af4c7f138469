#include "TempTree.h"

#include "search/Handles.h"

#include <atomic>
#include <stdexcept>

namespace {

void RemoveTree(const std::wstring &dir) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(NullIfInvalid(FindFirstFileW((dir + L"*").c_str(), &data)));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = dir + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\");
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find.get(), &data));
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

TempTree::TempTree() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"zelvor-search-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    RemoveTree(root_);
    if (!CreateDirectoryW(root_.c_str(), nullptr))
        throw std::runtime_error("cannot create temp folder");
}

TempTree::~TempTree() {
    RemoveTree(root_);
}

std::wstring TempTree::Dir(const std::wstring &relative) {
    std::wstring path = root_;
    for (size_t start = 0; start <= relative.size();) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos)
            end = relative.size();
        path += relative.substr(start, end - start) + L"\\";
        CreateDirectoryW(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

std::wstring TempTree::File(const std::wstring &relative, const std::string &content) {
    const size_t slash = relative.rfind(L'\\');
    if (slash != std::wstring::npos)
        Dir(relative.substr(0, slash));
    const std::wstring path = root_ + relative;
    UniqueFileHandle file(NullIfInvalid(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file)
        throw std::runtime_error("cannot create test file");
    DWORD written = 0;
    if (!content.empty() &&
        !WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr))
        throw std::runtime_error("cannot write test file");
    return path;
}

void TempTree::SetWriteTime(const std::wstring &path, const FILETIME &time) {
    UniqueFileHandle file(NullIfInvalid(CreateFileW(
        path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)));
    if (!file || !SetFileTime(file.get(), nullptr, nullptr, &time))
        throw std::runtime_error("cannot set the test file's time");
}

FILETIME TempTree::WriteTime(const std::wstring &path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}
