#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "filelist/DriveLabels.h"
#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "filelist/FileList.h"
#include "filelist/ReadAhead.h"
#include "filelist/ShellInfo.h"
#include "ui/Fallbacks.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/LateBound.h"

namespace {

// ---- What the built program asks of the system ----

struct TPeFacts {
    std::map<std::string, std::vector<std::string>> imports; // lower-case DLL name: function names
    int subsystemVersion = 0, osVersion = 0;                 // major * 100 + minor
    bool manifest = false;
};

// Reads the import tables (plain and delay-load), the versions in the header and whether the
// resources hold a manifest, straight from the file.
TPeFacts ReadPe(const std::wstring &path) {
    const std::string f = testdriver::ReadFileBytes(path);
    TPeFacts facts;
    auto at = [&](size_t offset, size_t size) {
        if (offset + size > f.size()) throw std::runtime_error("past the end of the file");
        return f.data() + offset;
    };
    auto dword = [&](size_t offset) { DWORD v; std::memcpy(&v, at(offset, 4), 4); return v; };
    auto word = [&](size_t offset) { WORD v; std::memcpy(&v, at(offset, 2), 2); return v; };
    size_t nt = dword(0x3C);
    if (std::memcmp(at(nt, 4), "PE\0\0", 4) != 0) throw std::runtime_error("not a PE file");
    size_t fileHeader = nt + 4, optional = fileHeader + 20;
    WORD sections = word(fileHeader + 2), optionalSize = word(fileHeader + 16);
    bool pe64 = word(optional) == 0x20B;
    facts.osVersion = word(optional + 40) * 100 + word(optional + 42);
    facts.subsystemVersion = word(optional + 48) * 100 + word(optional + 50);
    size_t directories = optional + (pe64 ? 112 : 96);
    size_t sectionTable = optional + optionalSize;
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < sections; ++i) {
            size_t s = sectionTable + i * 40;
            DWORD virtualSize = dword(s + 8), virtualAddress = dword(s + 12), rawSize = dword(s + 16);
            if (rva >= virtualAddress && rva < virtualAddress + std::max(virtualSize, rawSize))
                return dword(s + 20) + (rva - virtualAddress);
        }
        throw std::runtime_error("an address outside every section");
    };
    auto text = [&](DWORD rva) { return std::string(at(fileOffset(rva), 1)); };
    auto readThunks = [&](const std::string &dll, DWORD thunks) {
        std::string lower = dll;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
        auto &names = facts.imports[lower];
        for (size_t t = fileOffset(thunks);; t += pe64 ? 8 : 4) {
            unsigned long long entry = pe64 ? (static_cast<unsigned long long>(dword(t + 4)) << 32) | dword(t) : dword(t);
            if (!entry) break;
            bool byOrdinal = pe64 ? (entry >> 63) != 0 : (entry >> 31) != 0;
            if (byOrdinal) names.push_back(std::string(1, '#').append(std::to_string(entry & 0xFFFF)));
            else names.push_back(text(static_cast<DWORD>(entry) + 2));
        }
    };
    if (DWORD imports = dword(directories + 1 * 8))
        for (size_t d = fileOffset(imports); dword(d + 12); d += 20)
            readThunks(text(dword(d + 12)), dword(d) ? dword(d) : dword(d + 16));
    if (DWORD delayed = dword(directories + 13 * 8))
        for (size_t d = fileOffset(delayed); dword(d + 4); d += 32)
            readThunks(text(dword(d + 4)), dword(d + 16));
    if (DWORD resources = dword(directories + 2 * 8)) {
        size_t root = fileOffset(resources);
        int entries = word(root + 12) + word(root + 14);
        for (int i = 0; i < entries; ++i)
            if (dword(root + 16 + i * 8) == 24) facts.manifest = true; // RT_MANIFEST, by number
    }
    return facts;
}

