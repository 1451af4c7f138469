#include "sysinfo/InfVer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

using sysinfo::TInfoVersion;

namespace {

std::wstring BesideThisProgram(const std::wstring &name) {
    std::wstring path = sysinfo::RunningExecutablePath();
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

} // namespace

TEST(InfoVersion, ReadsTheProgramsOwnTexts) {
    TInfoVersion info;
    info.ReadVersionInfo();
    const struct {
        const char *key;
        std::wstring actual, expected;
    } rows[] = {{"CompanyName", info.CompanyName(), L"Kestrune"},
                {"FileDescription", info.FileDescription(), L"Zelvor"},
                {"FileVersion", info.FileVersion(), L"1.0.0.0"},
                {"InternalName", info.InternalName(), L""},
                {"OriginalFilename", info.OriginalFilename(), L"Zelvor.exe"},
                {"ProductName", info.ProductName(), L"Zelvor"},
                {"ProductVersion", info.ProductVersion(), L"1.0.0.0"}};
    for (const auto &row : rows)
        EXPECT_EQ(row.actual, row.expected) << row.key;
    EXPECT_NE(info.LegalCopyright().find(L"Kestrune"), std::wstring::npos);

    // A second reading gives the same texts.
    info.ReadVersionInfo();
    EXPECT_EQ(info.ProductName(), L"Zelvor");
    EXPECT_EQ(info.ProductVersion(), L"1.0.0.0");
}

TEST(InfoVersion, ProgramResourceHasTheFixedPartAndOneRussianTranslation) {
    const std::wstring self = sysinfo::RunningExecutablePath();
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(self.c_str(), &ignored));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoW(self.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));

    void *value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", &value, &length));
    const auto *fixed = static_cast<const VS_FIXEDFILEINFO *>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0x1u);
    EXPECT_EQ(fixed->dwFileOS, 0x4u);
    EXPECT_EQ(fixed->dwFileType, 0x1u);

    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto *translation = static_cast<const WORD *>(value);
    EXPECT_EQ(translation[0], 0x0419);
    EXPECT_EQ(translation[1], 1251);
    EXPECT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\041904E3\\ProductName", &value, &length));
}

TEST(InfoVersion, FileWithoutVersionResourceLeavesTheTexts) {
    const std::wstring helper = BesideThisProgram(L"sysinfo_noversion.exe");
    ASSERT_NE(GetFileAttributesW(helper.c_str()), INVALID_FILE_ATTRIBUTES) << "helper program missing";

    const struct {
        const char *what;
        std::wstring path;
    } files[] = {{"program without resources", helper}, {"missing file", BesideThisProgram(L"no such file.exe")}};
    for (const auto &file : files) {
        TInfoVersion fresh;
        fresh.ReadVersionInfo(file.path);
        for (const std::wstring *text :
             {&fresh.CompanyName(), &fresh.FileDescription(), &fresh.FileVersion(), &fresh.InternalName(),
              &fresh.LegalCopyright(), &fresh.OriginalFilename(), &fresh.ProductName(), &fresh.ProductVersion()})
            EXPECT_TRUE(text->empty()) << file.what;

        TInfoVersion read;
        read.ReadVersionInfo();
        read.ReadVersionInfo(file.path);
        EXPECT_EQ(read.ProductName(), L"Zelvor") << file.what;
    }
}
