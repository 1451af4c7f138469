#include "fileops/LongPathOps.h"

#include "fileops/PathRules.h"
#include "ui/Handles.h"

namespace fileops {

namespace {

bool IsDots(const wchar_t *name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

std::wstring Child(const std::wstring &folder, const wchar_t *name) {
    return folder.empty() ? std::wstring() : (folder.back() == L'\\' ? folder : folder + L'\\') + name;
}

// Calls visit(name, find record) for every entry of a folder but "." and ".."; the error of the listing,
// ERROR_SUCCESS for a folder that lists (an empty one included).
template <class Visit> DWORD ForEachEntry(const std::wstring &folder, Visit visit) {
    WIN32_FIND_DATAW fd;
    std::wstring pattern = LongPath(folder);
    if (pattern.back() != L'\\')
        pattern += L'\\';
    ui::FindHandle find(FindFirstFileW((pattern + L"*").c_str(), &fd));
    if (find.get() == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES ? ERROR_SUCCESS : code;
    }
    do {
        if (!IsDots(fd.cFileName) && !visit(fd))
            break;
    } while (FindNextFileW(find.get(), &fd));
    return ERROR_SUCCESS;
}

TStepFailure Failed(const std::wstring &path) {
    return {path, GetLastError()};
}

void Scan(const std::wstring &source, const std::wstring &target, bool checkReading, TItemScan &scan) {
    if (source.size() >= MAX_PATH || (!target.empty() && target.size() >= MAX_PATH))
        scan.longPaths = true;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!target.empty() && GetFileAttributesExW(LongPath(target).c_str(), GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        scan.targetsBefore[target] = {(static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                                      data.ftLastWriteTime};
    if (!ItemIsFolder(source)) {
        unsigned long long size = 0;
        if (ItemSize(source, size))
            scan.bytes += size;
        if (checkReading && !scan.unreadable) {
            ui::KernelHandle file(CreateFileW(LongPath(source).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
            if (file.get() == INVALID_HANDLE_VALUE)
                scan.unreadable = Failed(source);
        }
        return;
    }
    DWORD listed = ForEachEntry(source, [&](const WIN32_FIND_DATAW &fd) {
        std::wstring inner = Child(source, fd.cFileName);
        TNameTrouble trouble = NameTrouble(fd.cFileName);
        if (!ReachableByLongPath(trouble)) {
            if (scan.blocked.empty())
                scan.blocked = L"it holds \"" + inner + L"\": " + TroubleText(trouble);
            return true;
        }
        if (trouble != TNameTrouble::none)
            scan.longPaths = true;
        Scan(inner, Child(target, fd.cFileName), checkReading, scan);
        return true;
    });
    if (listed != ERROR_SUCCESS && !scan.unreadable)
        scan.unreadable = {source, listed};
}

// Copies one file; an existing target is replaced only by a complete copy made beside it.
TStepFailure CopyFileItem(const std::wstring &source, const std::wstring &target) {
    std::wstring from = LongPath(source), to = LongPath(target);
    if (GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES)
        return CopyFileW(from.c_str(), to.c_str(), TRUE) ? TStepFailure{} : Failed(target);
    std::wstring beside = to + L".zelvor-copy";
    if (!CopyFileW(from.c_str(), beside.c_str(), FALSE)) {
        TStepFailure failure = Failed(target);
        DeleteFileW(beside.c_str());
        return failure;
    }
    if (!MoveFileExW(beside.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        TStepFailure failure = Failed(target);
        DeleteFileW(beside.c_str());
        return failure;
    }
    return {};
}

} // namespace

std::function<bool(const std::wstring &path, unsigned long long &freeBytes)> FreeSpaceQuery =
    [](const std::wstring &path, unsigned long long &freeBytes) {
        ULARGE_INTEGER available{}, total{}, free{};
        if (!GetDiskFreeSpaceExW(VolumeOf(path).c_str(), &available, &total, &free))
            return false;
        freeBytes = available.QuadPart;
        return true;
    };

std::wstring VolumeOf(const std::wstring &path) {
    if (path.size() >= 2 && path[1] == L':')
        return path.substr(0, 2) + L"\\";
    if (path.compare(0, 2, L"\\\\") == 0) {
        size_t server = path.find(L'\\', 2);
        size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        return (share == std::wstring::npos ? path : path.substr(0, share)) + L"\\";
    }
    return {};
}

bool ItemExists(const std::wstring &path) {
    return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ItemExistsExactly(const std::wstring &path) {
    size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size())
        return ItemExists(path);
    WIN32_FIND_DATAW fd;
    ui::FindHandle find(FindFirstFileW(LongPath(path).c_str(), &fd));
    if (find.get() == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (path.compare(slash + 1, std::wstring::npos, fd.cFileName) == 0)
            return true;
    } while (FindNextFileW(find.get(), &fd));
    return false;
}

bool ItemIsFolder(const std::wstring &path) {
    DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ItemSize(const std::wstring &path, unsigned long long &size, FILETIME *written) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data))
        return false;
    size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (written)
        *written = data.ftLastWriteTime;
    return true;
}

TItemScan ScanItem(const std::wstring &source, const std::wstring &target, bool checkReading) {
    TItemScan scan;
    Scan(source, target, checkReading, scan);
    return scan;
}

TStepFailure CopyItem(const std::wstring &source, const std::wstring &target) {
    if (!ItemIsFolder(source))
        return CopyFileItem(source, target);
    if (!CreateDirectoryW(LongPath(target).c_str(), nullptr) && !ItemIsFolder(target))
        return Failed(target);
    TStepFailure failure;
    DWORD listed = ForEachEntry(source, [&](const WIN32_FIND_DATAW &fd) {
        failure = CopyItem(Child(source, fd.cFileName), Child(target, fd.cFileName));
        return !failure;
    });
    if (!failure && listed != ERROR_SUCCESS)
        failure = {source, listed};
    return failure;
}

TStepFailure MoveItem(const std::wstring &source, const std::wstring &target) {
    std::wstring from = LongPath(source), to = LongPath(target);
    if (!ItemExists(target) && MoveFileExW(from.c_str(), to.c_str(), 0))
        return {};
    if (!ItemIsFolder(source) && VolumeOf(source) == VolumeOf(target) && !ItemIsFolder(target)) {
        // The same volume: the name moves, nothing is copied.
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) ? TStepFailure{} : Failed(target);
    }
    // Another volume, or a folder into an existing one: copy whole, then take the source away.
    if (TStepFailure failure = CopyItem(source, target))
        return failure;
    return DeleteItem(source);
}

TStepFailure DeleteItem(const std::wstring &path) {
    std::wstring item = LongPath(path);
    if (!ItemIsFolder(path))
        return DeleteFileW(item.c_str()) ? TStepFailure{} : Failed(path);
    TStepFailure failure;
    DWORD listed = ForEachEntry(path, [&](const WIN32_FIND_DATAW &fd) {
        failure = DeleteItem(Child(path, fd.cFileName));
        return !failure;
    });
    if (failure)
        return failure;
    if (listed != ERROR_SUCCESS)
        return {path, listed};
    return RemoveDirectoryW(item.c_str()) ? TStepFailure{} : Failed(path);
}

} // namespace fileops