// The text of the program's own manifest (resource 1), read as data.
std::string ManifestText(const std::wstring &path) {
    std::string text;
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
        if (HGLOBAL loaded = LoadResource(module, found))
            text.assign(static_cast<const char *>(LockResource(loaded)), SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

// The libraries of Windows XP SP3 itself, without a side-by-side manifest (common controls 5.82).
const std::set<std::string> kXpLibraries = {
    "kernel32.dll", "user32.dll",   "gdi32.dll",   "advapi32.dll", "shell32.dll",  "comctl32.dll",
    "ole32.dll",    "oleaut32.dll", "msvcrt.dll",  "winmm.dll",    "mpr.dll",      "version.dll",
    "comdlg32.dll", "shlwapi.dll",  "uxtheme.dll", "winspool.drv", "imm32.dll",    "ws2_32.dll",
    "wsock32.dll",  "netapi32.dll", "psapi.dll",   "crypt32.dll",  "rpcrt4.dll",   "secur32.dll",
    "setupapi.dll", "shfolder.dll", "msimg32.dll", "userenv.dll",  "iphlpapi.dll", "usp10.dll",
};

// Functions of those libraries that XP SP3 lacks, each by its documented oldest system (Vista unless
// noted), written from the documentation and not from the program.
const std::map<std::string, std::set<std::string>> kNewerThanXp = {
    {"kernel32.dll",
     {"GetTickCount64", "GetSystemTimePreciseAsFileTime" /* 8 */, "SetThreadErrorMode" /* 7 */,
      "GetThreadErrorMode" /* 7 */, "GetErrorMode", "InitializeSRWLock", "AcquireSRWLockExclusive",
      "AcquireSRWLockShared", "ReleaseSRWLockExclusive", "ReleaseSRWLockShared",
      "TryAcquireSRWLockExclusive" /* 7 */, "TryAcquireSRWLockShared" /* 7 */, "InitializeConditionVariable",
      "SleepConditionVariableCS", "SleepConditionVariableSRW", "WakeConditionVariable", "WakeAllConditionVariable",
      "InitOnceExecuteOnce", "InitOnceInitialize", "InitOnceBeginInitialize", "InitOnceComplete",
      "InitializeCriticalSectionEx", "CreateEventExW", "CreateEventExA", "CreateMutexExW", "CreateSemaphoreExW",
      "CreateWaitableTimerExW", "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue", "IsThreadAFiber",
      "CreateSymbolicLinkW", "CreateSymbolicLinkA", "GetFinalPathNameByHandleW", "GetFinalPathNameByHandleA",
      "GetFileInformationByHandleEx", "SetFileInformationByHandle", "CancelIoEx", "CancelSynchronousIo",
      "QueryFullProcessImageNameW", "QueryFullProcessImageNameA", "GetLocaleInfoEx", "GetUserDefaultLocaleName",
      "GetSystemDefaultLocaleName", "LCMapStringEx", "CompareStringEx", "CompareStringOrdinal", "GetDateFormatEx",
      "GetTimeFormatEx", "GetNumberFormatEx", "GetCurrencyFormatEx", "LocaleNameToLCID", "LCIDToLocaleName",
      "ResolveLocaleName" /* 7 */, "EnumSystemLocalesEx", "IsValidLocaleName", "FindNLSString",
      "GetThreadPreferredUILanguages", "SetThreadPreferredUILanguages", "GetUserPreferredUILanguages",
      "GetCurrentProcessorNumber", "GetLogicalProcessorInformationEx" /* 7 */, "GetActiveProcessorCount" /* 7 */,
      "QueryThreadCycleTime", "QueryProcessCycleTime", "QueryUnbiasedInterruptTime" /* 7 */,
      "GetVolumeInformationByHandleW", "FindFirstFileNameW", "FindFirstStreamW", "FindNextStreamW",
      "CreateThreadpoolWork", "SubmitThreadpoolWork", "CloseThreadpoolWork", "CreateThreadpoolTimer",
      "SetThreadpoolTimer", "CloseThreadpoolTimer", "CreateThreadpoolWait", "CreateThreadpool",
      "Wow64DisableWow64FsRedirection" /* not on 32-bit XP */, "Wow64RevertWow64FsRedirection", "GetProductInfo",
      "SetDefaultDllDirectories" /* 8 */, "AddDllDirectory" /* 8 */, "RemoveDllDirectory" /* 8 */,
      "GetQueuedCompletionStatusEx", "SetFileCompletionNotificationModes", "ReOpenFile",
      "RegisterApplicationRestart", "RegisterApplicationRecoveryCallback", "CopyFile2" /* 8 */, "CreateFile2" /* 8 */,
      "CreateFileTransactedW", "MoveFileTransactedW", "DeleteFileTransactedW", "CreateDirectoryTransactedW",
      "GetDynamicTimeZoneInformation", "GetTimeZoneInformationForYear", "SystemTimeToTzSpecificLocalTimeEx" /* 7 */,
      "GetPhysicallyInstalledSystemMemory", "GetCurrentThreadStackLimits" /* 8 */, "SetThreadStackGuarantee",
      "InitializeProcThreadAttributeList", "UpdateProcThreadAttribute", "DeleteProcThreadAttributeList",
      "GetThreadId", "GetProcessIdOfThread", "RaiseFailFastException" /* 7 */, "GetOverlappedResultEx" /* 8 */,
      "CreateRemoteThreadEx" /* 7 */, "K32EnumProcesses" /* 7 */, "K32GetModuleFileNameExW" /* 7 */,
      "K32GetProcessMemoryInfo" /* 7 */, "InterlockedCompareExchange64", "GetLargePageMinimum",
      "SetProcessWorkingSetSizeEx", "GetNamedPipeClientProcessId", "LoadPackagedLibrary" /* 8 */,
      "GetCurrentPackageId" /* 8 */, "WerRegisterFile", "NormalizeString", "IdnToAscii"}},
    {"user32.dll",
     {"SetProcessDPIAware", "IsProcessDPIAware", "SetProcessDpiAwarenessContext" /* 10 */, "GetDpiForWindow" /* 10 */,
      "GetDpiForSystem" /* 10 */, "AdjustWindowRectExForDpi" /* 10 */, "GetSystemMetricsForDpi" /* 10 */,
      "SystemParametersInfoForDpi" /* 10 */, "EnableNonClientDpiScaling" /* 10 */, "ChangeWindowMessageFilter",
      "ChangeWindowMessageFilterEx" /* 7 */, "AddClipboardFormatListener", "RemoveClipboardFormatListener",
      "RegisterPowerSettingNotification", "UnregisterPowerSettingNotification", "ShutdownBlockReasonCreate",
      "ShutdownBlockReasonDestroy", "SetWindowDisplayAffinity" /* 7 */, "RegisterTouchWindow" /* 7 */,
      "GetTouchInputInfo" /* 7 */, "CloseTouchInputHandle" /* 7 */, "GetGestureInfo" /* 7 */,
      "SetGestureConfig" /* 7 */, "GetPointerInfo" /* 8 */, "EnableMouseInPointer" /* 8 */,
      "CalculatePopupWindowPosition" /* 7 */, "LogicalToPhysicalPoint", "PhysicalToLogicalPoint",
      "WindowFromPhysicalPoint", "UpdateLayeredWindowIndirect", "QueryDisplayConfig" /* 7 */,
      "DisplayConfigGetDeviceInfo" /* 7 */, "GetDisplayConfigBufferSizes" /* 7 */, "IsImmersiveProcess" /* 8 */}},
    {"gdi32.dll",
     {"D3DKMTOpenAdapterFromHdc", "D3DKMTCloseAdapter", "D3DKMTQueryAdapterInfo", "D3DKMTCreateDCFromMemory",
      "D3DKMTDestroyDCFromMemory", "D3DKMTOpenAdapterFromGdiDisplayName", "D3DKMTEnumAdapters2" /* 8 */}},
    {"shell32.dll",
     {"SHGetStockIconInfo", "SHGetKnownFolderPath", "SHGetKnownFolderIDList", "SHSetKnownFolderPath",
      "SHGetKnownFolderItem" /* 7 */, "SHCreateItemFromParsingName", "SHCreateItemFromIDList",
      "SHCreateItemWithParent", "SHCreateItemFromRelativeName", "SHCreateItemInKnownFolder",
      "SHCreateShellItemArray", "SHCreateShellItemArrayFromIDLists", "SHCreateShellItemArrayFromShellItem",
      "SHCreateShellItemArrayFromDataObject", "SHGetIDListFromObject", "SHGetNameFromIDList",
      "SHGetItemFromObject", "SHGetItemFromDataObject", "SHGetPropertyStoreFromParsingName",
      "SHGetPropertyStoreForWindow" /* 7 */, "SHOpenWithDialog", "SHGetDriveMedia", "SHAssocEnumHandlers",
      "SHCreateDefaultContextMenu", "SHCreateDefaultExtractIcon", "SHGetLocalizedName", "SHSetLocalizedName",
      "SHQueryUserNotificationState", "SetCurrentProcessExplicitAppUserModelID" /* 7 */,
      "GetCurrentProcessExplicitAppUserModelID" /* 7 */, "Shell_NotifyIconGetRect" /* 7 */,
      "SHBindToFolderIDListParent", "SHBindToObject", "SHCreateAssociationRegistration", "SHCreateDataObject",
      "SHGetFolderPathEx", "SHGetTemporaryPropertyForItem", "SHSetTemporaryPropertyForItem",
      "SHChangeNotifyRegisterThread", "InitNetworkAddressControl"}},
    {"comctl32.dll",
     {// Vista, or only in common controls 6, which a program without a manifest never gets.
      "TaskDialog", "TaskDialogIndirect", "LoadIconMetric", "LoadIconWithScaleDown", "DrawShadowText",
      "ImageList_CoCreateInstance", "HIMAGELIST_QueryInterface", "ImageList_ReadEx", "ImageList_WriteEx",
      "ImageList_SetColorTable",
      // Exported by number since 5.8, by name only from version 6 on: imported by number.
      "SetWindowSubclass", "GetWindowSubclass", "RemoveWindowSubclass", "DefSubclassProc"}},
    {"advapi32.dll",
     {"RegGetValueW" /* not on 32-bit XP */, "RegGetValueA", "RegDeleteTreeW", "RegDeleteTreeA", "RegCopyTreeW",
      "RegSetKeyValueW", "RegDeleteKeyValueW", "RegLoadMUIStringW", "RegDeleteKeyExW" /* not on 32-bit XP */,
      "RegDeleteKeyExA", "RegOpenKeyTransactedW", "RegCreateKeyTransactedW", "RegDisableReflectionKey",
      "RegEnableReflectionKey", "RegQueryReflectionKey", "EventRegister", "EventUnregister", "EventWrite",
      "EventWriteString", "EventEnabled", "AddMandatoryAce", "InitiateShutdownW", "ControlServiceExW",
      "NotifyServiceStatusChangeW", "TreeSetNamedSecurityInfoW", "AuditQuerySystemPolicy",
      "EventActivityIdControl", "TraceSetInformation" /* 8 */}},
    {"ole32.dll",
     {"CoGetApartmentType" /* 7 */, "CoDisconnectContext", "CoRegisterActivationFilter" /* 8 */,
      "CoIncrementMTAUsage" /* 8 */, "CoDecrementMTAUsage" /* 8 */, "CoCreateInstanceFromApp" /* 8 */,
      "CoWaitForMultipleObjects" /* 8 */}},
    {"msvcrt.dll",
     {"rand_s", "_fseeki64", "_ftelli64", "__acrt_iob_func", "_get_errno", "_set_errno", "_get_fmode",
      "_set_fmode", "_set_abort_behavior", "_configthreadlocale", "_create_locale", "_free_locale", "_time32",
      "_localtime32", "_gmtime32", "_mktime32", "_ctime32", "_wctime32", "_stat32", "_fstat32", "_wstat32",
      "_findfirst32", "_wfindfirst32", "_findnext32", "_wfindnext32", "_utime32", "_wutime32", "_futime32"}},
};

// XP's C library has none of the checked forms ("_s") nor the forms with a locale ("_l"), added with Vista.
bool NewerThanXp(const std::string &dll, const std::string &function) {
    auto listed = kNewerThanXp.find(dll);
    if (listed != kNewerThanXp.end() && listed->second.count(function)) return true;
    auto endsWith = [&](const char *tail) {
        size_t n = std::strlen(tail);
        return function.size() > n && function.compare(function.size() - n, n, tail) == 0;
    };
    return dll == "msvcrt.dll" && (endsWith("_s") || endsWith("_l"));
}

std::vector<std::string> NewerImports(const TPeFacts &facts) {
    std::vector<std::string> found;
    for (const auto &[dll, functions] : facts.imports) {
        if (!kXpLibraries.count(dll)) found.push_back(dll);
        for (const std::string &function : functions)
            if (NewerThanXp(dll, function)) found.push_back(dll + "!" + function);
    }
    return found;
}

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// Windows refuses to start a program that imports by name a function its system lacks: Zelvor must
// import nothing newer than XP SP3, from XP's own libraries only, and its header must not ask for more.
TEST(OlderSystems, ZelvorAsksForNothingXpLacks) {
    TPeFacts zelvor = ReadPe(ZELVOR_EXE);
    EXPECT_EQ(NewerImports(zelvor), std::vector<std::string>{});
    EXPECT_LE(zelvor.subsystemVersion, 501);
    EXPECT_LE(zelvor.osVersion, 501);
    // The manifest declares system DPI awareness, but may ask for no execution level (Vista's redirection
    // of a standard user's writes to the settings key and the program's folder depends on it) and names no
    // common controls 6 (the classic controls stay).
    EXPECT_TRUE(zelvor.manifest);
    std::string manifest = ManifestText(ZELVOR_EXE);
    EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos) << manifest;
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos) << manifest;
    EXPECT_EQ(manifest.find("trustInfo"), std::string::npos) << manifest;
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos) << manifest;

    // The reading itself finds what the program is known to use, and what a program built without the
    // runtime's slot filled (this test program) imports by name.
    auto has = [](const TPeFacts &facts, const char *dll, const char *function) {
        auto it = facts.imports.find(dll);
        return it != facts.imports.end() && std::count(it->second.begin(), it->second.end(), function) > 0;
    };
    EXPECT_TRUE(has(zelvor, "kernel32.dll", "CreateFileW"));
    EXPECT_TRUE(has(zelvor, "shell32.dll", "SHFileOperationW"));
    std::vector<std::string> ours = NewerImports(ReadPe(ThisProgram()));
    EXPECT_NE(std::find(ours.begin(), ours.end(), "kernel32.dll!GetTickCount64"), ours.end());
}

