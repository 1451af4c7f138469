#include "filelist/ShellInfo.h"

#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <map>
#include <mutex>

#include "filelist/FileColumns.h"

namespace filelist {

namespace {

HIMAGELIST AskSystemImageList(bool small) {
    SHFILEINFOW info{};
    UINT flags = SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : 0);
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"x", FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags));
}

// The shell's index of an icon in a library, by the call's long-standing ordinal: its name is missing
// from some shells. -1 when the shell has no such call.
int CachedImageIndex(const wchar_t *library, int icon) {
    using CachedIndexCall = int(WINAPI *)(const wchar_t *, int, UINT);
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    FARPROC call = shell ? GetProcAddress(shell, MAKEINTRESOURCEA(72)) : nullptr;
    if (!call) return -1;
    return reinterpret_cast<CachedIndexCall>(reinterpret_cast<void (*)()>(call))(library, icon, 0);
}

} // namespace

// Asked once per size, by attributes alone: asked about an empty path, the shell looks at a real folder
// each time, which under Wine costs milliseconds per call and tens of them at the first.
HIMAGELIST SystemImageList(bool small) {
    static const HIMAGELIST smallList = AskSystemImageList(true);
    static const HIMAGELIST largeList = AskSystemImageList(false);
    return small ? smallList : largeList;
}

int DriveTypeIcon(UINT driveType) {
    // Asked from the start-up thread too.
    static std::mutex lock;
    static std::map<UINT, int> byType;
    std::lock_guard<std::mutex> hold(lock);
    auto it = byType.find(driveType);
    if (it != byType.end()) return it->second;
    // The stock picture of the type, and its place among the shell library's icons for shells that
    // have no stock pictures.
    SHSTOCKICONID id = SIID_DRIVEFIXED;
    int libraryIndex = 8;
    switch (driveType) {
    case DRIVE_REMOVABLE:
        id = SIID_DRIVE35;
        libraryIndex = 6;
        break;
    case DRIVE_REMOTE:
        id = SIID_DRIVENET;
        libraryIndex = 9;
        break;
    case DRIVE_CDROM:
        id = SIID_DRIVECD;
        libraryIndex = 11;
        break;
    case DRIVE_RAMDISK:
        id = SIID_DRIVERAM;
        libraryIndex = 12;
        break;
    default:
        break;
    }
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof info;
    int icon = -1;
    if (SUCCEEDED(SHGetStockIconInfo(id, SHGSI_SYSICONINDEX | SHGSI_SMALLICON, &info))) icon = info.iSysImageIndex;
    if (icon < 0) {
        wchar_t library[MAX_PATH] = {};
        GetSystemDirectoryW(library, MAX_PATH);
        lstrcatW(library, L"\\shell32.dll");
        icon = CachedImageIndex(library, libraryIndex);
    }
    if (icon < 0) {
        // The shell's folder picture, by attributes alone.
        SHFILEINFOW sfi{};
        SHGetFileInfoW(L"x", FILE_ATTRIBUTE_DIRECTORY, &sfi, sizeof sfi,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        icon = sfi.iIcon;
    }
    byType.emplace(driveType, icon);
    return icon;
}

namespace {

std::atomic<bool> picturesReady{false};

DWORD WINAPI PrepareShellPictures(void *whenReady) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SystemImageList(true);
    SystemImageList(false);
    FolderInfo();
    picturesReady = true;
    if (whenReady) reinterpret_cast<void (*)()>(whenReady)();
    DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
        DriveTypeIcon(GetDriveTypeW(root));
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}

} // namespace

bool ShellPicturesReady() { return picturesReady; }

void PrepareShellPicturesInBackground(void (*whenReady)()) {
    void *parameter = reinterpret_cast<void *>(whenReady);
    if (HANDLE thread = CreateThread(nullptr, 0, PrepareShellPictures, parameter, 0, nullptr)) CloseHandle(thread);
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
    size_t dot = lowerName.rfind(L'.');
    std::wstring_view view = dot == std::wstring::npos ? std::wstring_view() : std::wstring_view(lowerName).substr(dot);
    auto it = byExtension_.find(view);
    if (it != byExtension_.end()) return it->second;
    std::wstring ext(view);
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
