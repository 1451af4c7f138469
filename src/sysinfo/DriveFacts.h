#pragma once
#include <cstdint>
#include <string>

namespace sysinfo {

// What the collector knows of one drive; the failure values stand when the drive cannot be read.
struct TDriveFacts {
    std::int32_t mediaType = 0;
    std::int64_t freeSpace = -1;
    std::int64_t totalSpace = -1;
    bool compressed = false;
    std::int32_t sectorsPerCluster = -1;
    std::int32_t bytesPerSector = -1;
    std::int32_t totalClusters = -1;
    std::wstring fileSystem = L"?";
    std::int32_t serialNumber = 0;
    std::wstring volumeLabel = L"?";
};

// Reads the drive with the given letter; touches its medium, but never asks the user to insert one.
TDriveFacts ReadDriveFacts(wchar_t letter);

// The letters A to Z whose drive type is known and whose root exists, in order.
std::wstring ReadAvailableDisks();

// "X:\" for the letter.
std::wstring DriveRoot(wchar_t letter);

} // namespace sysinfo