// ---- Each newer call, refused as on XP: what the user sees ----

// The stock pictures are asked once per process: refused from the start.
const ui::TRefuseLateBound noStockIcons({"SHGetStockIconInfo"});

// Without stock pictures, each drive type still shows a picture of its own, the same one before and
// after the shell's load, taken from the shell library's classic places.
TEST(OlderSystems, DrivePicturesWithoutStockIcons) {
    std::set<std::vector<DWORD>> seen;
    for (UINT type : {DRIVE_FIXED, DRIVE_REMOTE, DRIVE_CDROM, DRIVE_REMOVABLE}) {
        int quick = filelist::QuickDriveTypePicture(type), shell = filelist::DriveTypeIcon(type);
        ASSERT_GE(quick, 0) << type;
        ASSERT_GE(shell, 0) << type;
        std::vector<DWORD> drawn = testdriver::ImagePixels(filelist::QuickPictureList(), quick);
        EXPECT_NE(std::count(drawn.begin(), drawn.end(), drawn.front()), static_cast<long>(drawn.size())) << type;
        EXPECT_EQ(drawn, testdriver::ImagePixels(filelist::SystemImageList(true), shell)) << type;
        if (type != DRIVE_REMOVABLE) seen.insert(drawn);
    }
    EXPECT_EQ(seen.size(), 3u) << "fixed, network and CD drives look different";
}

