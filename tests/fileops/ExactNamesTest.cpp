// File commands on names the shell would read as other items: each acts on exactly the chosen row, or
// refuses it and says why, and the decoys beside it survive.
#include "FileCommandsFixture.h"

#include "fileops/FileOp.h"
#include "fileops/LongPathOps.h"
#include "fileops/PathRules.h"
#include "viewer/ViewForm.h"

using testdriver::AnswerWhenShown;
using testdriver::PressButton;
using testdriver::TempDir;
using testdriver::UnixEntry;

namespace {

// A file's bytes through its exact path.
std::string Bytes(const std::wstring &path) {
    HANDLE file = CreateFileW(fileops::LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<none>";
    char buffer[256];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

// The text of a message box.
std::wstring MessageText(HWND box) {
    wchar_t text[2048] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    return text;
}

class ExactNamesTest : public FileCommandsTest {
protected:
    // The row showing the item of exactly this name (case twins share a caption).
    int RowNamed(const std::wstring &name) {
        for (int i = 0; i < form->LeftFileView.Count(); ++i)
            if (form->LeftFileView.Name(i) == name)
                return i;
        return -1;
    }
};

const std::wstring kPrompt = L"\x1"; // stands for the command's own prompt, answered with OK
const std::wstring kDeleteQuestion = L"Confirm file deletion";
const std::wstring kMessage = L"Zelvor";

TEST_F(ExactNamesTest, EachKeyActsOnExactlyTheChosenRowOrRefusesItByName) {
    struct Case {
        std::vector<UnixEntry> made;
        std::wstring chosen;
        WORD key;
        ui::TShiftState shift;
        Names answered;
        Names sourceAfter, targetAfter; // the chosen item's copy in the target holds its own name as bytes
        Names keptInside = {};          // paths in the source that must still be there
    } cases[] = {
        // Trailing space or dot: the shell would name the decoy without them.
        {{{"trail.txt ", "trail.txt "}, {"trail.txt", "decoy"}}, L"trail.txt ", VK_DELETE, ui::ssShift,
         {kDeleteQuestion}, {L"trail.txt"}, {}},
        {{{"trail.txt ", "trail.txt "}, {"trail.txt", "decoy"}}, L"trail.txt ", VK_F5, 0, {kPrompt},
         {L"trail.txt", L"trail.txt "}, {L"trail.txt "}},
        {{{"trail.txt ", "trail.txt "}, {"trail.txt", "decoy"}}, L"trail.txt ", VK_F6, 0, {kPrompt},
         {L"trail.txt"}, {L"trail.txt "}},
        {{{"trail.txt ", "trail.txt "}, {"trail.txt", "decoy"}}, L"trail.txt ", VK_F8, 0, {kMessage},
         {L"trail.txt", L"trail.txt "}, {}},
        {{{"tr2.txt.", "tr2.txt."}, {"tr2.txt", "decoy"}}, L"tr2.txt.", VK_DELETE, ui::ssShift, {kDeleteQuestion},
         {L"tr2.txt"}, {}},
        {{{"dir /in.txt", "in"}, {"dir/keep.txt", "decoy"}}, L"dir ", VK_DELETE, ui::ssShift, {kDeleteQuestion},
         {L"dir"}, {}, {L"dir\\keep.txt"}},
        // Case twins share the caption "normal2.txt"; each row is its own file.
        {{{"Normal2.TXT", "Normal2.TXT"}, {"normal2.txt", "normal2.txt"}}, L"Normal2.TXT", VK_DELETE, ui::ssShift,
         {kDeleteQuestion}, {L"normal2.txt"}, {}},
        {{{"Normal2.TXT", "Normal2.TXT"}, {"normal2.txt", "normal2.txt"}}, L"normal2.txt", VK_F5, 0, {kPrompt},
         {L"Normal2.TXT", L"normal2.txt"}, {L"normal2.txt"}},
        // Device names are files here, never the device.
        {{{"con", "con"}, {"con.txt.bak", "decoy"}}, L"con", VK_F5, 0, {kPrompt}, {L"con", L"con.txt.bak"},
         {L"con"}},
        {{{"aux.txt", "aux.txt"}, {"aux.txt.bak", "decoy"}}, L"aux.txt", VK_DELETE, ui::ssShift, {kDeleteQuestion},
         {L"aux.txt.bak"}, {}},
        // Wildcards, separators and unspellable bytes: nothing can reach them exactly, so nothing is done.
        {{{"star*.txt", "star"}, {"star.txt", "decoy"}, {"starfish.txt", "decoy"}}, L"star*.txt", VK_F8, 0,
         {kMessage}, {L"star*.txt", L"star.txt", L"starfish.txt"}, {}},
        {{{"quest?.txt", "quest"}, {"quest1.txt", "decoy"}}, L"quest?.txt", VK_DELETE, ui::ssShift, {kMessage},
         {L"quest1.txt", L"quest?.txt"}, {}},
        {{{"back\\slash", "back"}, {"back/slash", "decoy"}}, L"back\\slash", VK_DELETE, ui::ssShift, {kMessage},
         {L"back", L"back\\slash"}, {}, {L"back\\slash"}},
        {{{"bad\xff.txt", "bad"}, {"bad\xfe.txt", "decoy"}}, L"bad\uFFFD.txt", VK_F5, 0, {kMessage},
         {L"bad\uFFFD.txt", L"bad\uFFFD.txt"}, {}},
    };
    for (const Case &c : cases) {
        TempDir side, other;
        ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), c.made));
        form->Left.SetDirectory(side.Path());
        form->Right.SetDirectory(other.Path());
        form->Left.Activate();
        int row = RowNamed(c.chosen);
        ASSERT_GE(row, 0) << c.chosen;
        form->LeftFileView.SetSelected(row);
        SetFocus(LeftView());
        std::wstring message;
        for (const std::wstring &caption : c.answered) {
            if (caption == kPrompt)
                AnswerWhenShown(c.key == VK_F5 ? L"Copy" : L"Rename\\Move", PressButton(kOk));
            else if (caption == kMessage)
                AnswerWhenShown(caption, [&](HWND box) {
                    message = MessageText(box);
                    PressButton(L"OK")(box);
                });
            else
                AnswerWhenShown(caption, PressButton(L"&Yes"));
        }
        testdriver::PressKey(c.key, c.shift);
        testdriver::Pump(50);
        std::wstring label = L"'" + c.chosen + L"' key " + std::to_wstring(c.key);
        EXPECT_EQ(testdriver::AnsweredCaptions().size(), c.answered.size()) << label;
        EXPECT_EQ(Listing(side.Path()), c.sourceAfter) << label;
        EXPECT_EQ(Listing(other.Path()), c.targetAfter) << label;
        for (const std::wstring &name : c.targetAfter)
            EXPECT_EQ(Bytes(other / name), std::string(c.chosen.begin(), c.chosen.end())) << label;
        for (const std::wstring &inside : c.keptInside)
            EXPECT_TRUE(testdriver::Exists(side / inside)) << label << " " << inside;
        if (std::find(c.answered.begin(), c.answered.end(), kMessage) != c.answered.end()) {
            EXPECT_NE(message.find(c.chosen), std::wstring::npos) << label << ": " << message;
            EXPECT_EQ(message.find(L"error 0x"), std::wstring::npos) << message;
        }
        testdriver::ClearAnswers();
    }
}

