// The drive box: entries by letter with a picture of the drive type, names completed in the background.
#include <gtest/gtest.h>

#include "filelist/DriveCombo.h"
#include "filelist/ShellInfo.h"
#include "driver/TestDriver.h"
#include "ui/Form.h"

namespace {

TEST(DriveEntryTextTest, NamesFollowTheDriveType) {
    struct Case {
        wchar_t letter;
        UINT type;
        const wchar_t *name;
        const wchar_t *text;
    };
    const Case cases[] = {
        {L'C', DRIVE_FIXED, L"SYSTEM", L"c: [SYSTEM]"},
        {L'd', DRIVE_CDROM, L"", L"d: []"},
        {L'r', DRIVE_RAMDISK, L"RAM", L"r: [RAM]"},
        {L'x', DRIVE_REMOTE, L"\\\\server\\share", L"x: \\\\server\\share"},
        {L'y', DRIVE_REMOTE, L"", L"y:"},
        {L'a', DRIVE_REMOVABLE, L"FLOPPY", L"a:"},
        {L'q', DRIVE_UNKNOWN, L"", L"q:"},
    };
    for (const Case &c : cases) EXPECT_EQ(filelist::DriveEntryText(c.letter, c.type, c.name), c.text) << c.text;
}

// Pictures come by type, without touching a drive: each type asks once and keeps its answer.
TEST(DriveTypeIconTest, EachTypeHasItsOwnPicture) {
    int fixed = filelist::DriveTypeIcon(DRIVE_FIXED), remote = filelist::DriveTypeIcon(DRIVE_REMOTE),
        cd = filelist::DriveTypeIcon(DRIVE_CDROM);
    EXPECT_NE(fixed, remote);
    EXPECT_NE(fixed, cd);
    EXPECT_EQ(filelist::DriveTypeIcon(DRIVE_FIXED), fixed);
}

class DriveComboTest : public testing::Test {
protected:
    void SetUp() override {
        form.CreateForm(L"Drive box test", 300, 200, false);
        box.Create(form.Handle(), 10);
    }
    int IndexOfLetter(wchar_t letter) {
        for (int i = 0; i < box.Count(); ++i)
            if (box.Item(i).rfind(std::wstring{letter, L':'}, 0) == 0) return i;
        return -1;
    }
    ui::TForm form;
    filelist::TDriveComboBox box;
};

TEST_F(DriveComboTest, ListsTheDrivesAtOnceAndTheirNamesFollow) {
    // The entries are there when the box is made; the volume name of c: arrives through the message loop.
    int c = IndexOfLetter(L'c');
    ASSERT_GE(c, 0);
    wchar_t label[MAX_PATH + 1] = {};
    ASSERT_TRUE(GetVolumeInformationW(L"c:\\", label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0));
    std::wstring expected = std::wstring(L"c: [") + label + L"]";
    EXPECT_TRUE(testdriver::PumpUntil([&] { return box.Item(c) == expected; })) << "the name of c: never came";
    EXPECT_EQ(box.Count(), __builtin_popcount(GetLogicalDrives()));
    // Completing the names leaves the current choice alone.
    box.SetDrive(L'c');
    box.BuildList();
    testdriver::PumpUntil([&] { return box.Item(c) == expected; });
    EXPECT_EQ(box.ItemIndex(), c);
}

// A box made at first use keeps the current drive while it stands in, and once made lists every drive with
// the names read before or after, the current one chosen.
TEST(DriveComboStandInTest, BoxMadeLaterHasTheDrivesTheirNamesAndTheCurrentOne) {
    wchar_t label[MAX_PATH + 1] = {};
    ASSERT_TRUE(GetVolumeInformationW(L"c:\\", label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0));
    const std::wstring expected = std::wstring(L"c: [") + label + L"]";
    for (int waitBeforeMaking : {0, 500}) {
        ui::TForm form;
        form.CreateForm(L"Drive box test", 300, 200, false);
        filelist::TDriveComboBox box;
        box.CreateOnFirstUse(form.Handle(), 10);
        box.SetDrive(L'c');
        int changes = 0;
        box.OnChange = [&] { ++changes; };
        box.SetDrive(L'q');
        box.SetDrive(L'C');
        EXPECT_EQ(box.Drive(), L'c') << waitBeforeMaking;
        EXPECT_EQ(changes, 2) << waitBeforeMaking;
        testdriver::Pump(waitBeforeMaking);
        EXPECT_FALSE(box.WindowMade()) << waitBeforeMaking;
        box.MakeWindow();
        ASSERT_EQ(box.Count(), __builtin_popcount(GetLogicalDrives())) << waitBeforeMaking;
        int c = -1;
        for (int i = 0; i < box.Count(); ++i) {
            const std::wstring item = box.Item(i);
            if (item.size() >= 2 && item[0] == L'c' && item[1] == L':') c = i;
        }
        ASSERT_GE(c, 0);
        EXPECT_TRUE(testdriver::PumpUntil([&] { return box.Item(c) == expected; }))
            << waitBeforeMaking << ": the name of c: never reached the box";
        EXPECT_EQ(box.ItemIndex(), c) << waitBeforeMaking;
        EXPECT_EQ(changes, 2) << waitBeforeMaking << ": making the box changes no drive";
    }
}

} // namespace
