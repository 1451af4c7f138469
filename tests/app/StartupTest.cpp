// Start-up as a user meets it: the window shows before any folder is read, and each side is read exactly
// once whatever the saved settings ask for.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/SettingsCommands.h"
#include "config/SettingsTestSupport.h"
#include "filelist/ReadAhead.h"
#include "filelist/ShellInfo.h"

namespace {

using namespace settingstest;

class StartupTest : public SettingsWindowTest {
protected:
    bool Listed() {
        return form->LeftFileView.Listings() > 0 && form->RightFileView.Listings() > 0 &&
               !form->LeftFileView.Reading() && !form->RightFileView.Reading();
    }
};

TEST_F(StartupTest, EachSideIsReadOnceWhateverTheSavedSettings) {
    temp.File(L"left\\one.txt");
    temp.File(L"right\\two.txt");
    const std::wstring left = temp / L"left\\", right = temp / L"right\\";
    struct Case {
        const char *what;
        bool writeKey;
        const wchar_t *saveDir, *savePanels, *leftStyle;
        std::wstring leftDir, rightDir;
    };
    const Case cases[] = {
        {"first start without a key", false, L"", L"", L"", L"", L""},
        {"saved directories, panels not saved", true, L"True", L"False", L"vsReport", left, right},
        {"saved directories and a brief left panel", true, L"True", L"True", L"vsList", left, right},
        {"directories not saved", true, L"False", L"True", L"vsReport", left, right},
        {"a saved directory on another drive", true, L"True", L"False", L"vsReport", L"z:\\tmp\\", right},
    };
    for (const Case &c : cases) {
        RemoveSettingsKey();
        if (c.writeKey) {
            WriteDefaultKey();
            SetText(L"SaveDir", c.saveDir);
            SetText(L"SavePanels", c.savePanels);
            SetText(L"LeftPanelStyle", c.leftStyle);
            SetText(L"LeftDirectory", c.leftDir);
            SetText(L"RightDirectory", c.rightDir);
        }
        // As the program starts: the saved folders are read ahead while the window is made.
        app::ReadSavedDirectoriesAhead();
        Start();
        ASSERT_TRUE(testdriver::PumpUntil([&] { return Listed(); })) << c.what;
        testdriver::Pump(50);
        EXPECT_EQ(filelist::ClaimReadAhead(left), nullptr) << c.what;
        EXPECT_EQ(filelist::ClaimReadAhead(right), nullptr) << c.what;
        EXPECT_EQ(form->LeftFileView.Listings(), 1) << c.what;
        EXPECT_EQ(form->RightFileView.Listings(), 1) << c.what;
        if (std::wstring(c.saveDir) == L"True") {
            EXPECT_EQ(form->LeftFileView.Directory(), c.leftDir) << c.what;
            EXPECT_EQ(form->RightTitlePanel.Caption(), c.rightDir) << c.what;
        }
        if (c.rightDir == right && std::wstring(c.saveDir) == L"True") {
            EXPECT_EQ(testdriver::Captions(form->RightFileView.Handle()),
                      (std::vector<std::wstring>{L"..", L"two.txt"}))
                << c.what;
        }
        EXPECT_EQ(GetFocus(), form->LeftFileView.Handle()) << c.what;
        EXPECT_EQ(form->LeftFileView.Selected(), 0) << c.what;
        Destroy();
    }
}

// The shell's pictures wait only while both saved folders, read ahead, hold folders alone; anything else
// starts their load at once.
TEST_F(StartupTest, ShellPicturesWaitOnlyForTwoFoldersOfFolders) {
    temp.Folder(L"folders\\Sub");
    temp.File(L"files\\one.txt");
    struct Case {
        const char *what;
        bool writeKey;
        const wchar_t *saveDir;
        std::wstring right;
        bool needed;
    };
    const Case cases[] = {
        {"first start without a key", false, L"", L"", true},
        {"two folders of folders", true, L"True", temp / L"folders\\", false},
        {"a file on the right", true, L"True", temp / L"files\\", true},
        {"no right folder saved", true, L"True", L"", true},
        {"directories not saved", true, L"False", temp / L"folders\\", true},
    };
    for (const Case &c : cases) {
        RemoveSettingsKey();
        if (c.writeKey) {
            WriteDefaultKey();
            SetText(L"SaveDir", c.saveDir);
            SetText(L"LeftDirectory", temp / L"folders\\");
            SetText(L"RightDirectory", c.right);
        }
        filelist::ForgetShellPicturesNeeded();
        app::ReadSavedDirectoriesAhead();
        if (c.needed) {
            EXPECT_TRUE(testdriver::PumpUntil([] { return filelist::ShellPicturesNeeded(); }, 2000)) << c.what;
        } else {
            for (const std::wstring &dir : {temp / L"folders\\", c.right})
                ASSERT_TRUE(testdriver::PumpUntil([&] { return filelist::ReadAheadInFull(dir, SIZE_MAX); })) << c.what;
            EXPECT_FALSE(filelist::ShellPicturesNeeded()) << c.what;
        }
        filelist::DropReadAheads();
    }
    filelist::NeedShellPictures();
}

// The window is on the screen before the first folder is read; the rows follow.
TEST_F(StartupTest, WindowShowsBeforeTheListing) {
    temp.File(L"left\\one.txt");
    WriteDefaultKey();
    SetText(L"LeftDirectory", temp / L"left\\");
    Create();
    form->Show();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->LeftFileView.Listings(), 0);
    EXPECT_EQ(form->LeftTitlePanel.Caption(), temp / L"left\\");
    ASSERT_TRUE(testdriver::PumpUntil([&] { return Listed(); }));
    EXPECT_EQ(testdriver::Captions(form->LeftFileView.Handle()), (std::vector<std::wstring>{L"..", L"one.txt"}));
    EXPECT_EQ(form->LeftFileView.Selected(), 0);
}