// A chain of folders whose path ends past 700 characters, made through exact paths; returns the deepest.
std::wstring MakeDeepFolder(const std::wstring &top) {
    std::wstring path = top;
    CreateDirectoryW(fileops::LongPath(path).c_str(), nullptr);
    for (int level = 0; path.size() < 720; ++level) {
        path += L"\\" + std::wstring(90, static_cast<wchar_t>(L'a' + level));
        CreateDirectoryW(fileops::LongPath(path).c_str(), nullptr);
    }
    return path;
}

void WriteExact(const std::wstring &path, const std::string &bytes) {
    HANDLE file = CreateFileW(fileops::LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

TEST_F(ExactNamesTest, PathsPastTheShellsLimitAreCopiedMovedAndDeletedWithoutTouchingTheirNeighbours) {
    struct Case {
        bool insideDeepFolder; // the side lists the deep folder itself and acts on its file
        WORD key;
        ui::TShiftState shift;
        std::wstring answered;
        bool sourceStays, copied;
    } cases[] = {
        {false, VK_F5, 0, L"Copy", true, true},
        {false, VK_F6, 0, L"Rename\\Move", false, true},
        {false, VK_DELETE, ui::ssShift, kDeleteQuestion, false, false},
        {true, VK_F5, 0, L"Copy", true, true},
        {true, VK_DELETE, ui::ssShift, kDeleteQuestion, false, false},
    };
    for (const Case &c : cases) {
        TempDir side, other;
        std::wstring deepest = MakeDeepFolder(side / L"deep");
        WriteExact(deepest + L"\\inner.txt", "inner");
        WriteExact(deepest + L"\\decoy.txt", "decoy");
        side.File(L"deep2\\decoy.txt", "decoy");
        std::wstring listed = c.insideDeepFolder ? deepest + L"\\" : side.Path();
        std::wstring chosen = c.insideDeepFolder ? L"inner.txt" : L"deep";
        form->Left.SetDirectory(listed);
        form->Right.SetDirectory(other.Path());
        form->Left.Activate();
        form->LeftFileView.SetSelected(RowNamed(chosen));
        SetFocus(LeftView());
        if (c.answered == kDeleteQuestion)
            AnswerWhenShown(c.answered, PressButton(L"&Yes"));
        else
            AnswerWhenShown(c.answered, PressButton(kOk));
        testdriver::PressKey(c.key, c.shift);
        testdriver::Pump(50);
        std::wstring label = chosen + L" " + std::to_wstring(c.key);
        EXPECT_EQ(testdriver::AnsweredCaptions(), Names{c.answered}) << label;
        EXPECT_EQ(fileops::ItemExists(listed + chosen), c.sourceStays) << label;
        std::wstring copy = c.insideDeepFolder ? other / L"inner.txt"
                                               : other / (deepest.substr(side.Path().size()) + L"\\inner.txt");
        EXPECT_EQ(Bytes(copy), c.copied ? "inner" : "<none>") << label;
        EXPECT_EQ(Bytes(deepest + L"\\decoy.txt"), c.insideDeepFolder || c.sourceStays ? "decoy" : "<none>") << label;
        EXPECT_EQ(Bytes(side / L"deep2\\decoy.txt"), "decoy") << label;
        testdriver::ClearAnswers();
        fileops::DeleteItem(side / L"deep");
        fileops::DeleteItem(other / L"deep");
    }
}

// What cannot be done is refused before anything is touched, named with the system's words for why; the
// rest of the marked set still goes.
TEST_F(ExactNamesTest, ACopyThatCannotBeReadOrDoesNotFitIsRefusedByNameAndTheRestGoes) {
    struct Case {
        std::wstring chosen;
        DWORD why;
    } cases[] = {
        {L"big.bin", ERROR_DISK_FULL},
        {L"locked.txt", ERROR_SHARING_VIOLATION},
    };
    auto saved = fileops::FreeSpaceQuery;
    for (const Case &c : cases) {
        TempDir side, other;
        side.File(L"big.bin", std::string(5 << 20, 'n'));
        side.File(L"locked.txt", "locked");
        side.File(L"small.txt", "small");
        other.File(L"big.bin", "old");
        HANDLE lock = CreateFileW((side / L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        // The target's volume has 2 MB free.
        fileops::FreeSpaceQuery = [](const std::wstring &, unsigned long long &freeBytes) {
            freeBytes = 2 << 20;
            return true;
        };
        form->Left.SetDirectory(side.Path());
        form->Right.SetDirectory(other.Path());
        form->Left.Activate();
        form->LeftFileView.SetMarked(RowNamed(c.chosen), true);
        form->LeftFileView.SetMarked(RowNamed(L"small.txt"), true);
        SetFocus(LeftView());
        std::wstring message;
        AnswerWhenShown(L"Copy", PressButton(kOk));
        AnswerWhenShown(kMessage, [&](HWND box) {
            message = MessageText(box);
            PressButton(L"OK")(box);
        });
        testdriver::PressKey(VK_F5);
        testdriver::Pump(50);
        CloseHandle(lock);
        fileops::FreeSpaceQuery = saved;
        EXPECT_EQ(testdriver::AnsweredCaptions(), (Names{L"Copy", kMessage})) << c.chosen;
        EXPECT_NE(message.find(side / c.chosen), std::wstring::npos) << message;
        EXPECT_NE(message.find(testdriver::SystemReason(c.why)), std::wstring::npos) << message;
        EXPECT_EQ(Bytes(other / L"small.txt"), "small") << c.chosen;
        // The file a copy was to replace is still whole.
        EXPECT_EQ(Bytes(other / L"big.bin"), "old") << c.chosen;
        EXPECT_FALSE(testdriver::Exists(other / L"locked.txt")) << c.chosen;
        testdriver::ClearAnswers();
    }
}

TEST_F(ExactNamesTest, FailuresAreToldInTheSystemsWordsAndAFolderThatWentStillLeadsOut) {
    TempDir side, other;
    side.File(L"readonly.txt", "kept", FILE_ATTRIBUTE_READONLY);
    side.File(L"readonly.txt.bak", "decoy");
    ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), {{"locked.txt ", "locked"}}));
    side.Folder(L"gone");
    form->Left.SetDirectory(side.Path());
    form->Right.SetDirectory(other.Path());
    form->Left.Activate();
    std::vector<std::wstring> messages;
    auto collect = [&](HWND box) {
        messages.push_back(MessageText(box));
        PressButton(L"OK")(box);
    };
    // Shift+Delete of a read-only file asks as Windows asks: No keeps it, Yes deletes it.
    for (const std::wstring button : {L"&No", L"&Yes"}) {
        form->LeftFileView.SetSelected(RowNamed(L"readonly.txt"));
        SetFocus(LeftView());
        AnswerWhenShown(kDeleteQuestion, PressButton(L"&Yes"));
        AnswerWhenShown(L"Confirm File Delete", PressButton(button));
        AnswerWhenShown(kMessage, collect);
        testdriver::PressKey(VK_DELETE, ui::ssShift);
        testdriver::Pump(50);
        EXPECT_EQ(testdriver::AnsweredCaptions(), (Names{kDeleteQuestion, L"Confirm File Delete"})) << button;
        EXPECT_EQ(Bytes(side / L"readonly.txt"), button == L"&No" ? "kept" : "<none>") << button;
        testdriver::ClearAnswers();
    }
    EXPECT_EQ(messages, Names{});
    EXPECT_EQ(Bytes(side / L"readonly.txt.bak"), "decoy");
    // Shift+Delete of a file another program holds open: the message says why in the system's words.
    HANDLE lock = CreateFileW(fileops::LongPath(side / L"locked.txt ").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    form->LeftFileView.SetSelected(RowNamed(L"locked.txt "));
    SetFocus(LeftView());
    AnswerWhenShown(kDeleteQuestion, PressButton(L"&Yes"));
    AnswerWhenShown(kMessage, collect);
    testdriver::PressKey(VK_DELETE, ui::ssShift);
    testdriver::Pump(50);
    CloseHandle(lock);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"\"" + side / L"locked.txt \""), std::wstring::npos) << messages[0];
    EXPECT_NE(messages[0].find(testdriver::SystemReason(ERROR_SHARING_VIOLATION)), std::wstring::npos) << messages[0];
    EXPECT_EQ(messages[0].find(L"0x"), std::wstring::npos) << messages[0];
    EXPECT_EQ(Bytes(side / L"locked.txt "), "locked");
    testdriver::ClearAnswers();

    // A folder that vanished after it was listed: entering it shows ".." and says once why it is empty.
    RemoveDirectoryW((side / L"gone").c_str());
    form->LeftFileView.SetSelected(RowNamed(L"gone"));
    AnswerWhenShown(kMessage, collect);
    testdriver::PressKey(VK_RETURN);
    testdriver::Pump(50);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].find(side / L"gone"), std::wstring::npos) << messages[1];
    EXPECT_EQ(testdriver::Captions(LeftView()), Names{L".."});
    form->Left.SetDirectory(form->Left.Directory());
    testdriver::Pump(50);
    EXPECT_EQ(messages.size(), 2u);
    form->LeftFileView.SetSelected(0);
    testdriver::PressKey(VK_RETURN);
    EXPECT_EQ(form->Left.Directory(), side.Path());
    testdriver::ClearAnswers();
}

