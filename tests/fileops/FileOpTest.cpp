#include <gtest/gtest.h>

#include <algorithm>
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

TEST(ShellNameList, OnlyNulsSeparateASemicolonStaysInTheNameAndTheListEndsInTwoNuls) {
    struct Case {
        std::wstring names, list;
    } cases[] = {
        {L"", std::wstring(2, L'\0')},
        {L"c:\\a.txt", L"c:\\a.txt" + kNul + kNul},
        {L"c:\\a.txt;c:\\b.txt", L"c:\\a.txt;c:\\b.txt" + kNul + kNul},
        {L"c:\\precious;notes.txt" + kNul + L"c:\\b.txt", L"c:\\precious;notes.txt" + kNul + L"c:\\b.txt" + kNul + kNul},
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
        {target + L"\\*.*;" + dir / L"missing\\*.*", target + L"\\*.*;" + dir / L"missing\\*.*"},
        {dir / L"new;name.txt", dir / L"new;name.txt"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ShellDestinationList(c.typed), c.handed + kNul + kNul) << c.typed;
}

TEST_F(FileOperationTest, CopiesSourcesJoinedByNulIntoTheDirectoryAndANameWithASemicolonIsOneName) {
    TempDir dir;
    std::wstring a = dir.File(L"a.txt", "alpha"), b = dir.File(L"precious;notes.txt", "beta");
    // What a split at ";" would take instead.
    dir.File(L"precious", "decoy");
    dir.File(L"notes.txt", "decoy");
    dir.Folder(L"target");
    oper.SetOperation(foCopy);
    oper.SetFilesFrom(a + kNul + b);
    oper.SetFilesTo(dir / L"target\\*.*");
    oper.Execute();
    EXPECT_EQ(ReadFileBytes(dir / L"target\\a.txt"), "alpha");
    EXPECT_EQ(ReadFileBytes(dir / L"target\\precious;notes.txt"), "beta");
    EXPECT_FALSE(Exists(dir / L"target\\precious"));
    EXPECT_FALSE(Exists(dir / L"target\\notes.txt"));
    EXPECT_TRUE(Exists(a));
    EXPECT_FALSE(oper.OperationAborted());
    EXPECT_TRUE(oper.Failure().empty());
}

TEST_F(FileOperationTest, SeveralSourcesIntoAFolderThatDoesNotExistYetMakeTheFolderFirst) {
    struct Case {
        TFileOp op;
        std::wstring typedTail, folder;
    } cases[] = {
        {foMove, L"new", L"new"},
        {foMove, L"new\\", L"new"},
        {foMove, L"deep\\er\\*.*", L"deep\\er"},
        {foCopy, L"copies", L"copies"},
    };
    for (const Case &c : cases) {
        TempDir dir, target;
        std::wstring from = dir.File(L"a.txt", "alpha") + kNul + dir.File(L"b;c.txt", "beta");
        oper.SetOperation(c.op);
        oper.SetFilesFrom(from);
        oper.SetFilesTo(target / c.typedTail);
        oper.SetFlags(0);
        oper.Execute();
        EXPECT_EQ(ReadFileBytes(target / c.folder + L"\\a.txt"), "alpha") << c.typedTail;
        EXPECT_EQ(ReadFileBytes(target / c.folder + L"\\b;c.txt"), "beta") << c.typedTail;
        EXPECT_EQ(Exists(dir / L"a.txt"), c.op == foCopy) << c.typedTail;
        EXPECT_FALSE(oper.OperationAborted()) << c.typedTail;
        EXPECT_TRUE(oper.Failure().empty()) << c.typedTail;
    }
}

TEST_F(FileOperationTest, AFailureTheShellKeptToItselfIsLeftForTheCaller) {
    TempDir dir;
    oper.SetOperation(foMove);
    oper.SetFilesFrom(dir / L"missing.txt");
    oper.SetFilesTo(dir / L"moved.txt");
    oper.SetFlags(0);
    oper.Execute();
    testdriver::Pump(50);
    EXPECT_FALSE(Exists(dir / L"moved.txt"));
    EXPECT_TRUE(oper.OperationAborted());
    EXPECT_FALSE(oper.Failure().empty());
}

TEST_F(FileOperationTest, AMoveOntoAnExistingNameAsksFirstAndReplacesSkipsOrStops) {
    struct Case {
        std::vector<std::wstring> sources; // moved into the target folder; "*" marks a name there already
        std::vector<std::wstring> buttons;
        std::vector<std::wstring> movedAway; // the sources gone from the source folder afterwards
        bool reported = false;
    } cases[] = {
        {{L"*one.txt"}, {L"&Yes"}, {L"one.txt"}},
        {{L"*one.txt"}, {L"&No"}, {}},
        {{L"*one.txt"}, {L"Cancel"}, {}},
        {{L"a.txt", L"*b.txt", L"c.txt", L"*d.txt"}, {L"&No", L"&Yes"}, {L"a.txt", L"c.txt", L"d.txt"}},
        {{L"a.txt", L"*b.txt", L"c.txt"}, {L"Cancel"}, {}},
        {{L"*sub"}, {L"&No"}, {}},
        // A folder moved onto an existing one goes into it, as Windows' shell merges them.
        {{L"*sub"}, {L"&Yes"}, {L"sub"}},
    };
    for (const Case &c : cases) {
        TempDir dir, target;
        std::wstring from;
        std::vector<std::wstring> names;
        for (std::wstring name : c.sources) {
            bool there = name[0] == L'*';
            if (there)
                name.erase(0, 1);
            names.push_back(name);
            if (!from.empty())
                from += kNul;
            if (name == L"sub") {
                from += dir.Folder(name);
                dir.File(L"sub\\new.txt", "new");
                if (there)
                    target.File(L"sub\\old.txt", "old");
            } else {
                from += dir.File(name, "moved");
                if (there)
                    target.File(name, "old");
            }
        }
        for (const std::wstring &button : c.buttons)
            testdriver::AnswerWhenShown(L"Confirm file overwrite", testdriver::PressButton(button));
        oper.SetOperation(foMove);
        oper.SetFilesFrom(from);
        oper.SetFilesTo(target / L"*.*");
        oper.SetFlags(0);
        oper.Execute();
        std::wstring label = c.sources[0] + L" " + c.buttons[0];
        EXPECT_EQ(testdriver::AnsweredCaptions().size(), c.buttons.size()) << label;
        for (const std::wstring &name : names) {
            bool away = std::find(c.movedAway.begin(), c.movedAway.end(), name) != c.movedAway.end();
            EXPECT_EQ(Exists(dir / name), !away) << label << " " << name;
            if (name == L"sub") {
                EXPECT_EQ(ReadFileBytes(target / L"sub\\new.txt"), away ? "new" : "") << label;
                EXPECT_EQ(ReadFileBytes((away ? dir : target) / L"sub\\old.txt"), away ? "" : "old") << label;
            } else if (away) {
                EXPECT_EQ(ReadFileBytes(target / name), "moved") << label << " " << name;
            } else if (Exists(target / name)) {
                EXPECT_EQ(ReadFileBytes(target / name), "old") << label << " " << name;
            }
        }
        EXPECT_EQ(oper.Failure().empty(), !c.reported) << label;
        testdriver::ClearAnswers();
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
        EXPECT_TRUE(MakeDirectories(dir / c.relative)) << c.relative;
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
    EXPECT_FALSE(MakeDirectories(file + L"\\inner"));
    EXPECT_EQ(ReadFileBytes(file), "x");
    EXPECT_FALSE(Exists(file + L"\\inner"));
}

} // namespace
