#include <gtest/gtest.h>

#include <climits>

#include "sysinfo/DiskInfoForm.h"
#include "sysinfo/NumberFormat.h"
#include "sysinfo/SysInfoRows.h"
#include "sysinfo/SysSources.h"

namespace {

using namespace sysinfo;

TEST(NumberFormatTest, GroupedNumbersWithTheirUnits) {
    // Drives of 3, 4 and 5 GB (clusters of 8 sectors of 512 bytes) and 2 TB show their true size.
    const std::int64_t threeGigabytes = ByteProduct(786432, 8, 512);
    const std::int64_t fourGigabytes = ByteProduct(1048576, 8, 512);
    const std::int64_t fiveGigabytes = ByteProduct(1310720, 8, 512);
    struct Case {
        std::int64_t value;
        std::wstring unit;
        std::wstring separator;
        std::wstring expected;
    } cases[] = {
        {0, L"B", L",", L"0 B"},
        {999, L"B", L",", L"999 B"},
        {1000, L"B", L",", L"1,000 B"},
        {1234567, L"B", L",", L"1,234,567 B"},
        {-1, L"B", L",", L"-1 B"},
        {-999, L"B", L",", L"-999 B"},
        {-1000, L"B", L",", L"-1,000 B"},
        {INT32_MAX, L"B", L",", L"2,147,483,647 B"},
        {INT32_MIN, L"B", L",", L"-2,147,483,648 B"},
        {threeGigabytes, L"B", L",", L"3,221,225,472 B"},
        {fourGigabytes, L"B", L",", L"4,294,967,296 B"},
        {fiveGigabytes, L"B", L",", L"5,368,709,120 B"},
        {2199023255552, L"\u0411", L",", L"2,199,023,255,552 \u0411"},
        {INT64_MAX, L"B", L",", L"9,223,372,036,854,775,807 B"},
        {INT64_MIN, L"B", L",", L"-9,223,372,036,854,775,808 B"},
        {1000, L"\u0411", L",", L"1,000 \u0411"},
        {-1, L"\u0411", L",", L"-1 \u0411"},
        {57, L"%", L",", L"57 %"},
        {100, L"%", L",", L"100 %"},
        {4096, L"", L",", L"4,096 "},
        {1234567, L"B", L"\u00A0", L"1\u00A0234\u00A0567 B"},
        {1234567, L"B", L".", L"1.234.567 B"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatWithUnit(c.value, c.unit, c.separator), c.expected) << c.value << " " << c.expected.size();
}

TEST(NumberFormatTest, DecimalAndHexadecimalTexts) {
    EXPECT_EQ(FormatDecimal(0), L"0");
    EXPECT_EQ(FormatDecimal(1234567), L"1234567");
    EXPECT_EQ(FormatDecimal(-5), L"-5");
    struct Case {
        std::int32_t value;
        int digits;
        std::wstring expected;
    } cases[] = {
        {0, 16, L"0x0000000000000000"},
        {0x1234ABCD, 16, L"0x000000001234ABCD"},
        {0x00C0FFEE, 16, L"0x0000000000C0FFEE"},
        // A serial number with the top bit set is its 32-bit pattern, not a negative number.
        {-1, 16, L"0x00000000FFFFFFFF"},
        {static_cast<std::int32_t>(0x8A3F0001u), 16, L"0x000000008A3F0001"},
        {0x10000, 32, L"0x00000000000000000000000000010000"},
        {0x7FFEFFFF, 32, L"0x0000000000000000000000007FFEFFFF"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatHex(c.value, c.digits), c.expected);
}

TEST(NumberFormatTest, TheLocaleGivesTheThousandsSeparator) {
    wchar_t separator[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    EXPECT_EQ(FormatWithUnit(1234567, L"B"), std::wstring(L"1") + separator + L"234" + separator + L"567 B");
}

TEST(NumberFormatTest, CaptionsOfDrives) {
    EXPECT_EQ(DiskGroupCaption(L"Fixed", L'C', L"NTFS"), L"Fixed C: (NTFS)");
    EXPECT_EQ(DiskGroupCaption(L"?", L'A', L"?"), L"? A: (?)");
    EXPECT_EQ(DiskGroupCaption(L"Network = \\\\srv\\share", L'X', L"NTFS"), L"Network = \\\\srv\\share X: (NTFS)");
    EXPECT_EQ(DiskNodeText(L'C', L"SYSTEM", L"Fixed"), L"C: [SYSTEM]...Fixed");
    EXPECT_EQ(DiskNodeText(L'D', L"", L"CD-ROM"), L"D: []...CD-ROM");
    EXPECT_TRUE(IsDiskNode(L"D: []...CD-ROM"));
    EXPECT_FALSE(IsDiskNode(L"Disks"));
}

} // namespace
