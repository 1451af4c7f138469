#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Trash.h"
#include "driver/TempDir.h"
#include "driver/TestDriver.h"
#include "fileops/FileOp.h"
#include "fileops/MakeDirectories.h"

using namespace fileops;
using testdriver::Exists;
using testdriver::ReadFileBytes;
using testdriver::TempDir;

namespace {

const std::wstring kNul(1, L'\0');

class FileOperationTest : public testing::Test {
protected:
    void TearDown() override { testdriver::ClearAnswers(); }
    void AnswerDeletion(const std::wstring &button) {
        testdriver::AnswerWhenShown(L"Confirm file deletion", testdriver::PressButton(button));
    }
    TFileOperation oper;
};

TEST(ShellNameList, SemicolonsAndNulsBothSeparateAndTheListEndsInTwoNuls) {
    struct Case {
        std::wstring names, list;
    } cases[] = {
        {L"", std::wstring(2, L'\0')},
        {L"c:\\a.txt", L"c:\\a.txt" + kNul + kNul},
        {L"c:\\a.txt;c:\\b.txt", L"c:\\a.txt" + kNul + L"c:\\b.txt" + kNul + kNul},
        {L"c:\\a.txt" + kNul + L"c:\\b.txt", L"c:\\a.txt" + kNul + L"c:\\b.txt" + kNul + kNul},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ShellNameList(c.names), c.list) << c.names;
}

TEST(ShellDestinationList, WildcardAfterAnExistingDirectoryNamesTheDirectory) {
    TempDir dir;
    dir.Folder(L"target");
    std::wstring target = dir / L"target";
    struct Case {
        std::wstring typed, handed;
    } cases[] = {
        {target + L"\\*.*", target + L"\\"},
        {dir / L"missing\\*.*", dir / L"missing\\*.*"},
        {target + L"\\*.txt", target + L"\\*.txt"},
        {target + L"\\new.txt", target + L"\\new.txt"},
        {target, target},
        {L"", L""},
        {target + L"\\*.*;" + dir / L"missing\\*.*", target + L"\\" + kNul + dir / L"missing\\*.*"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ShellDestinationList(c.typed), c.handed + kNul + kNul) << c.typed;
}

TEST_F(FileOperationTest, CopiesSourcesJoinedByNulOrSemicolonIntoTheDirectoryBeforeStarDotStar) {
    for (const std::wstring &separator : {kNul, std::wstring(L";")}) {
        TempDir dir;
        std::wstring a = dir.File(L"a.txt", "alpha"), b = dir.File(L"b.txt", "beta");
        dir.Folder(L"target");
        oper.SetOperation(foCopy);
        oper.SetFilesFrom(a + separator + b);
        oper.SetFilesTo(dir / L"target\\*.*");
        oper.Execute();
        EXPECT_EQ(ReadFileBytes(dir / L"target\\a.txt"), "alpha");
        EXPECT_EQ(ReadFileBytes(dir / L"target\\b.txt"), "beta");
        EXPECT_TRUE(Exists(a));
        EXPECT_FALSE(oper.OperationAborted());
    }
}

TEST_F(FileOperationTest, MovesFilesAndFoldersIntoAnotherDirectory) {
    struct Case {
        std::vector<std::wstring> sources;
        std::wstring destinationTail;
    } cases[] = {
        {{L"a.txt", L"sub"}, L"*.*"},
        {{L"a.txt", L"b.txt", L"c.txt"}, L"*.*"},
        {{L"a.txt", L"b.txt"}, L""},
        {{L"a.txt"}, L""},
    };
    for (const Case &c : cases) {
        TempDir dir, target;
        std::wstring from;
        for (const std::wstring &name : c.sources) {
            if (!from.empty())
                from += kNul;
            if (name == L"sub")
                from += dir.Folder(name);
            else
                from += dir.File(name, "text");
        }
        oper.SetOperation(foMove);
        oper.SetFilesFrom(from);
        oper.SetFilesTo(target.Path() + c.destinationTail);
        oper.Execute();
        for (const std::wstring &name : c.sources) {
            EXPECT_TRUE(Exists(target / name)) << name << " of " << c.sources.size();
            EXPECT_FALSE(Exists(dir / name)) << name << " of " << c.sources.size();
        }
        EXPECT_FALSE(oper.OperationAborted());
    }
}

TEST_F(FileOperationTest, WritingActiveTwiceRunsTwiceAndActiveReadsFalse) {
    TempDir dir;
    std::wstring source = dir.File(L"a.txt", "alpha");
    oper.SetOperation(foCopy);
    oper.SetFilesFrom(source);
    oper.SetFilesTo(dir / L"copy.txt");
    oper.SetActive(true);
    EXPECT_FALSE(oper.Active());
    ASSERT_TRUE(Exists(dir / L"copy.txt"));
    DeleteFileW((dir / L"copy.txt").c_str());
    oper.SetActive(false);
    EXPECT_FALSE(Exists(dir / L"copy.txt"));
    oper.SetActive(true);
    EXPECT_TRUE(Exists(dir / L"copy.txt"));
    EXPECT_FALSE(oper.Active());
}

TEST_F(FileOperationTest, DeleteLetsTheShellAskAndDeletesForGoodOrToTheRecycleBin) {
    struct Case {
        TFileOpFlags flags;
        std::wstring button;
        bool deleted, trashed;
    } cases[] = {
        {0, L"&Yes", true, false},
        {FileOpFlagBit(fofAllowUndo), L"&Yes", true, true},
        {0, L"&No", false, false},
    };
    for (const Case &c : cases) {
        TempDir dir;
        std::wstring name = fileopstest::UniqueName(L"zelvor-deleted");
        std::wstring file = dir.File(name, "alpha");
        AnswerDeletion(c.button);
        oper.SetOperation(foDelete);
        oper.SetFilesFrom(file);
        oper.SetFilesTo(L"");
        oper.SetFlags(c.flags);
        oper.Execute();
        EXPECT_EQ(testdriver::AnsweredCaptions().size(), 1u) << c.flags;
        EXPECT_EQ(Exists(file), !c.deleted) << c.flags << " " << c.button;
        EXPECT_EQ(fileopstest::TakeFromTrash(name), c.trashed ? "alpha" : "") << c.flags;
        testdriver::ClearAnswers();
    }
}

TEST_F(FileOperationTest, ARecycleBinThatCannotBeMadeDeletesNothingAndSaysSo) {
    TempDir dir, home;
    std::wstring file = dir.File(fileopstest::UniqueName(L"zelvor-kept"), "alpha");
    // A file stands where the data folder would have to be made.
    home.File(L"blocker", "x");
    fileopstest::DataHomeScope blocked(home / L"blocker", "data");
    AnswerDeletion(L"&Yes");
    oper.SetOperation(foDelete);
    oper.SetFilesFrom(file);
    oper.SetFilesTo(L"");
    oper.SetFlags(FileOpFlagBit(fofAllowUndo));
    oper.Execute();
    testdriver::Pump(100);
    EXPECT_EQ(ReadFileBytes(file), "alpha");
    EXPECT_TRUE(oper.OperationAborted());
    EXPECT_FALSE(oper.Failure().empty());
    EXPECT_TRUE(testdriver::AnsweredCaptions().empty());
}

TEST(MakeDirectories, CreatesEveryMissingLevelOutermostFirst) {
    struct Case {
        std::wstring relative;
        std::vector<std::wstring> made;
    } cases[] = {
        {L"a", {L"a"}},
        {L"a\\b\\c", {L"a", L"a\\b", L"a\\b\\c"}},
        {L"x\\y\\", {L"x", L"x\\y"}},
        {L"old\\new", {L"old", L"old\\new"}},
    };
    for (const Case &c : cases) {
        TempDir dir;
        dir.File(L"old\\keep.txt", "kept");
        MakeDirectories(dir / c.relative);
        for (const std::wstring &made : c.made) {
            DWORD attributes = GetFileAttributesW((dir / made).c_str());
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
                << c.relative << " " << made;
        }
        EXPECT_EQ(ReadFileBytes(dir / L"old\\keep.txt"), "kept");
    }
}

TEST(MakeDirectories, AFileInTheWayIsLeftAloneWithoutAMessage) {
    TempDir dir;
    std::wstring file = dir.File(L"plain", "x");
    MakeDirectories(file + L"\\inner");
    EXPECT_EQ(ReadFileBytes(file), "x");
    EXPECT_FALSE(Exists(file + L"\\inner"));
}

} // namespace
