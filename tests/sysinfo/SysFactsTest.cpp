#include "sysinfo/SysFacts.h"
#include "TempMachineKey.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>

using sysinfo::TSysFacts;

namespace {

std::uint32_t Bits(TSysFacts::Integer value) {
    return static_cast<std::uint32_t>(value);
}

std::wstring Root(wchar_t letter) {
    return std::wstring{letter, L':', L'\\'};
}

// A drive letter in use by no drive, searched from Z down.
wchar_t UnusedLetter(const std::wstring &used) {
    for (wchar_t letter = L'Z'; letter > L'C'; --letter)
        if (used.find(letter) == std::wstring::npos)
            return letter;
    return L'\0';
}

} // namespace

TEST(SysFacts, MemoryFiguresAreTheTrueByteCounts) {
    TSysFacts facts;
    MEMORYSTATUSEX now{};
    now.dwLength = sizeof(now);
    ASSERT_TRUE(GlobalMemoryStatusEx(&now));
    // Totals do not move; the free figures are checked against them, as they change between two reads.
    const struct {
        const char *figure;
        TSysFacts::Bytes value;
        DWORDLONG total;
    } figures[] = {{"miTotalPhys", facts.miTotalPhys(), now.ullTotalPhys},
                   {"miFreePhys", facts.miFreePhys(), now.ullTotalPhys},
                   {"miTotalVirtual", facts.miTotalVirtual(), now.ullTotalVirtual},
                   {"miFreeVirtual", facts.miFreeVirtual(), now.ullTotalVirtual},
                   {"miTotalPageFile", facts.miTotalPageFile(), now.ullTotalPageFile}};
    for (const auto &row : figures) {
        EXPECT_GT(row.value, 0) << row.figure;
        EXPECT_LE(static_cast<DWORDLONG>(row.value), row.total) << row.figure;
    }
    EXPECT_EQ(static_cast<DWORDLONG>(facts.miTotalPhys()), now.ullTotalPhys);
    EXPECT_EQ(static_cast<DWORDLONG>(facts.miTotalVirtual()), now.ullTotalVirtual);

    EXPECT_GE(facts.miFreeMem(), 0);
    EXPECT_LE(facts.miFreeMem(), 100);
    EXPECT_LE(std::abs(facts.miFreeMem() - (100 - static_cast<int>(now.dwMemoryLoad))), 5);

    EXPECT_GT(facts.miPageSize(), 0);
    EXPECT_GE(facts.miAllocationGranularity(), facts.miPageSize());
    EXPECT_GE(facts.cpuNumber(), 1);
    EXPECT_NE(facts.cpuActiveMask(), 0);
    EXPECT_LT(Bits(facts.osMinApplicationAddress()), Bits(facts.osMaxApplicationAddress()));
}

TEST(SysFacts, NamesScreenAndSoundDevices) {
    TSysFacts facts;
    EXPECT_FALSE(facts.osUser().empty());
    EXPECT_FALSE(facts.About().empty());
    EXPECT_GT(facts.dsScreenWidth(), 0);
    EXPECT_GT(facts.dsScreenHeight(), 0);
    EXPECT_GT(facts.dsResolution(), 0);

    // A device answers with "<name> v<major>.<minor>" or is absent and empty.
    const std::wregex deviceText(L".* v[0-9]+\\.[0-9]+");
    for (const std::wstring *text : {&facts.sdWaveOut(), &facts.sdWaveIn(), &facts.sdMIDIOut(), &facts.sdMIDIIn(),
                                     &facts.sdAUX(), &facts.sdMixer()})
        EXPECT_TRUE(text->empty() || std::regex_match(*text, deviceText));
    EXPECT_FALSE(facts.ppMouse().empty());
    EXPECT_FALSE(facts.dsDisplayDevice().empty());
}