// Without the 64-bit count, the 32-bit one is followed across its wrap; the runtime's waits use it.
TEST(OlderSystems, TickCountWithoutGetTickCount64) {
    struct Case {
        ULONGLONG last;
        DWORD reading;
        ULONGLONG next;
    };
    const Case cases[] = {
        {0, 1234, 1234},
        {1000, 1500, 1500},
        {0xFFFFFF00ull, 0x100, 0x100000100ull},           // across the wrap
        {0x2FFFFFFF0ull, 0x10, 0x300000010ull},           // the third wrap
        {0x100000100ull, 0x100, 0x100000100ull},          // no time passed
    };
    for (const Case &c : cases) EXPECT_EQ(ui::AdvanceTicks(c.last, c.reading), c.next) << c.last << " " << c.reading;

    ui::TRefuseLateBound refuse({"GetTickCount64"});
    ULONGLONG before = ui::TickCount64();
    EXPECT_EQ(static_cast<DWORD>(before) - GetTickCount() + 50u <= 100u, true) << "follows the 32-bit count";
    Sleep(200);
    ULONGLONG after = ui::TickCount64();
    EXPECT_GE(after - before, 150u);
    EXPECT_LT(after - before, 5000u);
}

// Without the precise clock, the usual one: the start-up steps are still timed by the time of day.
TEST(OlderSystems, TimeOfDayWithoutThePreciseClock) {
    for (bool refused : {false, true}) {
        std::optional<ui::TRefuseLateBound> refuse;
        if (refused) refuse.emplace(std::initializer_list<const char *>{"GetSystemTimePreciseAsFileTime"});
        auto value = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
        FILETIME system;
        GetSystemTimeAsFileTime(&system);
        ULONGLONG first = value(ui::PreciseSystemTime());
        EXPECT_LT(first - value(system) + 10000000ull, 20000000ull) << refused << ": within a second";
        Sleep(100);
        EXPECT_GT(value(ui::PreciseSystemTime()), first) << refused;
    }
}

