// The program's own copy, move and delete: never through a link, never into itself, never a half file
// under a real name, asking what Windows asks.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "fileops/FileOp.h"
#include "fileops/LongPathOps.h"
#include "fileops/PathRules.h"

using namespace fileops;
using testdriver::TempDir;
using Names = std::vector<std::wstring>;

namespace {

// Answers the operation's questions from a script and writes down what was asked.
class ScriptedPrompts : public IOperationPrompts {
public:
    TReplaceAnswer replace = raReplace;
    std::deque<TReadOnlyAnswer> readOnly;
    Names asked;

    TReplaceAnswer AskReplace(const std::wstring &target, bool) override {
        asked.push_back(L"replace " + Name(target));
        return replace;
    }
    TReadOnlyAnswer AskReadOnly(const std::wstring &path, bool replacing) override {
        asked.push_back((replacing ? L"replace read-only " : L"delete read-only ") + Name(path));
        TReadOnlyAnswer answer = readOnly.empty() ? roYes : readOnly.front();
        if (!readOnly.empty())
            readOnly.pop_front();
        return answer;
    }
    bool ConfirmDelete(const Names &) override { return true; }

private:
    static std::wstring Name(const std::wstring &path) { return path.substr(path.rfind(L'\\') + 1); }
};

// The names in a folder reached by its exact path, sorted.
Names Listing(const std::wstring &folder) { return testdriver::NamesIn(LongPath(folder) + L"\\"); }

std::string Bytes(const std::wstring &path) {
    HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<none>";
    std::string bytes(64, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), 64, &read, nullptr);
    CloseHandle(file);
    return bytes.substr(0, read);
}

std::string Narrow(const std::wstring &wide) { return std::string(wide.begin(), wide.end()); }

bool Contains(const std::wstring &text, const std::wstring &part) { return text.find(part) != std::wstring::npos; }

std::wstring Quoted(const std::wstring &path) { return L"\"" + path + L"\""; }

TEST(OwnWork, AFolderHoldingALinkIsDeletedOrMovedToAnotherDriveWithoutTouchingWhatTheLinkPointsAt) {
    if (GetFileAttributesW(L"D:\\") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no second drive D:";
    struct Case {
        std::wstring name;
        TFileOp op;
    } cases[] = {{L"lnkdir ", foDelete}, {L"lnkdir", foDelete}, {L"lnkdir ", foMove}, {L"lnkdir", foMove}};
    for (const Case &c : cases) {
        TempDir side, outside;
        outside.File(L"precious.txt", "precious");
        ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), {{Narrow(c.name) + "/own.txt", "own"}}));
        std::string link = testdriver::UnixPathOf(side.Path()) + "/" + Narrow(c.name) + "/ext";
        ASSERT_TRUE(testdriver::RunUnix("ln -s '" + testdriver::UnixPathOf(outside.Path()) + "' '" + link + "'"));
        ASSERT_TRUE(ItemIsLink(side / c.name + L"\\ext")) << "the system shows no link";
        std::wstring drive = L"D:\\zelvor-links-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(drive.c_str(), nullptr);
        ScriptedPrompts prompts;
        TFileOperation oper;
        oper.SetPrompts(&prompts);
        oper.SetOperation(c.op);
        oper.SetFilesFrom(side / c.name);
        oper.SetFilesTo(c.op == foMove ? drive + L"\\" : L"");
        oper.SetFlags(0);
        oper.Execute();
        std::wstring label = Quoted(c.name) + (c.op == foMove ? L" moved" : L" deleted");
        EXPECT_EQ(testdriver::ReadFileBytes(outside / L"precious.txt"), "precious") << label;
        EXPECT_EQ(Listing(outside.Path()), Names{L"precious.txt"}) << label;
        bool left = ItemExists(side / c.name);
        // Where the system cannot take a link as a link (Wine), the item stays and says why; nothing of it
        // is half copied.
        if (left) {
            EXPECT_TRUE(Contains(oper.Failure(), Quoted(side / c.name))) << label << ": " << oper.Failure();
            if (c.op == foMove) {
                EXPECT_EQ(Listing(drive), Names{}) << label;
            }
        } else {
            EXPECT_EQ(oper.Failure(), L"") << label;
        }
        testdriver::RunUnix("rm -f '" + link + "'");
        testdriver::RemoveTree(drive);
    }
}

