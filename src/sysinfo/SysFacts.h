#pragma once
#include <cstdint>
#include <string>

namespace sysinfo {

// Facts about the machine: user and computer, processor, operating system, display, sound devices,
// peripherals, memory and drives. Collected on creation and on Refresh; only the current drive (diSign)
// can be re-read alone. A missing fact reads "?", ".Default", the empty text or -1, never an error.
// Memory and drive sizes are 64-bit byte counts: machines and drives pass 2 and 4 GB.
class TSysFacts {
public:
    using Word = std::uint16_t;
    using Integer = std::int32_t;
    using Bytes = std::int64_t;

    // Selects drive C and collects every fact.
    TSysFacts();

    // Collects every fact again.
    void Refresh();

    // Name tables; codes outside them give "?".
    static std::wstring GetArchitectureName(Word code);
    static std::wstring GetProcessorName(Integer code);
    static std::wstring GetPlatformName(Integer id);
    // 2 "Removable", 3 "Fixed", 4 "Network = " and the drive's universal (UNC) path, 5 "CD-ROM", 6 "RAM".
    static std::wstring GetDriveTypeName(wchar_t letter, Integer driveType);

    const std::wstring &About() const { return about_; }

    const std::wstring &uiOrganization() const { return uiOrganization_; }
    const std::wstring &uiOwner() const { return uiOwner_; }
    const std::wstring &uiComputer() const { return uiComputer_; }

    Word cpuArchitecture() const { return cpuArchitecture_; }
    Integer cpuType() const { return cpuType_; }
    Integer cpuActiveMask() const { return cpuActiveMask_; }
    Integer cpuNumber() const { return cpuNumber_; }
    Word cpuLevel() const { return cpuLevel_; }
    Word cpuRevision() const { return cpuRevision_; }
    const std::wstring &cpuVendor() const { return cpuVendor_; }
    const std::wstring &cpuVendorID() const { return cpuVendorID_; }

    Integer osMajorVersion() const { return osMajorVersion_; }
    Integer osMinorVersion() const { return osMinorVersion_; }
    Word osBuildNumber() const { return osBuildNumber_; }
    Integer osPlatformId() const { return osPlatformId_; }
    const std::wstring &osCSDVersion() const { return osCSDVersion_; }
    Integer osMinApplicationAddress() const { return osMinApplicationAddress_; }
    Integer osMaxApplicationAddress() const { return osMaxApplicationAddress_; }
    const std::wstring &osVersionName() const { return osVersionName_; }
    const std::wstring &osUser() const { return osUser_; }
    const std::wstring &osSerial() const { return osSerial_; }

    const std::wstring &dsDisplayDevice() const { return dsDisplayDevice_; }
    Integer dsScreenWidth() const { return dsScreenWidth_; }
    Integer dsScreenHeight() const { return dsScreenHeight_; }
    Integer dsResolution() const { return dsResolution_; }

    const std::wstring &sdSoundDevice() const { return sdSoundDevice_; }
    const std::wstring &sdWaveIn() const { return sdWaveIn_; }
    const std::wstring &sdWaveOut() const { return sdWaveOut_; }
    const std::wstring &sdMIDIIn() const { return sdMIDIIn_; }
    const std::wstring &sdMIDIOut() const { return sdMIDIOut_; }
    const std::wstring &sdAUX() const { return sdAUX_; }
    const std::wstring &sdMixer() const { return sdMixer_; }

    const std::wstring &ppMouse() const { return ppMouse_; }
    const std::wstring &ppPrinter() const { return ppPrinter_; }
    const std::wstring &ppMonitor() const { return ppMonitor_; }

    Bytes miTotalPhys() const { return miTotalPhys_; }
    Bytes miFreePhys() const { return miFreePhys_; }
    Bytes miTotalVirtual() const { return miTotalVirtual_; }
    Bytes miFreeVirtual() const { return miFreeVirtual_; }
    Bytes miTotalPageFile() const { return miTotalPageFile_; }
    Bytes miFreePageFile() const { return miFreePageFile_; }
    Integer miFreeMem() const { return miFreeMem_; }
    Integer miPageSize() const { return miPageSize_; }
    Integer miAllocationGranularity() const { return miAllocationGranularity_; }

    Word diDiskCount() const { return diDiskCount_; }
    wchar_t diSign() const { return diSign_; }
    // Upper-cases the letter, makes it the current drive and re-reads that drive's facts, nothing else.
    void SetDiSign(wchar_t letter);
    Bytes diFreeSpace() const { return diFreeSpace_; }
    Bytes diTotalSpace() const { return diTotalSpace_; }
    bool diCompressed() const { return diCompressed_; }
    Integer diSectorsPerCluster() const { return diSectorsPerCluster_; }
    Integer diBytesPerSector() const { return diBytesPerSector_; }
    Integer diTotalClusters() const { return diTotalClusters_; }
    const std::wstring &diFileSystem() const { return diFileSystem_; }
    Integer diSerialNumber() const { return diSerialNumber_; }
    const std::wstring &diVolumeLabel() const { return diVolumeLabel_; }
    Integer diMediaType() const { return diMediaType_; }
    const std::wstring &diAvailableDisks() const { return diAvailableDisks_; }

private:
    void Collect();
    void ReadMemory();
    void ReadSystemInfo();
    void ReadVersion();
    void ReadNames();
    void ReadScreen();
    void ReadSound();
    void ReadRegistry();
    void ReadIniFile();
    void ReadDrives();
    void ReadCurrentDrive();

    std::wstring about_;
    std::wstring uiOrganization_, uiOwner_, uiComputer_;
    Word cpuArchitecture_ = 0;
    Integer cpuType_ = 0, cpuActiveMask_ = 0, cpuNumber_ = 0;
    Word cpuLevel_ = 0, cpuRevision_ = 0;
    std::wstring cpuVendor_, cpuVendorID_;
    Integer osMajorVersion_ = 0, osMinorVersion_ = 0;
    Word osBuildNumber_ = 0;
    Integer osPlatformId_ = 0;
    std::wstring osCSDVersion_;
    Integer osMinApplicationAddress_ = 0, osMaxApplicationAddress_ = 0;
    std::wstring osVersionName_, osUser_, osSerial_;
    std::wstring dsDisplayDevice_;
    Integer dsScreenWidth_ = 0, dsScreenHeight_ = 0, dsResolution_ = 0;
    std::wstring sdSoundDevice_, sdWaveIn_, sdWaveOut_, sdMIDIIn_, sdMIDIOut_, sdAUX_, sdMixer_;
    std::wstring ppMouse_, ppPrinter_, ppMonitor_;
    Bytes miTotalPhys_ = 0, miFreePhys_ = 0, miTotalVirtual_ = 0, miFreeVirtual_ = 0;
    Bytes miTotalPageFile_ = 0, miFreePageFile_ = 0;
    Integer miFreeMem_ = 0, miPageSize_ = 0;
    Integer miAllocationGranularity_ = 0;
    Word diDiskCount_ = 0;
    wchar_t diSign_ = L'\0';
    Bytes diFreeSpace_ = 0, diTotalSpace_ = 0;
    bool diCompressed_ = false;
    Integer diSectorsPerCluster_ = 0, diBytesPerSector_ = 0, diTotalClusters_ = 0;
    std::wstring diFileSystem_;
    Integer diSerialNumber_ = 0;
    std::wstring diVolumeLabel_;
    Integer diMediaType_ = 0;
    std::wstring diAvailableDisks_;
};

} // namespace sysinfo
