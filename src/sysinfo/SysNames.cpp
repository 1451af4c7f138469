#include "sysinfo/DriveFacts.h"
#include "sysinfo/SysFacts.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

#include "ui/LateBound.h"

namespace sysinfo {

namespace {

struct TNamedCode {
    long code;
    const wchar_t *name;
};

template <std::size_t N> std::wstring Lookup(const TNamedCode (&table)[N], long code) {
    for (const TNamedCode &entry : table)
        if (entry.code == code)
            return entry.name;
    return L"?";
}

constexpr TNamedCode ArchitectureNames[] = {{0, L"INTEL"}, {1, L"MIPS"}, {2, L"ALPHA"}, {3, L"PPC"}, {0xFFFF, L"?"}};

constexpr TNamedCode ProcessorNames[] = {{386, L"386"},     {486, L"486"},         {586, L"Pentium"},
                                         {686, L"Klamath"}, {4000, L"MIPS R4000"}, {21064, L"Alpha 21064"}};

constexpr TNamedCode PlatformNames[] = {{0, L"MS Windows 3.1x"}, {1, L"MS Windows 95"}, {2, L"MS Windows NT"}};

constexpr TNamedCode DriveTypeNames[] = {{DRIVE_REMOVABLE, L"Removable"},
                                         {DRIVE_FIXED, L"Fixed"},
                                         {DRIVE_REMOTE, L"Network = "},
                                         {DRIVE_CDROM, L"CD-ROM"},
                                         {DRIVE_RAMDISK, L"RAM"}};

// The universal (UNC) path that the drive's root stands for, or "?" when the network does not answer.
std::wstring UniversalName(wchar_t letter) {
    static const auto WNetGetUniversalNameW =
        ui::LateBound<decltype(&::WNetGetUniversalNameW)>(L"mpr.dll", "WNetGetUniversalNameW");
    if (!WNetGetUniversalNameW)
        return L"?";
    const std::wstring root = DriveRoot(letter);
    std::vector<BYTE> buffer(1024);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD result = WNetGetUniversalNameW(root.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
        if (result == NO_ERROR) {
            const auto *info = reinterpret_cast<const UNIVERSAL_NAME_INFOW *>(buffer.data());
            return info->lpUniversalName ? info->lpUniversalName : L"?";
        }
        if (result != ERROR_MORE_DATA)
            break;
        buffer.resize(size);
    }
    return L"?";
}

} // namespace

std::wstring TSysFacts::GetArchitectureName(Word code) {
    return Lookup(ArchitectureNames, code);
}

std::wstring TSysFacts::GetProcessorName(Integer code) {
    return Lookup(ProcessorNames, code);
}

std::wstring TSysFacts::GetPlatformName(Integer id) {
    return Lookup(PlatformNames, id);
}

std::wstring TSysFacts::GetDriveTypeName(wchar_t letter, Integer driveType) {
    std::wstring name = Lookup(DriveTypeNames, driveType);
    if (driveType == DRIVE_REMOTE)
        name += UniversalName(letter);
    return name;
}

} // namespace sysinfo
