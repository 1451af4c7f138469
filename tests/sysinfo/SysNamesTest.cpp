#include "TempMachineKey.h"
#include "sysinfo/SysFacts.h"
#include "sysinfo/SysSources.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

using sysinfo::TSysFacts;

TEST(SysNames, ArchitectureNames) {
    const struct {
        TSysFacts::Word code;
        const wchar_t *name;
    } rows[] = {{0, L"INTEL"}, {1, L"MIPS"}, {2, L"ALPHA"}, {3, L"PPC"}, {0xFFFF, L"?"}, {4, L"?"}, {9, L"?"}};
    for (const auto &row : rows)
        EXPECT_EQ(TSysFacts::GetArchitectureName(row.code), row.name) << row.code;
}

TEST(SysNames, ProcessorNames) {
    const struct {
        TSysFacts::Integer code;
        const wchar_t *name;
    } rows[] = {{386, L"386"},           {486, L"486"}, {586, L"Pentium"}, {686, L"Klamath"}, {4000, L"MIPS R4000"},
                {21064, L"Alpha 21064"}, {0, L"?"},     {8664, L"?"},      {-1, L"?"}};
    for (const auto &row : rows)
        EXPECT_EQ(TSysFacts::GetProcessorName(row.code), row.name) << row.code;
}

TEST(SysNames, PlatformNames) {
    const struct {
        TSysFacts::Integer id;
        const wchar_t *name;
    } rows[] = {{0, L"MS Windows 3.1x"}, {1, L"MS Windows 95"}, {2, L"MS Windows NT"}, {3, L"?"}, {-1, L"?"}};
    for (const auto &row : rows)
        EXPECT_EQ(TSysFacts::GetPlatformName(row.id), row.name) << row.id;
}

TEST(SysNames, DriveTypeNames) {
    // C is never a network connection, so its universal name cannot be found.
    const struct {
        TSysFacts::Integer type;
        const wchar_t *name;
    } rows[] = {{2, L"Removable"}, {3, L"Fixed"}, {4, L"Network = ?"}, {5, L"CD-ROM"},
                {6, L"RAM"},       {0, L"?"},     {1, L"?"},           {7, L"?"}};
    for (const auto &row : rows)
        EXPECT_EQ(TSysFacts::GetDriveTypeName(L'C', row.type), row.name) << row.type;
}

TEST(SysSources, SoundDeviceText) {
    const struct {
        const wchar_t *product;
        std::uint32_t version;
        const wchar_t *text;
    } rows[] = {
        {L"SB16 Wave Out", 0x0104, L"SB16 Wave Out v1.4"},
        {L"Mixer", 0x0A00, L"Mixer v10.0"},
        {L"MPU-401", 0x00FF, L"MPU-401 v0.255"},
        {L"Wave", 0x12340502, L"Wave v5.2"}, // only the low word is the driver version
        {L"", 0, L" v0.0"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(sysinfo::SoundDeviceText(row.product, row.version), row.text);
}

TEST(SysSources, ByteProductKeepsEveryBit) {
    const struct {
        std::uint32_t a, b, c;
        std::int64_t product;
    } rows[] = {
        {1000, 8, 512, 4096000},
        {524287, 8, 512, 2147479552},          // just under 2 GB
        {524288, 8, 512, 2147483648},          // exactly 2 GB
        {1000000, 8, 512, 4096000000},
        {1048576, 8, 512, 4294967296},         // 4 GB exactly
        {2000000, 8, 512, 8192000000},
        {0xFFFFFFFF, 128, 4096, 2251799813160960}, // the largest count of 512 KB clusters
        {0, 8, 512, 0},
    };
    for (const auto &row : rows)
        EXPECT_EQ(sysinfo::ByteProduct(row.a, row.b, row.c), row.product) << row.a << " clusters";
}

TEST(SysSources, MachineKeyReadsTextsOnly) {
    const wchar_t *path = L"SOFTWARE\\ZelvorSysInfoTest";
    TTempMachineKey scratch(path);
    if (!scratch.Made())
        GTEST_SKIP() << "the machine's hive cannot be written here";
    const wchar_t owner[] = L"Anna Petrova";
    scratch.Set(L"RegisteredOwner", REG_SZ, owner, sizeof(owner));
    const wchar_t expand[] = L"%SystemRoot%\\x";
    scratch.Set(L"Path", REG_EXPAND_SZ, expand, sizeof(expand));
    const wchar_t unterminated[] = {L'A', L'B', L'C'};
    scratch.Set(L"Unterminated", REG_SZ, unterminated, sizeof(unterminated));
    scratch.Set(L"Empty", REG_SZ, L"", sizeof(wchar_t));
    const DWORD number = 7;
    scratch.Set(L"Number", REG_DWORD, &number, sizeof(number));

    sysinfo::TMachineKey key(path);
    ASSERT_TRUE(key.IsOpen());
    const struct {
        const wchar_t *name;
        const wchar_t *text; // nullptr: no text
    } rows[] = {{L"RegisteredOwner", L"Anna Petrova"},
                {L"Path", L"%SystemRoot%\\x"},
                {L"Unterminated", L"ABC"},
                {L"Empty", L""},
                {L"Number", nullptr},
                {L"Missing", nullptr}};
    for (const auto &row : rows) {
        const auto text = key.ReadText(row.name);
        if (row.text) {
            ASSERT_TRUE(text.has_value()) << row.name;
            EXPECT_EQ(*text, row.text);
        } else {
            EXPECT_FALSE(text.has_value()) << row.name;
        }
    }
}

TEST(SysSources, MachineKeyIsNeverCreated) {
    const wchar_t *path = L"SOFTWARE\\ZelvorNoSuchKey";
    sysinfo::TMachineKey key(path);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.ReadText(L"RegisteredOwner").has_value());
    HKEY probe = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &probe), ERROR_SUCCESS);
    if (probe)
        RegCloseKey(probe);
}