TEST_F(ExactNamesTest, TheViewerAndTheQuickViewShowTheChosenFileNotTheNameTheShellWouldRead) {
    for (const char *chosen : {"trail.txt ", "tr2.txt.", "aux.txt"}) {
        std::string name = chosen;
        std::string decoy = name == "aux.txt" ? "aux.txt.bak" : name.substr(0, name.size() - 1);
        TempDir side, other;
        ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), {{name, "chosen"}, {decoy, "decoy"}}));
        form->Left.SetDirectory(side.Path());
        form->Right.SetDirectory(other.Path());
        form->Left.Activate();
        std::wstring wide(name.begin(), name.end());
        form->LeftFileView.SetSelected(RowNamed(wide));
        SetFocus(LeftView());
        std::wstring viewed = L"|";
        // The caption names the file as a person reads it, never with the system's "\\?\".
        AnswerWhenShown(L"View file : " + side / wide, [&](HWND viewer) {
            viewed += form->ViewForm().ViewMemo.Text() + L"|";
            PostMessageW(viewer, WM_CLOSE, 0, 0);
        });
        testdriver::PressKey(VK_F3);
        testdriver::Pump(50);
        EXPECT_NE(viewed.find(L"|chosen|"), std::wstring::npos) << name.c_str();
        EXPECT_EQ(viewed.find(L"decoy"), std::wstring::npos) << name.c_str();
        testdriver::ClearAnswers();
        testdriver::PressKey('Q', ui::ssCtrl);
        testdriver::Pump(50);
        EXPECT_EQ(form->Right.QMemo.Text(), L"chosen") << name.c_str();
        testdriver::PressKey('Q', ui::ssCtrl);
        testdriver::Pump(20);
    }
    // A name nothing reaches exactly: the pane says why instead of standing blank.
    TempDir side, other;
    ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), {{"star*.txt", "star"}, {"star.txt", "decoy"}}));
    form->Left.SetDirectory(side.Path());
    form->Right.SetDirectory(other.Path());
    form->Left.Activate();
    form->LeftFileView.SetSelected(RowNamed(L"star*.txt"));
    SetFocus(LeftView());
    testdriver::PressKey('Q', ui::ssCtrl);
    testdriver::Pump(50);
    std::wstring pane = form->Right.QMemo.Text();
    EXPECT_NE(pane.find(L"\"" + side / L"star*.txt" + L"\" cannot be opened exactly"), std::wstring::npos) << pane;
    EXPECT_EQ(pane.find(L"decoy"), std::wstring::npos) << pane;
    testdriver::PressKey('Q', ui::ssCtrl);
    testdriver::Pump(20);
}