// A small saved folder that was read ahead in full is listed before the window shows, so the window
// appears with its rows; a bigger one is listed once the window is on the screen, as is one not read ahead.
// While the shell still loads its pictures, only a folder of folders is listed before: files need the
// shell's pictures, and the window is not held back for them.
TEST_F(StartupTest, SmallFolderReadAheadShowsWithItsRows) {
    temp.File(L"small\\one.txt");
    temp.Folder(L"folders\\Sub");
    for (int i = 0; i < 2100; ++i) temp.File(L"big\\f" + std::to_wstring(i) + L".txt");
    temp.Folder(L"right");
    filelist::PrepareShellPicturesInBackground();
    filelist::NeedShellPictures();
    ASSERT_TRUE(testdriver::PumpUntil([] { return filelist::ShellPicturesReady(); }));
    using Names = std::vector<std::wstring>;
    struct Case {
        const char *what;
        std::wstring left;
        bool readAhead;
        bool picturesLoading;
        bool listedBeforeShowing;
        Names rows;
    };
    const Case cases[] = {
        {"small folder read ahead", temp / L"small\\", true, false, true, {L"..", L"one.txt"}},
        {"big folder read ahead", temp / L"big\\", true, false, false, {}},
        {"small folder not read ahead", temp / L"small\\", false, false, false, {}},
        {"folder of folders, pictures loading", temp / L"folders\\", true, true, true, {L"..", L"Sub"}},
        {"folder with a file, pictures loading", temp / L"small\\", true, true, false, {}},
    };
    for (const Case &c : cases) {
        RemoveSettingsKey();
        WriteDefaultKey();
        SetText(L"LeftDirectory", c.left);
        SetText(L"RightDirectory", temp / L"right\\");
        if (c.readAhead) {
            app::ReadSavedDirectoriesAhead();
            ASSERT_TRUE(testdriver::PumpUntil([&] { return filelist::ReadAheadInFull(c.left, SIZE_MAX); })) << c.what;
        }
        filelist::PretendShellPicturesNotLoaded(c.picturesLoading);
        Create();
        form->Show();
        filelist::PretendShellPicturesNotLoaded(false);
        EXPECT_TRUE(IsWindowVisible(form->Handle())) << c.what;
        EXPECT_EQ(form->LeftFileView.Listings(), c.listedBeforeShowing ? 1 : 0) << c.what;
        if (c.listedBeforeShowing) {
            EXPECT_EQ(testdriver::Captions(form->LeftFileView.Handle()), c.rows) << c.what;
            EXPECT_EQ(form->LeftFileView.Selected(), 0) << c.what << ": the cursor is on the first row already";
        }
        ASSERT_TRUE(testdriver::PumpUntil([&] { return Listed(); })) << c.what;
        testdriver::Pump(50);
        EXPECT_EQ(form->LeftFileView.Listings(), 1) << c.what;
        EXPECT_EQ(form->RightFileView.Listings(), 1) << c.what;
        EXPECT_EQ(form->LeftFileView.Selected(), 0) << c.what;
        EXPECT_EQ(GetFocus(), form->LeftFileView.Handle()) << c.what;
        filelist::DropReadAheads();
        Destroy();
    }
}

// A long first listing does not hold the keyboard: Tab pressed meanwhile moves to the other side while the
// rows are still coming in.
TEST_F(StartupTest, TabWorksWhileTheFirstListingFills) {
    for (int i = 0; i < 150; ++i) temp.File(L"left\\f" + std::to_wstring(i) + L".txt");
    temp.Folder(L"right");
    WriteDefaultKey();
    SetText(L"LeftDirectory", temp / L"left\\");
    SetText(L"RightDirectory", temp / L"right\\");
    Create();
    int rowsWhenRightHadFocus = -1;
    // Each row takes a while, as on a slow network drive.
    form->LeftFileView.OnFileAdd = [&](filelist::TFileList &list, int, const std::wstring &, const WIN32_FIND_DATAW &) {
        Sleep(2);
        if (rowsWhenRightHadFocus < 0 && GetFocus() == form->RightFileView.Handle())
            rowsWhenRightHadFocus = list.Count();
    };
    form->Show();
    ASSERT_EQ(GetFocus(), form->LeftFileView.Handle());
    // Both halves of the key wait in the queue behind the start of the listings, as typed-ahead keys do.
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(GetFocus(), WM_KEYUP, VK_TAB, static_cast<LPARAM>(0xC00F0001u));
    ASSERT_TRUE(testdriver::PumpUntil([&] { return Listed(); }));
    EXPECT_GT(rowsWhenRightHadFocus, 0);
    EXPECT_LT(rowsWhenRightHadFocus, 100);
    EXPECT_EQ(GetFocus(), form->RightFileView.Handle());
    EXPECT_EQ(form->LeftFileView.Count(), 151);
    EXPECT_EQ(form->LeftFileView.Listings(), 1);
}

// A letter typed into the drive box both changes the drive and confirms it: one listing.
TEST_F(StartupTest, DriveLetterReadsTheNewRootOnce) {
    Start();
    ASSERT_TRUE(testdriver::PumpUntil([&] { return Listed(); }));
    form->LeftDriveCombo.SetFocus();
    testdriver::PressKey('Z');
    testdriver::Pump(20);
    EXPECT_EQ(form->LeftFileView.Directory(), L"z:\\");
    EXPECT_EQ(form->LeftFileView.Listings(), 2);
}

} // namespace
