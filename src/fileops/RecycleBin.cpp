#include "fileops/RecycleBin.h"

#include <windows.h>

#include <vector>

#include "fileops/MakeDirectories.h"

namespace fileops {

namespace {

std::wstring Environment(const wchar_t *name) {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::vector<wchar_t> value(size);
    DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    return length < size ? std::wstring(value.data(), length) : std::wstring();
}

bool IsFolder(const std::wstring &path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A Unix path as a Windows path, through Wine's own conversion.
std::wstring DosPathOf(const std::wstring &unixPath) {
    using Convert = WCHAR *(CDECL *)(const char *);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!convert)
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, unixPath.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> bytes(static_cast<size_t>(size > 0 ? size : 1));
    WideCharToMultiByte(CP_UTF8, 0, unixPath.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    WCHAR *dos = convert(bytes.data());
    if (!dos)
        return {};
    std::wstring path = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return path;
}

} // namespace

std::wstring WineTrashFolder() {
    // Wine tells its programs the user's home; Windows has no such variable.
    std::wstring home = Environment(L"WINEHOMEDIR");
    if (home.empty())
        return {};
    std::wstring dataHome;
    std::wstring xdg = Environment(L"XDG_DATA_HOME");
    if (!xdg.empty()) {
        dataHome = DosPathOf(xdg);
    } else {
        // "\??\Z:\home\user", or "\??\unix\home\user" when no drive holds the home.
        if (home.rfind(L"\\??\\", 0) == 0) {
            if (home.size() > 5 && home[5] == L':')
                home.erase(0, 4);
            else
                home[1] = L'\\';
        }
        dataHome = home + L"\\.local\\share";
    }
    if (dataHome.empty())
        return {};
    if (dataHome.back() == L'\\')
        dataHome.pop_back();
    return dataHome + L"\\Trash\\";
}

bool PrepareRecycleBin() {
    std::wstring trash = WineTrashFolder();
    if (trash.empty())
        return true;
    std::wstring files = trash + L"files", info = trash + L"info";
    if (IsFolder(files) && IsFolder(info))
        return true;
    return MakeDirectories(files) && MakeDirectories(info);
}

} // namespace fileops