UINT ProcessErrorMode() {
    UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    return mode;
}

// A drive without its medium gives no system message box to the threads that read drive names and
// folders. With the thread's own mode, the process's mode is left alone; without it (before Windows 7),
// the process's mode is quiet while any reader reads, and comes back when the last one ends.
TEST(OlderSystems, QuietDriveErrorsWithoutTheThreadsMode) {
    const UINT start = SetErrorMode(0);
    const UINT before = 0;
    for (bool refused : {false, true}) {
        std::optional<ui::TRefuseLateBound> refuse;
        if (refused) refuse.emplace(std::initializer_list<const char *>{"SetThreadErrorMode"});
        {
            ui::TQuietDriveErrors outer;
            {
                ui::TQuietDriveErrors inner;
                EXPECT_EQ((ProcessErrorMode() & SEM_FAILCRITICALERRORS) != 0, refused) << refused;
            }
            EXPECT_EQ((ProcessErrorMode() & SEM_FAILCRITICALERRORS) != 0, refused) << refused;
        }
        EXPECT_EQ(ProcessErrorMode(), before) << refused;
        // The user still sees the system drive's name.
        wchar_t windows[MAX_PATH] = {};
        GetWindowsDirectoryW(windows, MAX_PATH);
        wchar_t root[] = {windows[0], L':', L'\\', 0};
        wchar_t label[MAX_PATH + 1] = {};
        GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
        EXPECT_EQ(filelist::ReadDriveName(windows[0], DRIVE_FIXED), label) << refused;
    }
    SetErrorMode(start);
}

// Before Windows 7, listings are asked without the flags it added; the panel shows every entry.
TEST(OlderSystems, ListingWithoutWindows7sFlags) {
    testdriver::TempDir dir;
    dir.File(L"readme.txt");
    dir.File(L"report 2026.txt", "12345");
    dir.Folder(L"sub");
    ui::TRefuseLateBound refuse({"FindExInfoBasic"});
    EXPECT_FALSE(ui::ListingFlagsTaken());
    ui::TForm form;
    form.CreateForm(L"Older systems test", 600, 400, false);
    filelist::TFileList list;
    list.Create(form.Handle(), 10);
    list.SetBounds(0, 0, 580, 360);
    list.SetFileTypes(filelist::kAllFileTypes);
    for (bool readAhead : {false, true}) {
        if (readAhead) {
            ASSERT_TRUE(filelist::StartReadAhead(dir.Path()));
        }
        list.SetDirectory(dir.Path());
        std::vector<std::wstring> captions = testdriver::Captions(list.Handle());
        std::sort(captions.begin(), captions.end());
        EXPECT_EQ(captions, (std::vector<std::wstring>{L"..", L"readme.txt", L"report 2026.txt", L"sub"})) << readAhead;
    }
}

} // namespace
