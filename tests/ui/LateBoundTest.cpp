#include "ui/LateBound.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

namespace {

using NumberOfDevices = UINT(WINAPI *)();

// Found at first use: a function of a library the program does not import, or nothing when either is missing.
TEST(LateBound, FindsTheFunctionOrNothing) {
    struct Case {
        const char *what;
        const wchar_t *library;
        const char *name;
        bool found;
    };
    const Case cases[] = {
        {"a function of the sound library", L"winmm.dll", "waveOutGetNumDevs", true},
        {"a function of the version library", L"version.dll", "GetFileVersionInfoSizeW", true},
        {"a name the library lacks", L"winmm.dll", "NoSuchFunction", false},
        {"a library that is missing", L"no-such-library.dll", "waveOutGetNumDevs", false},
    };
    for (const Case &c : cases) EXPECT_EQ(ui::LateBound<NumberOfDevices>(c.library, c.name) != nullptr, c.found) << c.what;
    // What is found is the library's own function: it answers as a direct call would.
    auto count = ui::LateBound<NumberOfDevices>(L"winmm.dll", "waveOutGetNumDevs");
    ASSERT_NE(count, nullptr);
    EXPECT_LT(count(), 1000u);
}

} // namespace