TEST(OwnWork, AFolderIntoItsOwnSubfolderIsRefusedBeforeAnythingIsWritten) {
    struct Case {
        std::wstring name;
        TFileOp op;
        std::wstring typedTail; // after the folder's own path
    } cases[] = {
        {L"dir ", foCopy, L"\\sub\\"}, {L"dir", foCopy, L"\\sub\\"},     {L"dir ", foMove, L"\\sub\\*.*"},
        {L"dir", foMove, L"\\sub\\"},  {L"dir", foCopy, L"\\sub\\new"},
    };
    for (const Case &c : cases) {
        TempDir side;
        ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), {{Narrow(c.name) + "/sub/", ""}, {Narrow(c.name) + "/f", "f"}}));
        ScriptedPrompts prompts;
        TFileOperation oper;
        oper.SetPrompts(&prompts);
        oper.SetOperation(c.op);
        oper.SetFilesFrom(side / c.name);
        oper.SetFilesTo(side / c.name + c.typedTail);
        oper.SetFlags(0);
        oper.Execute();
        std::wstring label = Quoted(c.name) + c.typedTail;
        EXPECT_EQ(Listing(side / c.name), (Names{L"f", L"sub"})) << label;
        EXPECT_EQ(Listing(side / c.name + L"\\sub"), Names{}) << label;
        EXPECT_TRUE(Contains(oper.Failure(), Quoted(side / c.name))) << label << ": " << oper.Failure();
        EXPECT_TRUE(Contains(oper.Failure(), L"The destination folder is a subfolder of the source folder."))
            << oper.Failure();
        EXPECT_EQ(prompts.asked, Names{}) << label;
    }
}

// A copy of one item into a folder, asked through the given prompts, with the progress window shown.
void SetUpCopy(TFileOperation &oper, ScriptedPrompts &prompts, const std::wstring &from, const std::wstring &to) {
    oper.SetPrompts(&prompts);
    oper.SetOperation(foCopy);
    oper.SetFilesFrom(from);
    oper.SetFilesTo(to);
    oper.SetFlags(0);
}

TEST(OwnWork, CancelInTheMiddleOfACopyLeavesNoPartialFileAndKeepsAReplacedTargetWhole) {
    for (bool replacing : {false, true}) {
        TempDir side, other;
        ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), {{"big.bin ", std::string(8 << 20, 'n')}}));
        if (replacing) {
            ASSERT_TRUE(testdriver::MakeFromUnix(other.Path(), {{"big.bin ", "old"}}));
        }
        // The copy waits after its first block until Cancel has been taken.
        CopyBlockHook = [](const std::atomic<bool> &cancel) {
            for (int i = 0; i < 4000 && !cancel; ++i)
                Sleep(5);
        };
        testdriver::AnswerWhenShown(L"Copying...", testdriver::PressButton(L"Cancel"));
        ScriptedPrompts prompts;
        TFileOperation oper;
        SetUpCopy(oper, prompts, side / L"big.bin ", other.Path());
        oper.Execute();
        CopyBlockHook = nullptr;
        EXPECT_EQ(testdriver::AnsweredCaptions(), Names{L"Copying..."}) << replacing;
        EXPECT_EQ(Listing(other.Path()), replacing ? Names{L"big.bin "} : Names{}) << replacing;
        EXPECT_EQ(Bytes(other / L"big.bin "), replacing ? "old" : "<none>") << replacing;
        EXPECT_TRUE(oper.OperationAborted());
        EXPECT_TRUE(Contains(oper.Failure(), L"Cancelled")) << oper.Failure();
        testdriver::ClearAnswers();
    }
}

// An error on the copy's thread (out of memory) reaches the caller, as a handler's error does, instead of
// ending the program; the copy leaves nothing behind.
TEST(OwnWork, AnErrorOnTheCopysThreadReachesTheCallerAndLeavesNoFile) {
    TempDir side, other;
    ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), {{"big.bin ", std::string(4 << 20, 'n')}}));
    CopyBlockHook = [](const std::atomic<bool> &) { throw std::bad_alloc(); };
    ScriptedPrompts prompts;
    TFileOperation oper;
    SetUpCopy(oper, prompts, side / L"big.bin ", other.Path());
    EXPECT_THROW(oper.Execute(), std::bad_alloc);
    CopyBlockHook = nullptr;
    EXPECT_EQ(Listing(other.Path()), Names{});
}