TEST(SysFacts, AvailableDisksHoldEveryDriveInOrder) {
    TSysFacts facts;
    const std::wstring &disks = facts.diAvailableDisks();
    EXPECT_NE(disks.find(L'C'), std::wstring::npos);
    EXPECT_EQ(facts.diDiskCount(), disks.size());
    for (std::size_t i = 0; i < disks.size(); ++i) {
        EXPECT_GT(GetDriveTypeW(Root(disks[i]).c_str()), 1u) << char(disks[i]);
        if (i > 0) {
            EXPECT_LT(disks[i - 1], disks[i]);
        }
    }
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        if (disks.find(letter) == std::wstring::npos) {
            EXPECT_LE(GetDriveTypeW(Root(letter).c_str()), 1u) << char(letter);
        }
    }
}

TEST(SysFacts, CurrentDriveIsCAfterCreation) {
    TSysFacts facts;
    EXPECT_EQ(facts.diSign(), L'C');
    EXPECT_EQ(facts.diMediaType(), static_cast<TSysFacts::Integer>(GetDriveTypeW(L"C:\\")));
    EXPECT_NE(facts.diTotalSpace(), -1);
    EXPECT_NE(facts.diFileSystem(), L"?");
    EXPECT_GT(facts.diBytesPerSector(), 0);

    // The true byte count, however large the drive.
    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceW(L"C:\\", &sectors, &bytes, &freeClusters, &totalClusters));
    ULARGE_INTEGER available{}, total{}, free{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &available, &total, &free));
    EXPECT_EQ(static_cast<ULONGLONG>(facts.diTotalSpace()), total.QuadPart);
    EXPECT_GT(facts.diFreeSpace(), 0);
    EXPECT_LE(facts.diFreeSpace(), facts.diTotalSpace());
    EXPECT_EQ(facts.diTotalClusters(), static_cast<TSysFacts::Integer>(totalClusters));
}

TEST(SysFacts, WritingDiSignUpperCasesAndReadsThatDrive) {
    TSysFacts facts;
    const std::wstring disks = facts.diAvailableDisks();
    const wchar_t unused = UnusedLetter(disks);
    ASSERT_NE(unused, L'\0');

    // A letter with no drive gives the failure values; lower case is turned to upper case.
    facts.SetDiSign(static_cast<wchar_t>(unused - L'A' + L'a'));
    EXPECT_EQ(facts.diSign(), unused);
    const struct {
        const char *fact;
        std::int64_t value;
    } failed[] = {{"diTotalSpace", facts.diTotalSpace()},
                  {"diFreeSpace", facts.diFreeSpace()},
                  {"diSectorsPerCluster", facts.diSectorsPerCluster()},
                  {"diBytesPerSector", facts.diBytesPerSector()},
                  {"diTotalClusters", facts.diTotalClusters()}};
    for (const auto &row : failed)
        EXPECT_EQ(row.value, -1) << row.fact;
    EXPECT_EQ(facts.diVolumeLabel(), L"?");
    EXPECT_EQ(facts.diFileSystem(), L"?");
    EXPECT_EQ(facts.diSerialNumber(), 0);
    EXPECT_FALSE(facts.diCompressed());

    facts.SetDiSign(L'c');
    EXPECT_EQ(facts.diSign(), L'C');
    EXPECT_NE(facts.diTotalSpace(), -1);
}

TEST(SysFacts, WritingDiSignLeavesOtherFactsAndRefreshRereadsThem) {
    TSysFacts facts;
    const std::wstring printerBefore = facts.ppPrinter();
    TTempMachineKey printer(L"Enum\\Root\\printer\\0000");
    if (!printer.Made())
        GTEST_SKIP() << "the printer key exists already or cannot be made here";
    printer.SetText(L"DeviceDesc", L"Zelvor Test Printer");

    facts.SetDiSign(L'c');
    EXPECT_EQ(facts.ppPrinter(), printerBefore);

    facts.Refresh();
    EXPECT_EQ(facts.ppPrinter(), L"Zelvor Test Printer");
    EXPECT_EQ(facts.diSign(), L'C');

    // A key that has gone leaves its fact as it was; a key without the value gives "?".
    printer.Remove();
    facts.Refresh();
    EXPECT_EQ(facts.ppPrinter(), L"Zelvor Test Printer");
    TTempMachineKey bare(L"Enum\\Root\\printer\\0000");
    ASSERT_TRUE(bare.Made());
    facts.Refresh();
    EXPECT_EQ(facts.ppPrinter(), L"?");
}
