#include <gtest/gtest.h>

#include <iostream>
#include <thread>

#include "driver/TempDir.h"
#include "filelist/CommandLine.h"
#include "ui/HistoryBox.h"
#include "filelist/HistoryFile.h"
#include "ui/HistoryList.h"

using filelist::TShellRequest;
using Lines = std::vector<std::wstring>;
using Entries = ui::THistoryEntries;

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
        EXPECT_EQ(ui::SplitLines(text), lines) << text.size();
}

TEST(History, ListTextFormCarriesIds) {
    ui::THistoryList list;
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
    ui::THistoryList copy;
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

// A file that cannot be written keeps what it holds (and its read-only mark); the first save of a run
// says so with the full path and why, the later ones are silent.
TEST(History, AFileThatCannotBeWrittenIsKeptAndSaidOnce) {
    testdriver::TempDir dir;
    struct Case {
        const char *what;
        std::wstring path; // empty: not to be had here
        DWORD attributes;
    };
    const std::wstring readOnly = testdriver::ReadOnlyFolder();
    const Case cases[] = {
        {"the temporary file cannot be made", dir.File(L"blocked\\cmd.his", "old\r\n"), FILE_ATTRIBUTE_ARCHIVE},
        {"marked read-only", dir.File(L"marked\\cmd.his", "old\r\n", FILE_ATTRIBUTE_READONLY), FILE_ATTRIBUTE_READONLY},
        {"on a read-only medium", readOnly.empty() ? L"" : readOnly + L"cmd.his", 0},
    };
    dir.Folder(L"blocked\\cmd.his.tmp");
    for (const Case &c : cases) {
        if (c.path.empty()) {
            std::cout << "[  SKIPPED ] " << c.what << ": no read-only folder (mounting it needs root)\n";
            continue;
        }
        filelist::THistoryFile file;
        auto entries = file.Load(c.path);
        ASSERT_EQ(entries, Lines{L"old"}) << c.what;
        entries->push_back(L"new");
        try {
            file.Save(c.path, *entries);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const std::exception &e) {
            std::string message = e.what();
            EXPECT_EQ(message.substr(0, message.find('\n')), "Cannot create file " + std::string(c.path.begin(), c.path.end()))
                << c.what;
            EXPECT_GT(message.size(), message.find('\n') + 10) << c.what << ": and why";
        }
        entries->push_back(L"newer");
        EXPECT_NO_THROW(file.Save(c.path, *entries)) << c.what << ": said once";
        EXPECT_EQ(testdriver::ReadFileBytes(c.path), "old\r\n") << c.what;
        if (c.attributes) {
            EXPECT_EQ(GetFileAttributesW(c.path.c_str()) & FILE_ATTRIBUTE_READONLY, c.attributes & FILE_ATTRIBUTE_READONLY)
                << c.what << ": the mark stays";
        }
    }
    SetFileAttributesW((dir / L"marked\\cmd.his").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Lines another copy of the program adds to the file while this one runs stay, byte for byte, before
// this run's own; "another copy" is a history file object of its own, as a second process holds one.
TEST(History, LinesAnotherCopyAddedAreKept) {
    struct Case {
        const char *what;
        const char *start;                              // the file when both copies start; null: none
        std::vector<std::vector<std::wstring>> rounds;  // per round: other's new lines, then ours
        std::string end;
    };
    const Case cases[] = {
        {"both add once", "old\r\n", {{L"b1", L"a1"}}, "old\r\nb1\r\na1\r\n"},
        {"no file at first", nullptr, {{L"b1", L"a1"}}, "b1\r\na1\r\n"},
        {"this copy saves twice (Apply, then exit)", "old\r\n", {{L"b1", L"a1"}, {L"b2", L"a2"}},
         "old\r\nb1\r\na1\r\nb2\r\na2\r\n"},
        {"a last line without its end", "old", {{L"", L"a1"}}, "old\r\na1\r\n"},
    };
    for (const Case &c : cases) {
        testdriver::TempDir dir;
        std::wstring path = c.start ? dir.File(L"cmd.his", c.start) : dir / L"cmd.his";
        filelist::THistoryFile ours, other;
        Entries mine = ours.Load(path).value_or(Entries{}), theirs = other.Load(path).value_or(Entries{});
        for (const auto &round : c.rounds) {
            if (!round[0].empty()) {
                theirs.push_back(round[0]);
                other.Save(path, theirs);
            }
            mine.push_back(round[1]);
            ours.Save(path, mine);
        }
        EXPECT_EQ(testdriver::ReadFileBytes(path), c.end) << c.what;
    }
}

// Two copies closing at the same moment, again and again: each one's lines are in the file.
TEST(History, TwoCopiesClosingAtOnceKeepBothHistories) {
    testdriver::TempDir dir;
    std::wstring path = dir.File(L"cmd.his", "old\r\n");
    constexpr int kRounds = 30;
    std::string expected = "old\r\n";
    for (int round = 0; round < kRounds; ++round) {
        filelist::THistoryFile first, second;
        Entries a = *first.Load(path), b = *second.Load(path);
        a.push_back(L"a" + std::to_wstring(round));
        b.push_back(L"b" + std::to_wstring(round));
        HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::string errors;
        auto save = [&](filelist::THistoryFile &file, const Entries &lines, std::string &error) {
            try {
                file.Save(path, lines);
            } catch (const std::exception &e) {
                error = e.what();
            }
        };
        std::string otherError;
        std::thread other([&] {
            WaitForSingleObject(go, INFINITE);
            save(second, b, otherError);
        });
        SetEvent(go);
        save(first, a, errors);
        other.join();
        CloseHandle(go);
        ASSERT_EQ(errors + otherError, "") << "round " << round;
        std::string bytes = testdriver::ReadFileBytes(path);
        for (const std::string &line : {"a" + std::to_string(round), "b" + std::to_string(round)})
            ASSERT_NE(bytes.find(line + "\r\n"), std::string::npos) << "round " << round << ": " << line << " lost";
        ASSERT_EQ(bytes.size(), expected.size() + 2 * (std::to_string(round).size() + 3)) << "round " << round;
        expected = bytes;
    }
    EXPECT_FALSE(testdriver::Exists(path + L".lock"));
    EXPECT_FALSE(testdriver::Exists(path + L".tmp"));
}

TEST(History, BoxTakesTheSharedEntriesOfItsId) {
    ui::SharedHistory().SetText(L"a\t0\r\nb\t1\r\nc\r\n");
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ui::THistoryBox zero, one;
    one.ID = 1;
    zero.Create(parent, 1);
    one.Create(parent, 2);
    ui::SharedHistory().Clear();
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

TEST(History, RequestsTheSystemCannotTakeAreRefused) {
    // Only the long existing path has a short form here.
    const std::wstring longExisting = L"C:\\long\\" + std::wstring(290, L'n');
    auto shortPath = [&](const std::wstring &path) { return path == longExisting ? L"C:\\LONG\\NNNNNN~1" : L""; };
    auto word = [](size_t n) { return std::wstring(n, L'a'); };
    struct Case {
        TShellRequest request;
        bool runs;
        std::wstring file; // what the shell gets when it runs
        std::wstring message;
    };
    const Case cases[] = {
        {{word(259), L""}, true, word(259), L""},
        {{word(260), L""}, false, L"", L"Cannot open a name of 260 characters: the system takes at most 259."},
        {{word(980), L""}, false, L"", L"Cannot open a name of 980 characters: the system takes at most 259."},
        {{word(984), L""}, false, L"", L"Cannot open a name of 984 characters: the system takes at most 259."},
        {{word(988), L""}, false, L"", L"Cannot open a name of 988 characters: the system takes at most 259."},
        {{word(5000), L""}, false, L"", L"Cannot open a name of 5,000 characters: the system takes at most 259."},
        {{word(40000), L""}, false, L"", L"Cannot open a name of 40,000 characters: the system takes at most 259."},
        {{longExisting, L""}, true, L"C:\\LONG\\NNNNNN~1", L""},
        {{L"notepad", word(5000)}, true, L"notepad", L""},
        // A name the shell searches for leaves room for the program's full path in front of the line.
        {{L"notepad", word(32501 - 8)}, true, L"notepad", L""},
        {{L"notepad", word(32502 - 8)}, false, L"",
         L"Cannot run a command of 32,502 characters: the system takes at most 32,501."},
        {{L"notepad", word(40000 - 8)}, false, L"",
         L"Cannot run a command of 40,000 characters: the system takes at most 32,501."},
        {{L"C:\\doc\\readme.txt", word(32502 - 18)}, false, L"",
         L"Cannot run a command of 32,502 characters: the system takes at most 32,501."},
        // A program named by its full path is started as named: the whole line is the command's.
        {{L"C:\\tools\\run.exe", word(32764 - 17)}, true, L"C:\\tools\\run.exe", L""},
        {{L"C:\\tools\\run.exe", word(32765 - 17)}, false, L"",
         L"Cannot run a command of 32,765 characters: the system takes at most 32,764."},
        {{L"C:\\tools\\gone.exe", word(32765 - 18)}, false, L"",
         L"Cannot run a command of 32,765 characters: the system takes at most 32,501."},
    };
    auto exists = [](const std::wstring &path) { return path == L"C:\\tools\\run.exe" || path == L"C:\\doc\\readme.txt"; };
    for (const Case &c : cases) {
        try {
            TShellRequest result = filelist::WithinShellLimits(c.request, shortPath, exists);
            EXPECT_TRUE(c.runs) << c.request.file.size();
            EXPECT_EQ(result.file, c.file);
            EXPECT_EQ(result.parameters, c.request.parameters);
        } catch (const std::exception &e) {
            EXPECT_FALSE(c.runs) << c.request.file.size();
            EXPECT_EQ(std::string(e.what()), std::string(c.message.begin(), c.message.end()));
        }
    }
}

TEST(History, AnExistingLongPathIsOpenedByItsShortForm) {
    testdriver::TempDir dir;
    std::wstring folder = std::wstring(150, L'd');
    std::wstring name = std::wstring(300 - dir.Path().size() - folder.size() - 1 - 4, L'n') + L".txt";
    std::wstring path = dir.File(folder + L"\\" + name, "text");
    ASSERT_EQ(path.size(), 300u);
    std::wstring shortened = filelist::WithinShellLimits({path, L""}).file;
    EXPECT_LE(shortened.size(), filelist::kMaxShellFileLength);
    EXPECT_EQ(testdriver::ReadFileBytes(shortened), "text");
}

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

TEST(History, LinesGoBackByteForByteAndAnUnchangedHistoryIsNotWritten) {
    testdriver::TempDir dir;
    // A NUL inside a line, bytes of every value but the line ends, an empty line, no final line end.
    std::string binary;
    for (int i = 0; i < 65536; ++i) {
        char c = static_cast<char>(i * 7 % 256);
        binary += (c == '\r' || c == '\n') ? 'x' : c;
        if (i % 100 == 99)
            binary += "\r\n";
    }
    const std::string contents[] = {
        std::string("before\0after\r\nsecond\r\n", 22),
        binary + "\r\n",
        "one\r\n\r\nthree",
    };
    for (const std::string &content : contents) {
        std::wstring path = dir.File(L"cmd.his", content);
        filelist::THistoryFile file;
        auto entries = file.Load(path);
        ASSERT_TRUE(entries.has_value());
        // Not written at all: a folder in the temporary file's place would make any write fail.
        dir.Folder(L"cmd.his.tmp");
        file.Save(path, *entries);
        EXPECT_EQ(testdriver::ReadFileBytes(path), content);
        RemoveDirectoryW((dir / L"cmd.his.tmp").c_str());

        entries->push_back(L"new");
        file.Save(path, *entries);
        std::string expected = content;
        if (expected.size() >= 2 && expected.substr(expected.size() - 2) != "\r\n")
            expected += "\r\n";
        EXPECT_EQ(testdriver::ReadFileBytes(path), expected + "new\r\n");
    }
}

// A file's lines as loaded: each whole, and ending in a NUL where it stands (the list takes it from there,
// up to its first NUL); an entry added to a copy of the history is in that copy only.
TEST(History, LoadedEntriesAreTheFilesLinesEachEndingInANul) {
    testdriver::TempDir dir;
    struct Case {
        std::string bytes;
        Lines entries;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {L"a"}},
        {"a\r\nbc\nd\re", {L"a", L"bc", L"d", L"e"}},
        {"\r\n\r\n", {L"", L""}},
        {"a\r\rb\n\nc\r\n", {L"a", L"", L"b", L"", L"c"}},
        {"a\n\rb", {L"a", L"", L"b"}},
        {std::string("x\0y\r\nz", 6), {std::wstring(L"x\0y", 3), L"z"}},
        {"1234567\r\n12345678\n123\t5678901\r", {L"1234567", L"12345678", L"123\t5678901"}},
    };
    for (const Case &c : cases) {
        std::wstring path = dir.File(L"cmd.his", c.bytes);
        filelist::THistoryFile file;
        auto entries = file.Load(path);
        ASSERT_TRUE(entries.has_value()) << c.bytes;
        EXPECT_EQ(*entries, c.entries) << c.bytes;
        Lines more = c.entries;
        more.push_back(L"new");
        Entries copy = *entries;
        copy.push_back(L"new");
        EXPECT_EQ(*entries, c.entries) << c.bytes;
        ASSERT_EQ(copy, more) << c.bytes;
        size_t characters = 0;
        for (size_t i = 0; i < more.size(); ++i) {
            EXPECT_EQ(std::wstring(copy.CString(i)), more[i].substr(0, more[i].find(L'\0'))) << c.bytes << " " << i;
            characters += more[i].size();
        }
        EXPECT_EQ(copy.Characters(), characters) << c.bytes;
    }
}

TEST(History, EntriesTheCodePageCannotHoldStayOutOfTheFile) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "the cases are written for code page 1252";
    testdriver::TempDir dir;
    std::wstring path = dir / L"cmd.his";
    struct Case {
        std::wstring entry;
        bool written;
        std::string bytes;
    };
    const Case cases[] = {
        {L"notepad r\u00e9sum\u00e9.txt", true, Bytes({'n', 'o', 't', 'e', 'p', 'a', 'd', ' ', 'r', 0xE9, 's', 'u',
                                                       'm', 0xE9, '.', 't', 'x', 't'})},
        {L"notepad \u043e\u0442\u0447\u0451\u0442.txt", false, ""}, // Cyrillic
        {L"a\u0100b", false, ""},                                     // best fit would write "aAb"
        {L"two\nlines", false, ""},
        {L"what?", true, "what?"},
        {L"", true, ""},
    };
    for (const Case &c : cases) {
        auto encoded = filelist::EncodeHistoryLine(c.entry);
        EXPECT_EQ(encoded.has_value(), c.written) << c.bytes;
        EXPECT_EQ(encoded.value_or(""), c.bytes);
    }

    filelist::THistoryFile file;
    Entries session = {L"dir", L"notepad \u043e\u0442\u0447\u0451\u0442.txt", L"what?"};
    file.Save(path, session);
    EXPECT_EQ(testdriver::ReadFileBytes(path), "dir\r\nwhat?\r\n");
    // The same session saved again leaves the file alone; a new entry brings it up to date.
    session.push_back(L"calc");
    file.Save(path, session);
    EXPECT_EQ(testdriver::ReadFileBytes(path), "dir\r\nwhat?\r\ncalc\r\n");
    EXPECT_EQ(filelist::ReadHistoryFile(path), (Lines{L"dir", L"what?", L"calc"}));
}

TEST(History, AFileThatCouldNotBeReadIsNotWrittenOver) {
    testdriver::TempDir dir;
    std::wstring path = dir.File(L"cmd.his", "old\r\n");
    HANDLE locked = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    filelist::THistoryFile file;
    EXPECT_THROW(file.Load(path), std::exception);
    CloseHandle(locked);
    file.Save(path, {L"new"});
    EXPECT_EQ(testdriver::ReadFileBytes(path), "old\r\n");
    // Another file is written as usual.
    file.Save(dir / L"other.his", {L"new"});
    EXPECT_EQ(testdriver::ReadFileBytes(dir / L"other.his"), "new\r\n");
}

// Made at once or at first use, the box keeps its entries exactly and lists a long history in steps, the
// text being typed untouched.
TEST(History, BoxKeepsEntriesExactlyAndListsALongHistoryInSteps) {
    for (bool atFirstUse : {false, true}) {
        HWND parent =
            CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        ui::THistoryBox box;
        if (atFirstUse) box.CreateOnFirstUse(parent, 1);
        else box.Create(parent, 1);
        std::vector<std::wstring> many;
        for (size_t i = 0; i < ui::THistoryBox::kListStep * 2 + 5; ++i)
            many.push_back(L"command " + std::to_wstring(i));
        many[1] = std::wstring(L"before\0after", 12);
        box.SetText(L"typed");
        box.SetItems(Entries(many));
        box.AddItem(L"run meanwhile");
        EXPECT_FALSE(box.ListComplete()) << atFirstUse;
        EXPECT_EQ(box.Count(), static_cast<int>(many.size()) + 1) << atFirstUse;
        EXPECT_EQ(box.Items()[1], many[1]) << atFirstUse;
        if (atFirstUse) {
            EXPECT_FALSE(box.WindowMade()) << "nothing above needs the list";
            box.MakeWindow();
        }
        MSG msg;
        for (int i = 0; i < 500 && !box.ListComplete(); ++i) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            Sleep(5);
        }
        ASSERT_TRUE(box.ListComplete()) << atFirstUse;
        // The list shows every entry in order, the one added meanwhile last.
        ASSERT_EQ(box.ui::TComboBox::Count(), box.Count()) << atFirstUse;
        EXPECT_EQ(box.Item(0), L"command 0") << atFirstUse;
        EXPECT_EQ(box.Item(1), L"before") << atFirstUse;
        EXPECT_EQ(box.Item(static_cast<int>(many.size()) - 1), many.back()) << atFirstUse;
        EXPECT_EQ(box.Item(static_cast<int>(many.size())), L"run meanwhile") << atFirstUse;
        EXPECT_EQ(box.Text(), L"typed") << atFirstUse;
        DestroyWindow(parent);
    }
}

TEST(History, TheCommandInterpreterIsCommandComOrWhatComspecNames) {
    std::wstring saved(GetEnvironmentVariableW(L"COMSPEC", nullptr, 0), L'\0');
    GetEnvironmentVariableW(L"COMSPEC", saved.data(), static_cast<DWORD>(saved.size()));
    const std::wstring deep = L"C:\\" + std::wstring(400, L'd') + L"\\cmd.exe";
    struct Case {
        bool commandCom;
        const wchar_t *comspec; // null: not set
        std::wstring interpreter;
    };
    const Case cases[] = {
        {true, L"C:\\windows\\system32\\cmd.exe", L"C:\\Command.com"},
        {false, L"C:\\windows\\system32\\cmd.exe", L"C:\\windows\\system32\\cmd.exe"},
        {false, deep.c_str(), deep},
        {false, nullptr, L"cmd.exe"},
    };
    for (const Case &c : cases) {
        SetEnvironmentVariableW(L"COMSPEC", c.comspec);
        auto exists = [&](const std::wstring &path) { return c.commandCom && path == L"C:\\Command.com"; };
        EXPECT_EQ(filelist::CommandInterpreter(exists), c.interpreter);
    }
    SetEnvironmentVariableW(L"COMSPEC", saved.empty() ? nullptr : saved.c_str());
}

} // namespace
