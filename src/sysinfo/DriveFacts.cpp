#include "sysinfo/DriveFacts.h"
#include "sysinfo/SysSources.h"

#include <windows.h>

namespace sysinfo {

namespace {

// Keeps the system from showing its "insert a disk" box while a drive without a medium is asked.
class TQuietErrors {
public:
    TQuietErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {
        SetErrorMode(previous_ | SEM_FAILCRITICALERRORS);
    }
    ~TQuietErrors() { SetErrorMode(previous_); }
    TQuietErrors(const TQuietErrors &) = delete;
    TQuietErrors &operator=(const TQuietErrors &) = delete;

private:
    UINT previous_;
};

} // namespace

std::wstring DriveRoot(wchar_t letter) {
    return std::wstring{letter, L':', L'\\'};
}

TDriveFacts ReadDriveFacts(wchar_t letter) {
    TQuietErrors quiet;
    const std::wstring root = DriveRoot(letter);
    TDriveFacts facts;
    facts.mediaType = static_cast<std::int32_t>(GetDriveTypeW(root.c_str()));

    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return facts;
    facts.sectorsPerCluster = static_cast<std::int32_t>(sectorsPerCluster);
    facts.bytesPerSector = static_cast<std::int32_t>(bytesPerSector);
    facts.totalClusters = static_cast<std::int32_t>(totalClusters);
    // The byte counts in full: the cluster figures of older systems stop at 2 GB, the extended query does not.
    ULARGE_INTEGER available{}, total{}, free{};
    if (GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free)) {
        facts.totalSpace = static_cast<std::int64_t>(total.QuadPart);
        facts.freeSpace = static_cast<std::int64_t>(free.QuadPart);
    } else {
        facts.totalSpace = ByteProduct(totalClusters, sectorsPerCluster, bytesPerSector);
        facts.freeSpace = ByteProduct(freeClusters, sectorsPerCluster, bytesPerSector);
    }

    // Room for the longest label (32 characters on NTFS) and file system name.
    wchar_t label[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    if (GetVolumeInformationW(root.c_str(), label, ARRAYSIZE(label), &serial, &maxComponent, &flags, fileSystem,
                              ARRAYSIZE(fileSystem))) {
        facts.compressed = (flags & FS_VOL_IS_COMPRESSED) != 0;
        facts.fileSystem = fileSystem;
        facts.serialNumber = static_cast<std::int32_t>(serial);
        facts.volumeLabel = label;
    }
    return facts;
}

std::wstring ReadAvailableDisks() {
    std::wstring letters;
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        // 0: the type cannot be determined; 1: there is no such root directory.
        if (GetDriveTypeW(DriveRoot(letter).c_str()) > 1)
            letters += letter;
    }
    return letters;
}

} // namespace sysinfo
