#include "filelist/ShellInfo.h"

#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <map>
#include <mutex>

#include "filelist/FileColumns.h"
#include "filelist/FileRows.h"
#include "ui/Handles.h"
#include "ui/LateBound.h"
#include "ui/Threads.h"

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

namespace {

// The shell's stock pictures, found at first use: Vista's shell has them, XP's has not (it then gets
// the classic places of the shell library's icons). Declared here as the shell takes them.
struct TStockIconInfo {
    DWORD cbSize;
    HICON hIcon;
    int iSysImageIndex;
    int iIcon;
    WCHAR szPath[MAX_PATH];
};
using StockIconCall = HRESULT(WINAPI *)(int id, UINT flags, TStockIconInfo *info);
constexpr UINT kStockIconLocation = 0;
constexpr UINT kStockSysIconIndex = SHGFI_SYSICONINDEX;
constexpr UINT kStockSmallIcon = SHGFI_SMALLICON;
constinit const ui::TLateBound<StockIconCall> kStockIcon(L"shell32.dll", "SHGetStockIconInfo");

bool AskStockIcon(int id, UINT flags, TStockIconInfo &info) {
    StockIconCall call = kStockIcon.Get();
    info = {};
    info.cbSize = sizeof info;
    return call && SUCCEEDED(call(id, flags, &info));
}

// The stock picture of a drive type (the shell's SIID_ numbers), and the resource number of its classic
// picture in the shell library, for shells that have no stock pictures. By number, not by place: shells
// that leave out some older pictures hold the rest at other places.
struct TDrivePicture {
    int id = 8; // fixed drive
    int libraryResource = 9;
};

TDrivePicture DrivePictureOf(UINT driveType) {
    switch (driveType) {
    case DRIVE_REMOVABLE:
        return {6, 7};
    case DRIVE_REMOTE:
        return {9, 10};
    case DRIVE_CDROM:
        return {11, 12};
    case DRIVE_RAMDISK:
        return {12, 13};
    default:
        return {};
    }
}

// The shell's library, where the classic places of its pictures are.
void ShellLibraryPath(wchar_t (&path)[MAX_PATH]) {
    GetSystemDirectoryW(path, MAX_PATH);
    lstrcatW(path, L"\\shell32.dll");
}

} // namespace

