#include <gtest/gtest.h>

#include "driver/TempDir.h"
#include "filelist/CommandLine.h"
#include "filelist/HistoryBox.h"
#include "filelist/HistoryFile.h"
#include "filelist/HistoryList.h"

using filelist::TShellRequest;
using Lines = std::vector<std::wstring>;

namespace {

TEST(History, LinesEndAtCrAtLfAndAtCrLf) {
    const std::pair<std::wstring, Lines> cases[] = {
        {L"", {}},
        {L"a", {L"a"}},
        {L"a\r\n", {L"a"}},
        {L"a\r\nb\nc\rd", {L"a", L"b", L"c", L"d"}},
        {L"a\r\n\r\nb\r\n", {L"a", L"", L"b"}},
        {L"\r\n", {L""}},
        {L"a\n\r", {L"a", L""}},
        {L"a\r\r\n", {L"a", L""}},
    };
    for (const auto &[text, lines] : cases)
        EXPECT_EQ(filelist::SplitLines(text), lines) << text.size();
}

TEST(History, ListTextFormCarriesIds) {
    filelist::THistoryList list;
    list.Add(L"dir c:", 0);
    list.Add(L"notepad x.txt", 7);
    list.Add(L"", -3);
    EXPECT_EQ(list.Text(), L"dir c:\t0\r\nnotepad x.txt\t7\r\n\t-3\r\n");

    struct Case {
        std::wstring line;
        std::wstring text;
        int id;
    };
    const Case cases[] = {{L"plain", L"plain", 0}, {L"a\t12", L"a", 12},
                          {L"a\tb\t5", L"a", 0},   {L"a\t12345678901", L"a", 1234567890},
                          {L"a\t", L"a", 0},       {L"a\tx", L"a", 0}};
    for (const Case &c : cases) {
        list.SetText(c.line + L"\r\n");
        ASSERT_EQ(list.Count(), 1) << c.line;
        EXPECT_EQ(list[0].text, c.text) << c.line;
        EXPECT_EQ(list[0].id, c.id) << c.line;
    }
    filelist::THistoryList copy;
    copy.SetText(L"one\t1\r\ntwo\t2\r\n");
    copy.SetText(copy.Text());
    EXPECT_EQ(copy.Text(), L"one\t1\r\ntwo\t2\r\n");
}

TEST(History, FileHoldsAnsiLinesEndingInCrLf) {
    testdriver::TempDir dir;
    std::wstring path = dir / L"cmd.his";
    EXPECT_FALSE(filelist::ReadHistoryFile(path).has_value());

    Lines three = {L"dir", L"", L"notepad readme.txt"};
    filelist::WriteHistoryFile(path, three);
    EXPECT_EQ(testdriver::ReadFileBytes(path), "dir\r\n\r\nnotepad readme.txt\r\n");
    EXPECT_EQ(filelist::ReadHistoryFile(path), three);
    EXPECT_FALSE(testdriver::Exists(path + L".tmp"));

    // Bytes in the ANSI code page, not UTF-8.
    Lines accented = {L"r\u00e9sum\u00e9"};
    filelist::WriteHistoryFile(path, accented);
    EXPECT_EQ(filelist::ReadHistoryFile(path), accented);
    if (GetACP() == 1252) {
        EXPECT_EQ(testdriver::ReadFileBytes(path), "r\xe9sum\xe9\r\n");
    }

    filelist::WriteHistoryFile(path, {});
    EXPECT_EQ(testdriver::ReadFileBytes(path), "");
    EXPECT_EQ(filelist::ReadHistoryFile(path), Lines{});
}

TEST(History, FailedWriteKeepsTheOldFile) {
    testdriver::TempDir dir;
    std::wstring path = dir.File(L"cmd.his", "old\r\n");
    // The temporary file cannot be made where a folder of its name stands.
    dir.Folder(L"cmd.his.tmp");
    try {
        filelist::WriteHistoryFile(path, {L"new"});
        ADD_FAILURE() << "no error";
    } catch (const std::exception &e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + std::string(path.begin(), path.end()));
    }
    EXPECT_EQ(testdriver::ReadFileBytes(path), "old\r\n");
}

TEST(History, BoxTakesTheSharedEntriesOfItsId) {
    filelist::SharedHistory().SetText(L"a\t0\r\nb\t1\r\nc\r\n");
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    filelist::THistoryBox zero, one;
    one.ID = 1;
    zero.Create(parent, 1);
    one.Create(parent, 2);
    filelist::SharedHistory().Clear();
    EXPECT_EQ(zero.Items(), (Lines{L"a", L"c"}));
    EXPECT_EQ(one.Items(), (Lines{L"b"}));

    zero.SetText(L"typed");
    zero.SetItems({L"x", L"x", L"w"});
    EXPECT_EQ(zero.Items(), (Lines{L"x", L"x", L"w"})); // kept in order, repeats kept
    EXPECT_EQ(zero.Text(), L"typed");
    DestroyWindow(parent);
}

TEST(History, RunFormsChooseFileAndParameters) {
    auto exists = [](const std::wstring &path) { return path == L"C:\\work\\go.bat" || path == L"C:\\work\\a b"; };
    struct Case {
        std::wstring command;
        TShellRequest panel;
        TShellRequest commandLine;
    };
    const Case cases[] = {
        {L"notepad readme.txt", {L"notepad readme.txt", L""}, {L"notepad", L"readme.txt"}},
        {L"go.bat", {L"C:\\work\\go.bat", L""}, {L"C:\\work\\go.bat", L""}},
        {L"a b", {L"C:\\work\\a b", L""}, {L"C:\\work\\a b", L""}},
        {L"calc", {L"calc", L""}, {L"calc", L""}},
        {L"x  y z", {L"x  y z", L""}, {L"x", L" y z"}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(filelist::PanelRunRequest(L"C:\\work\\", c.command, exists), c.panel) << c.command;
        EXPECT_EQ(filelist::CommandLineRunRequest(L"C:\\work\\", c.command, exists), c.commandLine) << c.command;
    }
}

} // namespace
