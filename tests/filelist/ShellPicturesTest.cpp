#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "filelist/FileList.h"
#include "filelist/ShellInfo.h"
#include "ui/Form.h"
#include "ui/Handles.h"

using namespace filelist;
using testdriver::TempDir;

namespace {

bool AllOneColour(const std::vector<DWORD> &pixels) {
    for (DWORD p : pixels)
        if (p != pixels.front()) return false;
    return true;
}

// The quick pictures stand for the shell's own until it has loaded them: a person must see no change
// when one list takes the other's place.
TEST(QuickPictures, AreTheShellsOwnPictures) {
    struct Case {
        const char *what;
        int quick;
        int shell;
    };
    const Case cases[] = {
        {"folder", QuickFolderPicture(), FolderIcon()},
        {"fixed drive", QuickDriveTypePicture(DRIVE_FIXED), DriveTypeIcon(DRIVE_FIXED)},
        {"removable drive", QuickDriveTypePicture(DRIVE_REMOVABLE), DriveTypeIcon(DRIVE_REMOVABLE)},
        {"network drive", QuickDriveTypePicture(DRIVE_REMOTE), DriveTypeIcon(DRIVE_REMOTE)},
        {"CD drive", QuickDriveTypePicture(DRIVE_CDROM), DriveTypeIcon(DRIVE_CDROM)},
        {"RAM disk", QuickDriveTypePicture(DRIVE_RAMDISK), DriveTypeIcon(DRIVE_RAMDISK)},
    };
    ASSERT_NE(QuickPictureList(), nullptr);
    for (const Case &c : cases) {
        ASSERT_GE(c.quick, 0) << c.what;
        std::vector<DWORD> quick = testdriver::ImagePixels(QuickPictureList(), c.quick);
        EXPECT_FALSE(AllOneColour(quick)) << c.what << ": a picture is drawn";
        EXPECT_EQ(quick, testdriver::ImagePixels(SystemImageList(true), c.shell)) << c.what;
    }
    // Asked again, a picture is not added twice.
    EXPECT_EQ(QuickFolderPicture(), cases[0].quick);
    EXPECT_EQ(QuickDriveTypePicture(DRIVE_FIXED), cases[1].quick);
}

class ShellPicturesListTest : public testing::Test {
protected:
    void SetUp() override {
        form.CreateForm(L"Shell pictures test", 600, 400, false);
        ShowWindow(form.Handle(), SW_SHOWNA);
        MakeList();
    }
    void TearDown() override { PretendShellPicturesNotLoaded(false); }

    // A list that has shown no pictures yet.
    void MakeList() {
        list.reset();
        list = std::make_unique<TFileList>();
        list->Create(form.Handle(), 10);
        list->SetBounds(0, 0, 580, 360);
        list->SetFileTypes(kAllFileTypes);
    }
    int ImageOf(int row) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageW(list->Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    HIMAGELIST Attached() { return ListView_GetImageList(list->Handle(), LVSIL_SMALL); }

    ui::TForm form;
    std::unique_ptr<TFileList> list;
    TempDir dir;
};

// While the shell loads its lists, folders are shown at once with the quick picture; the first file
// waits for the shell's lists, and from then on every row uses them.
TEST_F(ShellPicturesListTest, FoldersWaitForNothingFilesTakeTheShellsLists) {
    dir.Folder(L"folders\\Sub one");
    dir.Folder(L"folders\\Sub two");
    dir.Folder(L"mixed\\Sub");
    dir.File(L"mixed\\notes.txt", "x");
    SHFILEINFOW text{};
    SHGetFileInfoW(L"x.txt", FILE_ATTRIBUTE_NORMAL, &text, sizeof text,
                   SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    struct Case {
        const char *what;
        const wchar_t *folder;
        bool loading;
        bool quick; // the rows are shown with the quick list
    };
    const Case cases[] = {
        {"folders only, while loading", L"folders\\", true, true},
        {"folders only, loaded", L"folders\\", false, false},
        {"a file among folders, while loading", L"mixed\\", true, false},
    };
    for (const Case &c : cases) {
        PretendShellPicturesNotLoaded(c.loading);
        MakeList();
        list->SetDirectory(dir / c.folder);
        PretendShellPicturesNotLoaded(false);
        ASSERT_GE(list->Count(), 2) << c.what;
        EXPECT_EQ(Attached(), c.quick ? QuickPictureList() : SystemImageList(true)) << c.what;
        int folder = c.quick ? QuickFolderPicture() : FolderIcon();
        for (int row = 0; row < list->Count(); ++row) {
            int expected = list->IsFolder(row) ? folder : text.iIcon;
            EXPECT_EQ(ImageOf(row), expected) << c.what << ", row " << row;
        }
        EXPECT_EQ(testdriver::ReadRows(list->Handle())[0].caption, L"..") << c.what;
    }
}

// A list shown with the quick pictures takes the shell's at its next listing once they are loaded.
TEST_F(ShellPicturesListTest, QuickPicturesLastUntilTheNextListing) {
    dir.Folder(L"a\\b");
    PretendShellPicturesNotLoaded(true);
    MakeList();
    list->SetDirectory(dir / L"a\\");
    EXPECT_EQ(Attached(), QuickPictureList());
    list->Reread();
    EXPECT_EQ(Attached(), QuickPictureList()) << "still loading";
    PretendShellPicturesNotLoaded(false);
    list->Reread();
    EXPECT_EQ(Attached(), SystemImageList(true));
    EXPECT_EQ(ImageOf(1), FolderIcon());
    dir.File(L"a\\late.txt");
    PretendShellPicturesNotLoaded(true);
    list->Reread();
    EXPECT_EQ(Attached(), SystemImageList(true)) << "the shell's lists are kept once attached";
}

} // namespace

namespace {

// A process that ends while threads of its own still ask for pictures ends cleanly: what they use lasts
// as long as the process, not only until its end begins.
TEST(ShellPictures, AProcessEndsCleanlyWhileItsThreadsStillAskForPictures) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring helper = self;
    helper = helper.substr(0, helper.rfind(L'\\') + 1) + L"pictures_at_exit.exe";
    ASSERT_TRUE(testdriver::Exists(helper));
    // Under Wine a crash otherwise waits for a person to close its report.
    HKEY report = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &report, nullptr),
              ERROR_SUCCESS);
    const DWORD off = 0;
    RegSetValueExW(report, L"ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&off), sizeof off);
    struct Restore {
        HKEY key;
        ~Restore() {
            RegDeleteValueW(key, L"ShowCrashDialog");
            RegCloseKey(key);
        }
    } restore{report};
    for (int run = 0; run < 20; ++run) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring commandLine = L"\"" + helper + L"\"";
        ASSERT_TRUE(CreateProcessW(helper.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &si, &pi));
        CloseHandle(pi.hThread);
        const testdriver::ProcessEnd end = testdriver::AwaitProcessEnd(pi.hProcess, 10000);
        ASSERT_TRUE(end.ended) << "run " << run;
        ASSERT_EQ(end.exitCode, 0u) << "run " << run << " ended with 0x" << std::hex << end.exitCode;
    }
}

} // namespace