int DriveTypeIcon(UINT driveType) {
    // Asked from the start-up thread too, which may still be asking while the process ends: the lock and the
    // map are never destroyed, so that the end of the program never pulls them from under it.
    static std::mutex &lock = *new std::mutex;
    static std::map<UINT, int> &byType = *new std::map<UINT, int>;
    std::lock_guard<std::mutex> hold(lock);
    auto it = byType.find(driveType);
    if (it != byType.end()) return it->second;
    TDrivePicture picture = DrivePictureOf(driveType);
    TStockIconInfo info;
    int icon = -1;
    if (AskStockIcon(picture.id, kStockSysIconIndex | kStockSmallIcon, info))
        icon = info.iSysImageIndex;
    if (icon < 0) {
        wchar_t library[MAX_PATH] = {};
        ShellLibraryPath(library);
        icon = CachedImageIndex(library, -picture.libraryResource);
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
std::atomic<bool> pretendNotLoaded{false};

// Set once the shell's lists are wanted.
HANDLE NeededEvent() {
    static const HANDLE needed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return needed;
}

void PrepareShellPictures(void (*whenReady)()) {
    // Unasked, the lists are loaded anyway after this long, for the folders the user goes to next.
    constexpr DWORD kLongestWaitMs = 3000;
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // The quick pictures of a folder and of the usual drive, which the first paint may need, unless the
    // load is wanted already: then it goes first, and a quick picture asked meanwhile is made by the asker.
    if (!ShellPicturesNeeded()) {
        QuickFolderPicture();
        if (!ShellPicturesNeeded()) QuickDriveTypePicture(DRIVE_FIXED);
        // A program that ends meanwhile needs no pictures.
        HANDLE wake[] = {NeededEvent(), ui::EndingEvent()};
        if (wake[0] && wake[1]) WaitForMultipleObjects(2, wake, FALSE, kLongestWaitMs);
        else Sleep(kLongestWaitMs);
    }
    if (!ui::Ending()) {
        SystemImageList(true);
        SystemImageList(false);
        FolderIcon();
        if (whenReady) whenReady();
    }
    DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26 && !ui::Ending(); ++i) {
        if (!(drives & (1u << i))) continue;
        wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
        DriveTypeIcon(GetDriveTypeW(root));
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

} // namespace

void NeedShellPictures() {
    if (HANDLE needed = NeededEvent()) SetEvent(needed);
}

bool ShellPicturesNeeded() {
    HANDLE needed = NeededEvent();
    return needed && WaitForSingleObject(needed, 0) == WAIT_OBJECT_0;
}

void ForgetShellPicturesNeeded() {
    if (HANDLE needed = NeededEvent()) ResetEvent(needed);
}

bool ShellPicturesReady() { return picturesReady && !pretendNotLoaded; }

void PretendShellPicturesNotLoaded(bool pretend) { pretendNotLoaded = pretend; }

void PrepareShellPicturesInBackground(void (*whenReady)()) {
    // Without a thread, whoever asks first loads the lists.
    ui::StartThread([whenReady] { PrepareShellPictures(whenReady); });
}

namespace {

// Asks the shell about a folder by attributes alone.
bool AskAboutFolder(SHFILEINFOW &sfi, UINT flags) {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return SHGetFileInfoW(windows, FILE_ATTRIBUTE_DIRECTORY, &sfi, sizeof sfi, SHGFI_USEFILEATTRIBUTES | flags) != 0;
}

} // namespace

int FolderIcon() {
    static const int icon = [] {
        SHFILEINFOW sfi{};
        int index = AskAboutFolder(sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) ? sfi.iIcon : 0;
        // Whoever asks first has loaded the shell's lists with it.
        picturesReady = true;
        return index;
    }();
    return icon;
}

const std::wstring &FolderTypeName() {
    static const std::wstring name = [] {
        SHFILEINFOW sfi{};
        return AskAboutFolder(sfi, SHGFI_TYPENAME) ? std::wstring(sfi.szTypeName) : std::wstring();
    }();
    return name;
}

namespace {

// The quick pictures, asked from the start-up thread too.
class TQuickPictures {
public:
    // Never destroyed: the start-up thread may still be making a picture while the process ends.
    static TQuickPictures &Instance() {
        static TQuickPictures &pictures = *new TQuickPictures;
        return pictures;
    }

    HIMAGELIST List() {
        std::lock_guard<std::mutex> hold(lock_);
        return MakeList();
    }

    // The picture kept under `key`, taken at the first call from what `locate` names: a file that may
    // hold environment strings, and an index or negative resource number in it.
    template <typename Locate> int Picture(UINT key, Locate locate) {
        std::lock_guard<std::mutex> hold(lock_);
        auto it = byKey_.find(key);
        if (it != byKey_.end()) return it->second;
        int index = -1;
        wchar_t file[MAX_PATH] = {};
        int place = 0;
        if (locate(file, place) && MakeList()) index = Add(file, place);
        byKey_.emplace(key, index);
        return index;
    }

private:
    HIMAGELIST MakeList() {
        if (!list_)
            list_ = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                     ILC_COLOR32 | ILC_MASK, 4, 4);
        return list_;
    }

    int Add(const wchar_t *file, int place) {
        wchar_t path[MAX_PATH] = {};
        // A file the shell names by "*" or nothing is not a file: its picture is only in the shell's list.
        if (!file[0] || file[0] == L'*' || !ExpandEnvironmentStringsW(file, path, MAX_PATH)) return -1;
        HICON extracted = nullptr;
        UINT id = 0;
        UINT found = PrivateExtractIconsW(path, place, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                          &extracted, &id, 1, 0);
        ui::IconHandle icon(extracted);
        if (found != 1 || !icon) return -1;
        return ImageList_AddIcon(list_, icon.get());
    }

    std::mutex lock_;
    HIMAGELIST list_ = nullptr; // kept for the process: file lists share it
    std::map<UINT, int> byKey_;
};

constexpr UINT kFolderKey = ~0u;

} // namespace

HIMAGELIST QuickPictureList() { return TQuickPictures::Instance().List(); }

int QuickFolderPicture() {
    return TQuickPictures::Instance().Picture(kFolderKey, [](wchar_t(&file)[MAX_PATH], int &place) {
        SHFILEINFOW sfi{};
        if (!AskAboutFolder(sfi, SHGFI_ICONLOCATION)) return false;
        lstrcpynW(file, sfi.szDisplayName, MAX_PATH);
        place = sfi.iIcon;
        return true;
    });
}

int QuickDriveTypePicture(UINT driveType) {
    return TQuickPictures::Instance().Picture(driveType, [driveType](wchar_t(&file)[MAX_PATH], int &place) {
        TDrivePicture picture = DrivePictureOf(driveType);
        TStockIconInfo info;
        // Some shells name the library but no place in it (-1); their stock pictures are the library's own.
        if (AskStockIcon(picture.id, kStockIconLocation, info) && info.szPath[0] && info.iIcon != -1) {
            lstrcpynW(file, info.szPath, MAX_PATH);
            place = info.iIcon;
            return true;
        }
        ShellLibraryPath(file);
        place = -picture.libraryResource;
        return true;
    });
}

int TShellTypeCache::IndexFor(const std::wstring &name) {
    size_t dot = name.rfind(L'.');
    // Only the extension is lowered: short, it needs no allocation on a listing's path.
    std::wstring ext = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
    LowerAscii(ext);
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