// Run by the next test in a process of its own, which it kills in the middle of the copy.
TEST(OwnWork, DISABLED_CopyHelper) {
    wchar_t from[MAX_PATH] = {}, to[MAX_PATH] = {}, marker[MAX_PATH] = {};
    GetEnvironmentVariableW(L"ZELVOR_COPY_FROM", from, MAX_PATH);
    GetEnvironmentVariableW(L"ZELVOR_COPY_TO", to, MAX_PATH);
    GetEnvironmentVariableW(L"ZELVOR_COPY_MARKER", marker, MAX_PATH);
    std::wstring markerPath = marker;
    CopyBlockHook = [markerPath](const std::atomic<bool> &) {
        CloseHandle(CreateFileW(markerPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        Sleep(INFINITE);
    };
    TFileOperation oper;
    oper.SetOperation(foCopy);
    oper.SetFilesFrom(from);
    oper.SetFilesTo(to);
    oper.SetFlags(FileOpFlagBit(fofNoConfirmation) | FileOpFlagBit(fofSilent));
    oper.Execute();
}

TEST(OwnWork, AKilledCopyLeavesNoPartialFileUnderTheRealNameOnlyARecognisableTemporary) {
    TempDir side, other;
    ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), {{"big.bin ", std::string(4 << 20, 'n')}}));
    std::wstring marker = other / L"..\\" + L"zelvor-marker-" + std::to_wstring(GetCurrentProcessId());
    SetEnvironmentVariableW(L"ZELVOR_COPY_FROM", (side / L"big.bin ").c_str());
    SetEnvironmentVariableW(L"ZELVOR_COPY_TO", other.Path().c_str());
    SetEnvironmentVariableW(L"ZELVOR_COPY_MARKER", marker.c_str());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=OwnWork.DISABLED_CopyHelper";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    bool copying = testdriver::PumpUntil([&] { return testdriver::Exists(marker); }, 60000);
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DeleteFileW(marker.c_str());
    ASSERT_TRUE(copying);
    EXPECT_FALSE(ItemExists(other / L"big.bin "));
    Names left = Listing(other.Path());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].rfind(kTemporaryPrefix, 0), 0u) << left[0];
}

TEST(OwnWork, ARenameOntoACaseTwinAsksAndAPureCaseChangeDoesNot) {
    struct Case {
        bool twin;
        TReplaceAnswer answer;
        Names asked, after;
        std::string lowerHolds;
    } cases[] = {
        {true, raSkip, {L"replace case.txt"}, {L"Case.txt", L"case.txt"}, "twin"},
        {true, raReplace, {L"replace case.txt"}, {L"case.txt"}, "Case"},
        {false, raReplace, {}, {L"case.txt"}, "Case"},
    };
    for (const Case &c : cases) {
        TempDir side;
        std::vector<testdriver::UnixEntry> made = {{"Case.txt", "Case"}};
        if (c.twin)
            made.push_back({"case.txt", "twin"});
        ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), made));
        ScriptedPrompts prompts;
        prompts.replace = c.answer;
        TFileOperation oper;
        oper.SetPrompts(&prompts);
        oper.SetOperation(foMove);
        oper.SetFilesFrom(side / L"Case.txt");
        oper.SetFilesTo(side / L"case.txt");
        oper.SetFlags(0);
        oper.Execute();
        EXPECT_EQ(prompts.asked, c.asked) << c.twin << c.answer;
        EXPECT_EQ(Listing(side.Path()), c.after) << c.twin << c.answer;
        std::string lower;
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((side / L"*").c_str(), &fd);
        do {
            if (std::wstring(fd.cFileName) == L"case.txt")
                lower = "found";
        } while (FindNextFileW(find, &fd));
        FindClose(find);
        EXPECT_EQ(lower, "found");
        EXPECT_EQ(testdriver::ReadFileBytes(side / L"case.txt"), c.lowerHolds) << c.twin << c.answer;
        EXPECT_EQ(oper.Failure(), L"");
    }
}

