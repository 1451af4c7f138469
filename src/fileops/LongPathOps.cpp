#include "fileops/LongPathOps.h"

#include <winioctl.h>

#include <memory>

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

std::wstring ParentOf(const std::wstring &path) {
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool IsLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD AttributesOf(const std::wstring &path) { return GetFileAttributesW(LongPath(path).c_str()); }

// Wine reads a link named in a rename as what it points at and moves that; Windows moves the link.
bool RenamesLinksAsLinks() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
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

TStepFailure Failed(const std::wstring &path, DWORD code) {
    return {path, code};
}

bool Cancelled(TWorkControl *control) {
    return control && control->cancel.load();
}

void Scan(const std::wstring &source, const std::wstring &target, bool checkReading, TItemScan &scan) {
    if (source.size() >= MAX_PATH || (!target.empty() && target.size() >= MAX_PATH))
        scan.longPaths = true;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!target.empty() && GetFileAttributesExW(LongPath(target).c_str(), GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        scan.targetsBefore[target] = {(static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                                      data.ftLastWriteTime};
    DWORD attributes = AttributesOf(source);
    ++scan.files;
    if (IsLink(attributes)) {
        // A link is taken as it is: what it points at is no part of the item.
        scan.links.push_back(source);
        if (checkReading && !scan.unreadable) {
            // Copied as a link: its record must be readable, or the copy would stop half way.
            ui::KernelHandle link(CreateFileW(LongPath(source).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                              nullptr));
            std::vector<BYTE> record(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
            DWORD got = 0;
            if (link.get() == INVALID_HANDLE_VALUE ||
                !DeviceIoControl(link.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, record.data(),
                                 static_cast<DWORD>(record.size()), &got, nullptr))
                scan.unreadable = Failed(source);
        }
        return;
    }
    if (!IsFolder(attributes)) {
        unsigned long long size = 0;
        if (ItemSize(source, size)) {
            scan.bytes += size;
            scan.sizes.push_back(size);
        }
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            scan.readOnly = true;
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

// A name beside the target that no one has: made here (so no other run takes it) and returned open.
ui::KernelHandle MakeTemporary(const std::wstring &target, std::wstring &made,
                               DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    static std::atomic<unsigned long> counter{0};
    std::wstring folder = ParentOf(target);
    wchar_t tail[48];
    for (int tries = 0; tries < 1000; ++tries) {
        swprintf(tail, 48, L"%ls%lx-%lx.tmp", kTemporaryPrefix, GetCurrentProcessId(), ++counter);
        made = folder + L"\\" + tail;
        ui::KernelHandle file(CreateFileW(LongPath(made).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          attributes | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (file.get() != INVALID_HANDLE_VALUE)
            return file;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return ui::KernelHandle(INVALID_HANDLE_VALUE);
    }
    SetLastError(ERROR_FILE_EXISTS);
    return ui::KernelHandle(INVALID_HANDLE_VALUE);
}

// Writes the source's bytes into the open temporary, block by block; times follow its own.
TStepFailure WriteBytes(HANDLE from, HANDLE to, const std::wstring &source, const std::wstring &target,
                        TWorkControl *control) {
    constexpr DWORD kBlock = 1 << 20;
    static thread_local std::unique_ptr<char[]> buffer(new char[kBlock]);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(from, buffer.get(), kBlock, &read, nullptr))
            return Failed(source);
        if (read == 0)
            break;
        DWORD written = 0;
        if (!WriteFile(to, buffer.get(), read, &written, nullptr) || written != read)
            return Failed(target, GetLastError() ? GetLastError() : ERROR_DISK_FULL);
        if (control) {
            control->itemDone += read;
            control->doneBytes += read;
        }
        if (control && CopyBlockHook)
            CopyBlockHook(control->cancel);
        if (Cancelled(control))
            return Failed(target, ERROR_CANCELLED);
    }
    FILETIME created, accessed, written;
    if (GetFileTime(from, &created, &accessed, &written))
        SetFileTime(to, &created, &accessed, &written);
    return {};
}

// Copies one file; the target takes its name only when the copy is whole, replacing what was there. Its
// attributes come from the listing, so that no name is looked up more often than it must be (a lookup in
// a large folder is slow on some file systems).
TStepFailure CopyFileItem(const std::wstring &source, const std::wstring &target, DWORD attributes,
                          TWorkControl *control) {
    ui::KernelHandle from(CreateFileW(LongPath(source).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (from.get() == INVALID_HANDLE_VALUE)
        return Failed(source);
    if (control) {
        BY_HANDLE_FILE_INFORMATION info{};
        GetFileInformationByHandle(from.get(), &info);
        control->SetCurrent(source);
        control->itemDone = 0;
        control->itemBytes = (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    }
    // Made with the source's attributes but read-only, which would keep a failed copy from being removed.
    DWORD kept = attributes & ~(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_REPARSE_POINT |
                                FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_ENCRYPTED | FILE_ATTRIBUTE_SPARSE_FILE);
    std::wstring temporary;
    TStepFailure failure;
    {
        ui::KernelHandle to = MakeTemporary(target, temporary, kept ? kept : FILE_ATTRIBUTE_NORMAL);
        if (to.get() == INVALID_HANDLE_VALUE)
            return Failed(target);
        try {
            failure = WriteBytes(from.get(), to.get(), source, target, control);
        } catch (...) {
            // Out of memory mid-copy: the temporary goes with the error, as with any other failure.
            to.reset();
            DeleteFileW(LongPath(temporary).c_str());
            throw;
        }
    }
    std::wstring longTemporary = LongPath(temporary), longTarget = LongPath(target);
    if (!failure && !MoveFileExW(longTemporary.c_str(), longTarget.c_str(), 0)) {
        DWORD why = GetLastError();
        DWORD old = GetFileAttributesW(longTarget.c_str());
        if (old == INVALID_FILE_ATTRIBUTES || (old & FILE_ATTRIBUTE_DIRECTORY)) {
            failure = Failed(target, why);
        } else {
            // A file in the way was agreed to be replaced before the work began, a read-only one too.
            if (old & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesW(longTarget.c_str(), old & ~FILE_ATTRIBUTE_READONLY);
            if (!MoveFileExW(longTemporary.c_str(), longTarget.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                failure = Failed(target);
                if (old & FILE_ATTRIBUTE_READONLY)
                    SetFileAttributesW(longTarget.c_str(), old);
            }
        }
    }
    if (failure) {
        DeleteFileW(longTemporary.c_str());
        return failure;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(longTarget.c_str(), kept | FILE_ATTRIBUTE_READONLY);
    if (control)
        ++control->doneFiles;
    return {};
}

// A link made again as a link, from the system's own record of it; what it points at is not read.
TStepFailure CopyLink(const std::wstring &source, const std::wstring &target, TWorkControl *control) {
    if (control)
        control->SetCurrent(source);
    DWORD attributes = AttributesOf(source);
    ui::KernelHandle link(CreateFileW(LongPath(source).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (link.get() == INVALID_HANDLE_VALUE)
        return Failed(source);
    std::vector<BYTE> record(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    if (!DeviceIoControl(link.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, record.data(),
                         static_cast<DWORD>(record.size()), &got, nullptr))
        return Failed(source);
    bool folder = IsFolder(attributes);
    std::wstring to = LongPath(target);
    if (folder ? !CreateDirectoryW(to.c_str(), nullptr)
               : !ui::KernelHandle(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)))
        return Failed(target);
    TStepFailure failure;
    {
        ui::KernelHandle made(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        DWORD done = 0;
        if (made.get() == INVALID_HANDLE_VALUE ||
            !DeviceIoControl(made.get(), FSCTL_SET_REPARSE_POINT, record.data(), got, nullptr, 0, &done, nullptr))
            failure = Failed(target);
    }
    if (failure) {
        if (folder)
            RemoveDirectoryW(to.c_str());
        else
            DeleteFileW(to.c_str());
        return failure;
    }
    if (control)
        ++control->doneFiles;
    return {};
}

// Removes a link itself; a folder link is removed as an empty folder would be, never through what it names.
TStepFailure RemoveLink(const std::wstring &path, DWORD attributes) {
    std::wstring item = LongPath(path);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(item.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    BOOL removed = IsFolder(attributes) ? RemoveDirectoryW(item.c_str()) : DeleteFileW(item.c_str());
    return removed ? TStepFailure{} : Failed(path);
}

TStepFailure DeleteTree(const std::wstring &path, TWorkControl *control, bool asked, bool &kept) {
    if (Cancelled(control))
        return Failed(path, ERROR_CANCELLED);
    std::wstring item = LongPath(path);
    DWORD attributes = GetFileAttributesW(item.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Failed(path);
    if (control)
        control->SetCurrent(path);
    if (IsLink(attributes)) {
        TStepFailure failure = RemoveLink(path, attributes);
        if (!failure && control)
            ++control->doneFiles;
        return failure;
    }
    if (!IsFolder(attributes)) {
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            if (asked && control && control->askReadOnly && !control->readOnlyToAll) {
                switch (control->askReadOnly(path)) {
                case roYes:
                    break;
                case roYesToAll:
                    control->readOnlyToAll = true;
                    break;
                case roNo:
                    kept = true;
                    return {};
                case roCancel:
                    control->cancel = true;
                    return Failed(path, ERROR_CANCELLED);
                }
            }
            SetFileAttributesW(item.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        }
        if (!DeleteFileW(item.c_str()))
            return Failed(path);
        if (control)
            ++control->doneFiles;
        return {};
    }
    TStepFailure failure;
    bool keptInside = false;
    DWORD listed = ForEachEntry(path, [&](const WIN32_FIND_DATAW &fd) {
        failure = DeleteTree(Child(path, fd.cFileName), control, asked, keptInside);
        return !failure;
    });
    if (failure)
        return failure;
    if (listed != ERROR_SUCCESS)
        return {path, listed};
    if (keptInside) {
        kept = true;
        return {};
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(item.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return RemoveDirectoryW(item.c_str()) ? TStepFailure{} : Failed(path);
}

// A new spelling of the same name: through a name of its own first, as a file system that ignores case
// (Wine's lookups) takes the new spelling for the old item and leaves it as it was.
TStepFailure ChangeCase(const std::wstring &source, const std::wstring &target, TWorkControl *control) {
    std::wstring between;
    {
        ui::KernelHandle reserved = MakeTemporary(target, between);
        if (reserved.get() == INVALID_HANDLE_VALUE)
            return Failed(target);
    }
    // The name was only reserved: a folder cannot take a file's place.
    DeleteFileW(LongPath(between).c_str());
    if (!MoveFileExW(LongPath(source).c_str(), LongPath(between).c_str(), 0))
        return Failed(target);
    if (!MoveFileExW(LongPath(between).c_str(), LongPath(target).c_str(), 0)) {
        TStepFailure failure = Failed(target);
        MoveFileExW(LongPath(between).c_str(), LongPath(source).c_str(), 0);
        return failure;
    }
    if (control)
        ++control->doneFiles;
    return {};
}

// Gives a copied folder its source's times, once everything inside is written (writing changes them).
void KeepFolderTimes(const std::wstring &source, const std::wstring &target) {
    ui::KernelHandle from(CreateFileW(LongPath(source).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ui::KernelHandle to(CreateFileW(LongPath(target).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILETIME created, accessed, written;
    if (from.get() != INVALID_HANDLE_VALUE && to.get() != INVALID_HANDLE_VALUE &&
        GetFileTime(from.get(), &created, &accessed, &written))
        SetFileTime(to.get(), &created, &accessed, &written);
}

} // namespace

std::function<void(const std::atomic<bool> &cancel)> CopyBlockHook;

void TWorkControl::SetCurrent(const std::wstring &path) {
    std::lock_guard<std::mutex> lock(mutex_);
    current_ = path;
}

std::wstring TWorkControl::Current() {
    std::lock_guard<std::mutex> lock(mutex_);
    return current_;
}

std::function<bool(const std::wstring &path, unsigned long long &freeBytes)> FreeSpaceQuery =
    [](const std::wstring &path, unsigned long long &freeBytes) {
        ULARGE_INTEGER available{}, total{}, free{};
        // The folder itself: a folder that is another volume's mount point answers for that volume.
        std::wstring folder = path;
        while (!folder.empty() && !ItemIsFolder(folder))
            folder = ParentOf(folder);
        if (folder.empty() || !GetDiskFreeSpaceExW((LongPath(folder) + L"\\").c_str(), &available, &total, &free))
            if (!GetDiskFreeSpaceExW(VolumeOf(path).c_str(), &available, &total, &free))
                return false;
        freeBytes = available.QuadPart;
        return true;
    };

unsigned long AllocationUnitOf(const std::wstring &folder) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(VolumeOf(folder).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) ||
        sectorsPerCluster == 0 || bytesPerSector == 0)
        return 1;
    return sectorsPerCluster * bytesPerSector;
}

std::wstring VolumeOf(const std::wstring &path) {
    // The nearest folder that is there tells its volume, mount points included.
    std::wstring existing = path;
    while (!existing.empty() && AttributesOf(existing) == INVALID_FILE_ATTRIBUTES)
        existing = ParentOf(existing);
    if (!existing.empty() && existing.size() < MAX_PATH - 1) {
        wchar_t volume[MAX_PATH];
        if (GetVolumePathNameW(existing.c_str(), volume, MAX_PATH) && volume[0] != 0) {
            std::wstring root = volume;
            if (root.back() != L'\\')
                root += L'\\';
            return root;
        }
    }
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
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
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
    return IsFolder(AttributesOf(path));
}

bool ItemIsLink(const std::wstring &path) {
    return IsLink(AttributesOf(path));
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

namespace {

TStepFailure CopyEntry(const std::wstring &source, const std::wstring &target, DWORD attributes,
                       TWorkControl *control) {
    if (Cancelled(control))
        return Failed(source, ERROR_CANCELLED);
    if (IsLink(attributes))
        return CopyLink(source, target, control);
    if (!IsFolder(attributes))
        return CopyFileItem(source, target, attributes, control);
    bool made = CreateDirectoryW(LongPath(target).c_str(), nullptr) != FALSE;
    if (!made && !ItemIsFolder(target))
        return Failed(target);
    if (control)
        control->SetCurrent(source);
    TStepFailure failure;
    DWORD listed = ForEachEntry(source, [&](const WIN32_FIND_DATAW &fd) {
        failure = CopyEntry(Child(source, fd.cFileName), Child(target, fd.cFileName), fd.dwFileAttributes, control);
        return !failure;
    });
    if (!failure && listed != ERROR_SUCCESS)
        failure = {source, listed};
    if (made) {
        // A folder this copy made gets its source's attributes and times, as the shell gives them.
        SetFileAttributesW(LongPath(target).c_str(), attributes & ~FILE_ATTRIBUTE_DIRECTORY);
        KeepFolderTimes(source, target);
    }
    if (control)
        ++control->doneFiles;
    return failure;
}

} // namespace

TStepFailure CopyItem(const std::wstring &source, const std::wstring &target, TWorkControl *control) {
    DWORD attributes = AttributesOf(source);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Failed(source);
    return CopyEntry(source, target, attributes, control);
}

TStepFailure MoveItem(const std::wstring &source, const std::wstring &target, TWorkControl *control) {
    if (Cancelled(control))
        return Failed(source, ERROR_CANCELLED);
    std::wstring from = LongPath(source), to = LongPath(target);
    DWORD attributes = AttributesOf(source);
    bool link = IsLink(attributes);
    bool sameVolume = _wcsicmp(VolumeOf(source).c_str(), VolumeOf(target).c_str()) == 0;
    if (control) {
        control->SetCurrent(source);
        control->itemDone = 0;
        control->itemBytes = 0;
    }
    if (sameVolume && (!link || RenamesLinksAsLinks())) {
        if (_wcsicmp(from.c_str(), to.c_str()) == 0 && from != to && !ItemExistsExactly(target))
            return ChangeCase(source, target, control);
        if (!ItemExists(target)) {
            if (MoveFileExW(from.c_str(), to.c_str(), 0)) {
                if (control)
                    ++control->doneFiles;
                return {};
            }
            if (!IsFolder(attributes))
                return Failed(target);
        } else if (!IsFolder(attributes) && !ItemIsFolder(target)) {
            // The same volume: the name moves, nothing is copied; the replace was agreed before.
            DWORD old = AttributesOf(target);
            if (old & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesW(to.c_str(), old & ~FILE_ATTRIBUTE_READONLY);
            if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                if (control)
                    ++control->doneFiles;
                return {};
            }
            TStepFailure failure = Failed(target);
            if (old & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesW(to.c_str(), old);
            return failure;
        }
    }
    // Another volume, a link Wine would not rename as a link, or a folder into an existing one: copy
    // whole, then take the source away.
    if (TStepFailure failure = CopyItem(source, target, control))
        return failure;
    bool kept = false;
    return DeleteTree(source, control, false, kept);
}

TStepFailure DeleteItem(const std::wstring &path, TWorkControl *control) {
    bool kept = false;
    return DeleteTree(path, control, true, kept);
}

} // namespace fileops
