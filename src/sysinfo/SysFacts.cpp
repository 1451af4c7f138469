#include "sysinfo/SysFacts.h"
#include "sysinfo/DriveFacts.h"
#include "sysinfo/SysSources.h"

#include <windows.h>

#include <cwchar>

#include "ui/GdiScopes.h"

namespace sysinfo {

namespace {

// The low 32 bits, read as signed: the width every count of this component has.
TSysFacts::Integer Low32(std::uint64_t value) {
    return static_cast<TSysFacts::Integer>(static_cast<std::uint32_t>(value));
}

TSysFacts::Integer Low32(const void *address) {
    return Low32(reinterpret_cast<std::uintptr_t>(address));
}

// Names up to 256 characters: a short buffer would turn a long name into a failure.
constexpr DWORD NameBufferSize = 257;

} // namespace

TSysFacts::TSysFacts()
    : about_(L"TSysFacts collects facts about this computer: its user and name, processor, operating system, "
             L"display, sound devices, peripherals, memory and drives."),
      diSign_(L'C') {
    Collect();
}

void TSysFacts::Refresh() {
    Collect();
}

void TSysFacts::SetDiSign(wchar_t letter) {
    diSign_ = (letter >= L'a' && letter <= L'z') ? static_cast<wchar_t>(letter - L'a' + L'A') : letter;
    ReadCurrentDrive();
}

void TSysFacts::Collect() {
    ReadMemory();
    ReadSystemInfo();
    ReadVersion();
    ReadNames();
    ReadScreen();
    ReadSound();
    ReadRegistry();
    ReadIniFile();
    ReadDrives();
    ReadCurrentDrive();
}

void TSysFacts::ReadMemory() {
    // The extended status: the plain one stops at 2 GB (4 GB on some systems) and says so nowhere.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return;
    miFreeMem_ = 100 - static_cast<Integer>(status.dwMemoryLoad);
    miTotalPhys_ = static_cast<Bytes>(status.ullTotalPhys);
    miFreePhys_ = static_cast<Bytes>(status.ullAvailPhys);
    miTotalPageFile_ = static_cast<Bytes>(status.ullTotalPageFile);
    miFreePageFile_ = static_cast<Bytes>(status.ullAvailPageFile);
    miTotalVirtual_ = static_cast<Bytes>(status.ullTotalVirtual);
    miFreeVirtual_ = static_cast<Bytes>(status.ullAvailVirtual);
}

void TSysFacts::ReadSystemInfo() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    cpuArchitecture_ = info.wProcessorArchitecture;
    miPageSize_ = Low32(info.dwPageSize);
    osMinApplicationAddress_ = Low32(info.lpMinimumApplicationAddress);
    osMaxApplicationAddress_ = Low32(info.lpMaximumApplicationAddress);
    cpuActiveMask_ = Low32(info.dwActiveProcessorMask);
    cpuNumber_ = Low32(info.dwNumberOfProcessors);
    cpuType_ = Low32(info.dwProcessorType);
    miAllocationGranularity_ = Low32(info.dwAllocationGranularity);
    cpuLevel_ = info.wProcessorLevel;
    cpuRevision_ = info.wProcessorRevision;
}

void TSysFacts::ReadVersion() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version))
        return;
    osMajorVersion_ = Low32(version.dwMajorVersion);
    osMinorVersion_ = Low32(version.dwMinorVersion);
    osBuildNumber_ = LOWORD(version.dwBuildNumber);
    osPlatformId_ = Low32(version.dwPlatformId);
    osCSDVersion_.assign(version.szCSDVersion, wcsnlen(version.szCSDVersion, ARRAYSIZE(version.szCSDVersion)));
}

void TSysFacts::ReadNames() {
    wchar_t user[NameBufferSize] = {};
    DWORD size = NameBufferSize;
    osUser_ = (GetUserNameW(user, &size) && user[0] != L'\0') ? user : L".Default";

    wchar_t computer[NameBufferSize] = {};
    size = NameBufferSize;
    uiComputer_ = GetComputerNameW(computer, &size) ? computer : L"";
}

void TSysFacts::ReadScreen() {
    ui::TWindowDC screen(nullptr);
    auto caps = [&screen](int index) -> Integer { return screen.Get() ? GetDeviceCaps(screen.Get(), index) : 0; };
    dsScreenWidth_ = caps(HORZRES);
    dsScreenHeight_ = caps(VERTRES);
    dsResolution_ = caps(BITSPIXEL);
}

void TSysFacts::ReadSound() {
    TSoundDevices devices = ReadSoundDevices();
    sdWaveOut_ = std::move(devices.waveOut);
    sdWaveIn_ = std::move(devices.waveIn);
    sdMIDIOut_ = std::move(devices.midiOut);
    sdMIDIIn_ = std::move(devices.midiIn);
    sdAUX_ = std::move(devices.aux);
    sdMixer_ = std::move(devices.mixer);
}

void TSysFacts::ReadRegistry() {
    // A key that does not open leaves its facts as they were; a value it lacks reads "?".
    auto text = [](const TMachineKey &key, const wchar_t *name) { return key.ReadText(name).value_or(L"?"); };

    if (TMachineKey key(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion"); key.IsOpen()) {
        uiOrganization_ = text(key, L"RegisteredOrganization");
        uiOwner_ = text(key, L"RegisteredOwner");
        osVersionName_ = text(key, L"Version");
        osSerial_ = text(key, L"ProductID");
    }
    if (TMachineKey key(L"hardware\\DESCRIPTION\\System\\CentralProcessor\\0"); key.IsOpen()) {
        cpuVendor_ = text(key, L"VendorIdentifier");
        cpuVendorID_ = text(key, L"Identifier");
    }
    if (TMachineKey key(L"System\\CurrentControlSet\\Services\\Class\\MEDIA\\0000"); key.IsOpen())
        sdSoundDevice_ = text(key, L"DriverDesc");
    if (TMachineKey key(L"Enum\\Root\\printer\\0000"); key.IsOpen())
        ppPrinter_ = text(key, L"DeviceDesc");
    if (TMachineKey key(L"Enum\\Monitor\\Default_Monitor\\0001"); key.IsOpen())
        ppMonitor_ = text(key, L"DeviceDesc");
}

void TSysFacts::ReadIniFile() {
    ppMouse_ = ReadSystemIni(L"boot.description", L"mouse.drv", L"?");
    dsDisplayDevice_ = ReadSystemIni(L"boot.description", L"display.drv", L"?");
}

void TSysFacts::ReadDrives() {
    diAvailableDisks_ = ReadAvailableDisks();
    diDiskCount_ = static_cast<Word>(diAvailableDisks_.size());
}

void TSysFacts::ReadCurrentDrive() {
    TDriveFacts facts = ReadDriveFacts(diSign_);
    diMediaType_ = facts.mediaType;
    diCompressed_ = facts.compressed;
    diTotalSpace_ = facts.totalSpace;
    diFreeSpace_ = facts.freeSpace;
    diSectorsPerCluster_ = facts.sectorsPerCluster;
    diBytesPerSector_ = facts.bytesPerSector;
    diTotalClusters_ = facts.totalClusters;
    diFileSystem_ = std::move(facts.fileSystem);
    diSerialNumber_ = facts.serialNumber;
    diVolumeLabel_ = std::move(facts.volumeLabel);
}

} // namespace sysinfo
