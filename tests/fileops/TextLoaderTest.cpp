#include <gtest/gtest.h>

#include "ViewTestFiles.h"
#include "driver/TempDir.h"
#include "fileops/TextLoader.h"
#include "ui/Text.h"

namespace {

using fileops::LoadViewBytes;
using fileops::TViewLimits;

enum class Made { Content, HeldOpen, Directory, Missing };

struct LoadCase {
    const char *behaviour;
    Made made;
    std::string content;
    TViewLimits limits;
    // The bytes shown, or the error's message with "%s" standing for the path.
    std::string shown;
    std::string error;
};

const TViewLimits kSmall{64, 5};

TEST(TextLoader, LoadsAsTheViewerShows) {
    const LoadCase cases[] = {
        {"CR, LF and CR LF each become one CR LF", Made::Content, "a\rb\nc\r\nd", kSmall, "a\r\nb\r\nc\r\nd", ""},
        {"LF followed by CR is two breaks", Made::Content, "a\n\rb", kSmall, "a\r\n\r\nb", ""},
        {"a break at the very end is kept", Made::Content, "a\r", kSmall, "a\r\n", ""},
        {"text already in CR LF is unchanged", Made::Content, "x\r\ny\r\n", kSmall, "x\r\ny\r\n", ""},
        {"a zero byte at the tenth position ends the text after nine bytes", Made::Content,
         std::string("123456789\0abc\ndef", 17), kSmall, "123456789", ""},
        {"an empty file shows nothing", Made::Content, "", kSmall, "", ""},
        {"a file exactly at the size limit loads", Made::Content, std::string(64, 'x'), kSmall, std::string(64, 'x'),
         ""},
        {"a file one byte over the size limit is refused", Made::Content, std::string(65, 'x'), kSmall, "",
         "Text exceeds memo capacity"},
        {"a file of more lines than the control takes is refused", Made::Content, "1\n2\n3\n4\n5\n6", kSmall, "",
         "Text exceeds memo capacity"},
        {"a file held open by another handle cannot be opened", Made::HeldOpen, "busy", kSmall, "",
         "Cannot open file %s"},
        {"a directory cannot be opened", Made::Directory, "", kSmall, "", "Cannot open file %s"},
        {"a vanished file cannot be opened", Made::Missing, "", kSmall, "", "Cannot open file %s"},
    };
    for (const LoadCase &c : cases) {
        SCOPED_TRACE(c.behaviour);
        testdriver::TempDir dir;
        std::wstring path = dir / L"файл; с пробелом.txt";
        if (c.made == Made::Content || c.made == Made::HeldOpen) dir.File(L"файл; с пробелом.txt", c.content);
        if (c.made == Made::Directory) path = dir.Folder(L"папка");
        HeldOpen holder(c.made == Made::HeldOpen ? path : std::wstring());
        ASSERT_EQ(holder.Holds(), c.made == Made::HeldOpen);
        std::string shown, error;
        try {
            shown = LoadViewBytes(path, c.limits);
        } catch (const fileops::EViewLoadError &e) {
            error = e.what();
        }
        std::string expectedError = c.error;
        if (size_t at = expectedError.find("%s"); at != std::string::npos)
            expectedError.replace(at, 2, ui::Narrow(path));
        EXPECT_EQ(error, expectedError);
        EXPECT_EQ(shown, c.shown);
    }
}

TEST(TextLoader, AFileOfGigabytesIsRefusedFromItsSizeAlone) {
    testdriver::TempDir dir;
    std::wstring image = SizedFile(dir / L"disk.img", 3ull << 30);
    DWORD start = GetTickCount();
    EXPECT_THROW(LoadViewBytes(image), fileops::EViewLoadError);
    // Reading 3 GB would take seconds at best and fail for want of memory in a 32-bit process.
    EXPECT_LT(GetTickCount() - start, 1000u);
    std::wstring justOver = SizedFile(dir / L"log.txt", fileops::ViewLimits().maxFileSize + 1);
    try {
        LoadViewBytes(justOver);
        ADD_FAILURE() << "a file one byte over the limit loaded";
    } catch (const fileops::EViewLoadError &e) {
        EXPECT_STREQ(e.what(), "Text exceeds memo capacity");
    }
}

TEST(TextLoader, TheDosAndWindowsSetsShowTheSameByteInTheirOwnShapes) {
    if (GetACP() != 1252 || GetOEMCP() != 437) GTEST_SKIP() << "needs the Western code pages 1252 and 437";
    const std::string bytes = "\xB0\r\n\xC4";
    EXPECT_EQ(fileops::DecodeViewBytes(bytes, CP_ACP), L"\u00B0\r\n\u00C4") << "degree sign, A with diaeresis";
    EXPECT_EQ(fileops::DecodeViewBytes(bytes, CP_OEMCP), L"\u2591\r\n\u2500") << "light shade, box line";
}

} // namespace