TEST_F(ExactNamesTest, AttributesChangeTheChosenFileNotTheNameTheShellWouldRead) {
    for (const char *chosen : {"trail.txt ", "tr2.txt."}) {
        std::string name = chosen;
        TempDir side;
        ASSERT_TRUE(
            testdriver::MakeFromUnix(side.Path(), {{name, "chosen"}, {name.substr(0, name.size() - 1), "decoy"}}));
        form->Left.SetDirectory(side.Path());
        form->Left.Activate();
        std::wstring wide(name.begin(), name.end());
        form->LeftFileView.SetSelected(RowNamed(wide));
        AnswerWhenShown(L"Change attributes", [this](HWND dialog) {
            AtrForm().CheckHidden.SetChecked(true);
            PressButton(L"OK")(dialog);
        });
        form->FileCommands.Change1Click();
        EXPECT_EQ(testdriver::AnsweredCaptions(), Names{L"Change attributes"}) << name.c_str();
        DWORD chosenWord = GetFileAttributesW(fileops::LongPath(side / wide).c_str());
        DWORD decoyWord = GetFileAttributesW((side / wide.substr(0, wide.size() - 1)).c_str());
        EXPECT_TRUE(chosenWord != INVALID_FILE_ATTRIBUTES && (chosenWord & FILE_ATTRIBUTE_HIDDEN)) << name.c_str();
        EXPECT_FALSE(decoyWord & FILE_ATTRIBUTE_HIDDEN) << name.c_str();
        testdriver::ClearAnswers();
    }
}

