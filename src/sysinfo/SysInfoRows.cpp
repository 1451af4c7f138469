#include "sysinfo/SysInfoRows.h"

#include <windows.h>

#include <algorithm>

#include "sysinfo/NumberFormat.h"

namespace sysinfo {

namespace {

using Rows = std::vector<TInfoRow>;

std::wstring Bytes(std::int64_t value) {
    return FormatWithUnit(value, kUnitBytes);
}
std::wstring Count(std::int32_t value) {
    return FormatWithUnit(value, L"");
}

Rows ComputerRows(const TSysFacts &f) {
    return {{L"Name", f.uiComputer()}, {L"Owner", f.uiOwner()}, {L"Organization", f.uiOrganization()}};
}

Rows CpuRows(const TSysFacts &f) {
    return {{L"Number of Processors", FormatDecimal(f.cpuNumber())},
            {L"Active Processor Mask", FormatDecimal(f.cpuActiveMask())},
            {L"Architecture", TSysFacts::GetArchitectureName(f.cpuArchitecture())},
            {L"Type", TSysFacts::GetProcessorName(f.cpuType())},
            {L"Level", FormatDecimal(f.cpuLevel())},
            {L"Revision", FormatDecimal(f.cpuRevision())},
            {},
            {L"Vendor", f.cpuVendor()},
            {L"Vendor Identifier", f.cpuVendorID()}};
}

Rows MemoryRows(const TSysFacts &f) {
    return {{L"Free", FormatWithUnit(f.miFreeMem(), kUnitPercent)},
            {},
            {L"Total Physical", Bytes(f.miTotalPhys())},
            {L"Available Physical", Bytes(f.miFreePhys())},
            {},
            {L"Total Page File", Bytes(f.miTotalPageFile())},
            {L"Available Page File", Bytes(f.miFreePageFile())},
            {},
            {L"Total Virtual", Bytes(f.miTotalVirtual())},
            {L"Available Virtual", Bytes(f.miFreeVirtual())},
            {},
            {L"Page Size", Bytes(f.miPageSize())},
            {L"Allocation Granularity", Bytes(f.miAllocationGranularity())}};
}

Rows DisksRows(const TSysFacts &f) {
    return {{L"Number", Count(f.diDiskCount())}, {L"Available Signs", f.diAvailableDisks()}};
}

Rows DiskRows(const TSysFacts &f) {
    return {{L"File System", f.diFileSystem()},
            {L"Serial Number", FormatHex(f.diSerialNumber(), 16)},
            {},
            {L"Compressed", f.diCompressed() ? L"Yes" : L"No"},
            {L"Total Space", Bytes(f.diTotalSpace())},
            {L"Free Space", Bytes(f.diFreeSpace())},
            {L"Total Clusters", Count(f.diTotalClusters())},
            {L"Sectors Per Cluster", Count(f.diSectorsPerCluster())},
            {L"Bytes Per Sector", Count(f.diBytesPerSector())}};
}

Rows DisplayRows(const TSysFacts &f, std::size_t fontCount) {
    return {{L"Description", f.dsDisplayDevice()},
            {},
            {L"Screen Width", FormatDecimal(f.dsScreenWidth())},
            {L"Screen Height", FormatDecimal(f.dsScreenHeight())},
            {L"Color Resolution", FormatDecimal(f.dsResolution()) + L" bit"},
            {L"Font Count", FormatDecimal(static_cast<std::int32_t>(fontCount))}};
}

Rows SoundRows(const TSysFacts &f) {
    return {{L"Description", f.sdSoundDevice()},
            {},
            {L"Wave In", f.sdWaveIn()},
            {L"Wave Out", f.sdWaveOut()},
            {L"MIDI In", f.sdMIDIIn()},
            {L"MIDI Out", f.sdMIDIOut()},
            {L"AUX", f.sdAUX()},
            {L"Mixer", f.sdMixer()}};
}

Rows OperatingSystemRows(const TSysFacts &f) {
    std::wstring version = f.osVersionName() + L" " + FormatDecimal(f.osMajorVersion()) + L"." +
                           FormatDecimal(f.osMinorVersion()) + L"." + FormatDecimal(f.osBuildNumber());
    return {{L"Platform", TSysFacts::GetPlatformName(f.osPlatformId())},
            {L"Version", version},
            {L"CSD Version", f.osCSDVersion()},
            {L"User", f.osUser()},
            {L"Product ID", f.osSerial()},
            {},
            {L"Minimum Application Address", FormatHex(f.osMinApplicationAddress(), 32)},
            {L"Maximum Application Address", FormatHex(f.osMaxApplicationAddress(), 32)}};
}

int CALLBACK AddFamily(const LOGFONTW *font, const TEXTMETRICW *, DWORD, LPARAM list) {
    reinterpret_cast<std::vector<std::wstring> *>(list)->push_back(font->lfFaceName);
    return 1;
}

bool LessIgnoringCase(const std::wstring &a, const std::wstring &b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
}

} // namespace

std::wstring DiskNodeText(wchar_t letter, const std::wstring &volumeLabel, const std::wstring &typeName) {
    return std::wstring(1, letter) + L": [" + volumeLabel + L"]..." + typeName;
}

bool IsDiskNode(const std::wstring &nodeText) {
    return nodeText.find(L'[') != std::wstring::npos;
}

TCategoryRows CategoryRows(TSysFacts &facts, const std::wstring &nodeText, const std::vector<std::wstring> &fonts) {
    TCategoryRows result;
    if (nodeText == L"Computer")
        result.rows = ComputerRows(facts);
    else if (nodeText == L"CPU")
        result.rows = CpuRows(facts);
    else if (nodeText == L"Memory")
        result.rows = MemoryRows(facts);
    else if (nodeText == L"Disks")
        result.rows = DisksRows(facts);
    else if (nodeText == L"Display")
        result.rows = DisplayRows(facts, fonts.size());
    else if (nodeText == L"Installed Fonts") {
        result.firstColumn = L"Font Name";
        result.secondColumn.clear();
        for (const std::wstring &font : fonts)
            result.rows.push_back({font, L""});
    } else if (nodeText == L"Monitor")
        result.rows = {{L"Description", facts.ppMonitor()}};
    else if (nodeText == L"Sound Device") {
        result.rows = SoundRows(facts);
        // Only a key without the description hides the rows; the devices may answer without one.
        result.success = facts.sdSoundDevice() != L"?";
    } else if (nodeText == L"Mouse")
        result.rows = {{L"Description", facts.ppMouse()}};
    else if (nodeText == L"Printer")
        result.rows = {{L"Description", facts.ppPrinter()}};
    else if (nodeText == L"Operating System")
        result.rows = OperatingSystemRows(facts);
    else if (IsDiskNode(nodeText)) {
        facts.SetDiSign(nodeText[0]);
        result.rows = DiskRows(facts);
        result.success = facts.diTotalSpace() != -1;
    }
    return result;
}

std::vector<std::wstring> ScreenFontNames() {
    std::vector<std::wstring> names{L"Default"};
    HDC screen = GetDC(nullptr);
    if (screen) {
        LOGFONTW all{};
        all.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExW(screen, &all, AddFamily, reinterpret_cast<LPARAM>(&names), 0);
        ReleaseDC(nullptr, screen);
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    // A family comes once for each character set it covers; the list names it once.
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::wstring &a, const std::wstring &b) {
                                return !LessIgnoringCase(a, b) && !LessIgnoringCase(b, a);
                            }),
                names.end());
    return names;
}

std::wstring DateTimeText() {
    wchar_t date[80] = {}, time[80] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, ARRAYSIZE(date));
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, ARRAYSIZE(time));
    return std::wstring(date) + L" " + time;
}

} // namespace sysinfo