TEST(OwnWork, ReadOnlyFilesToDeleteOrReplaceAreAskedAboutAsWindowsAsks) {
    struct Case {
        TFileOp op;
        std::deque<TReadOnlyAnswer> answers;
        size_t asked;
        Names left;           // in the folder "ro" (deleted) or of the target (replaced)
        std::string replaced; // the target's bytes after a replace
    } cases[] = {
        {foDelete, {roNo, roNo}, 2, {L"a.txt", L"b.txt"}, ""},
        {foDelete, {roYesToAll}, 1, {}, ""},
        {foDelete, {roYes, roNo}, 2, {L"b.txt"}, ""},
        {foCopy, {roYes}, 1, {L"f.txt"}, "new"},
        {foCopy, {roNo}, 1, {L"f.txt"}, "old"},
    };
    for (const Case &c : cases) {
        TempDir side, other;
        side.File(L"ro\\a.txt", "a", FILE_ATTRIBUTE_READONLY);
        side.File(L"ro\\b.txt", "b", FILE_ATTRIBUTE_READONLY);
        side.File(L"ro\\c.txt", "c");
        side.File(L"f.txt", "new");
        other.File(L"f.txt", "old", FILE_ATTRIBUTE_READONLY);
        ScriptedPrompts prompts;
        prompts.readOnly = c.answers;
        TFileOperation oper;
        oper.SetPrompts(&prompts);
        oper.SetOperation(c.op);
        oper.SetFilesFrom(c.op == foDelete ? side / L"ro" : side / L"f.txt");
        oper.SetFilesTo(c.op == foDelete ? L"" : other.Path());
        oper.SetFlags(0);
        oper.Execute();
        std::wstring label = std::to_wstring(c.op) + L" " + std::to_wstring(c.answers.front());
        EXPECT_EQ(prompts.asked.size(), c.asked) << label;
        if (c.op == foDelete) {
            EXPECT_EQ(Listing(side / L"ro"), c.left) << label;
            EXPECT_EQ(testdriver::Exists(side / L"ro"), !c.left.empty()) << label;
        } else {
            EXPECT_EQ(prompts.asked, Names{L"replace read-only f.txt"}) << label;
            EXPECT_EQ(Listing(other.Path()), c.left) << label;
            EXPECT_EQ(testdriver::ReadFileBytes(other / L"f.txt"), c.replaced) << label;
        }
        EXPECT_EQ(oper.Failure(), L"") << label;
        for (const wchar_t *name : {L"ro\\a.txt", L"ro\\b.txt"})
            SetFileAttributesW((side / name).c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesW((other / L"f.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(OwnWork, ACopiedFolderKeepsItsTimes) {
    TempDir side, other;
    ASSERT_TRUE(testdriver::MakeFromUnix(side.Path(), {{"dir /inner/f.txt", "f"}}));
    SYSTEMTIME when{2001, 2, 0, 3, 4, 5, 6, 0};
    FILETIME time;
    SystemTimeToFileTime(&when, &time);
    for (const std::wstring &folder : {side / L"dir ", side / L"dir \\inner"}) {
        HANDLE handle = CreateFileW(LongPath(folder).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_TRUE(SetFileTime(handle, nullptr, nullptr, &time));
        CloseHandle(handle);
    }
    TFileOperation oper;
    oper.SetOperation(foCopy);
    oper.SetFilesFrom(side / L"dir ");
    oper.SetFilesTo(other.Path());
    oper.SetFlags(0);
    oper.Execute();
    EXPECT_EQ(testdriver::ReadFileBytes(LongPath(other / L"dir \\inner\\f.txt")), "f");
    for (const std::wstring &folder : {other / L"dir ", other / L"dir \\inner"}) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW(LongPath(folder).c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &time), 0) << folder;
    }
}

TEST(OwnWork, AReplaceTheSystemRefusesIsToldInItsWordsAndTheOldFileStays) {
    for (TFileOp op : {foCopy, foMove}) {
        TempDir side, other;
        std::wstring source = side.File(L"f.txt", "new contents");
        std::wstring target = other.File(L"f.txt", "old 14 bytes..");
        // Another program holds the target open and shares nothing.
        HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ScriptedPrompts prompts;
        TFileOperation oper;
        oper.SetPrompts(&prompts);
        oper.SetOperation(op);
        oper.SetFilesFrom(source);
        oper.SetFilesTo(other / L"*.*");
        oper.SetFlags(0);
        oper.Execute();
        CloseHandle(held);
        EXPECT_EQ(prompts.asked, Names{L"replace f.txt"}) << op;
        EXPECT_EQ(testdriver::ReadFileBytes(target), "old 14 bytes..") << op;
        EXPECT_EQ(Listing(other.Path()), Names{L"f.txt"}) << op;
        EXPECT_EQ(testdriver::ReadFileBytes(source), "new contents") << op;
        EXPECT_TRUE(Contains(oper.Failure(), Quoted(source))) << oper.Failure();
        // The system's words for the refusal: Windows and Wine say "in use" or "denied".
        EXPECT_TRUE(Contains(oper.Failure(), testdriver::SystemReason(ERROR_ACCESS_DENIED)) ||
                    Contains(oper.Failure(), testdriver::SystemReason(ERROR_SHARING_VIOLATION)))
            << oper.Failure();
    }
}

} // namespace
