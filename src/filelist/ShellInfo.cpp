#include "filelist/ShellInfo.h"

#include <objbase.h>
#include <shellapi.h>

#include "filelist/FileColumns.h"

namespace filelist {

namespace {

HIMAGELIST AskSystemImageList(bool small) {
    SHFILEINFOW info{};
    UINT flags = SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : 0);
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"x", FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags));
}

DWORD WINAPI PrepareShellPictures(void *) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SystemImageList(true);
    SystemImageList(false);
    FolderInfo();
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}

} // namespace

// Asked once per size, by attributes alone: asked about an empty path, the shell looks at a real folder
// each time, which under Wine costs milliseconds per call and tens of them at the first.
HIMAGELIST SystemImageList(bool small) {
    static const HIMAGELIST smallList = AskSystemImageList(true);
    static const HIMAGELIST largeList = AskSystemImageList(false);
    return small ? smallList : largeList;
}

void PrepareShellPicturesInBackground() {
    if (HANDLE thread = CreateThread(nullptr, 0, PrepareShellPictures, nullptr, 0, nullptr)) CloseHandle(thread);
}

const TFolderInfo &FolderInfo() {
    static const TFolderInfo info = [] {
        TFolderInfo f;
        wchar_t windows[MAX_PATH] = {};
        GetWindowsDirectoryW(windows, MAX_PATH);
        SHFILEINFOW sfi{};
        if (SHGetFileInfoW(windows, FILE_ATTRIBUTE_DIRECTORY, &sfi, sizeof sfi,
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_SMALLICON)) {
            f.icon = sfi.iIcon;
            f.typeName = sfi.szTypeName;
        }
        return f;
    }();
    return info;
}

int TShellTypeCache::IndexFor(const std::wstring &lowerName) {
    std::wstring ext = ExtensionOf(lowerName);
    auto it = byExtension_.find(ext);
    if (it != byExtension_.end()) return it->second;
    TTypeInfo info;
    SHFILEINFOW sfi{};
    std::wstring probe = L"x" + ext;
    if (SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &sfi, sizeof sfi,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_SMALLICON)) {
        info.icon = sfi.iIcon;
        info.typeName = sfi.szTypeName;
    }
    static const wchar_t *const perFile[] = {L".exe", L".ico", L".cur", L".ani", L".lnk"};
    for (const wchar_t *e : perFile)
        if (ext == e) info.iconPerFile = true;
    int index = static_cast<int>(types_.size());
    types_.push_back(std::move(info));
    byExtension_.emplace(std::move(ext), index);
    return index;
}

int TShellTypeCache::IconOfFile(const std::wstring &fullPath) {
    SHFILEINFOW sfi{};
    if (!SHGetFileInfoW(fullPath.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) return -1;
    return sfi.iIcon;
}

} // namespace filelist