// A drive of 2 MB (a tmpfs the Linux side mounts as S:, where the system allows it): a copy that runs
// into its end is removed and named with the system's words, and the file it was to replace is kept.
TEST_F(ExactNamesTest, ACopyCutOffByAFullDriveIsRemovedAndNamed) {
    TempDir side, mountPoint;
    std::string unixMount = testdriver::UnixPathOf(mountPoint.Path());
    // The drive letters are links in the prefix's dosdevices folder, beside "c:".
    std::string drive = testdriver::UnixPathOf(L"C:\\");
    drive = drive.substr(0, drive.rfind("c:")) + "s:";
    bool mounted = testdriver::RunUnix("mount -t tmpfs -o size=2m zelvor-full '" + unixMount + "'");
    if (!mounted || !testdriver::RunUnix("ln -sfn '" + unixMount + "' '" + drive + "'") ||
        GetFileAttributesW(L"S:\\") == INVALID_FILE_ATTRIBUTES) {
        testdriver::RunUnix("rm -f '" + drive + "'; umount '" + unixMount + "'");
        GTEST_SKIP() << "no small drive can be made here";
    }
    side.File(L"big.bin", std::string(5 << 20, 'n'));
    side.File(L"small.txt", "small");
    {
        HANDLE old = CreateFileW(L"S:\\small.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(old, "old", 3, &written, nullptr);
        CloseHandle(old);
    }
    auto saved = fileops::FreeSpaceQuery;
    // The drive says it has room, as a drive filling up meanwhile would.
    fileops::FreeSpaceQuery = [](const std::wstring &, unsigned long long &freeBytes) {
        freeBytes = 1ull << 40;
        return true;
    };
    fileops::TFileOperation oper;
    oper.SetOperation(fileops::foCopy);
    oper.SetFilesFrom(side / L"big.bin" + L'\0' + side / L"small.txt");
    oper.SetFilesTo(L"S:\\");
    oper.SetFlags(fileops::FileOpFlagBit(fileops::fofNoConfirmation) | fileops::FileOpFlagBit(fileops::fofSilent));
    oper.Execute();
    fileops::FreeSpaceQuery = saved;
    std::wstring failure = oper.Failure();
    bool bigLeft = testdriver::Exists(L"S:\\big.bin");
    std::string small = Bytes(L"S:\\small.txt");
    testdriver::RunUnix("rm -f '" + drive + "'; umount '" + unixMount + "'");
    EXPECT_FALSE(bigLeft);
    EXPECT_EQ(small, "small");
    EXPECT_NE(failure.find(side / L"big.bin"), std::wstring::npos) << failure;
    EXPECT_NE(failure.find(testdriver::SystemReason(ERROR_DISK_FULL)), std::wstring::npos) << failure;
}

} // namespace
