// Random bytes for the history file and random lengths for the command line, against simple references.
#include "FuzzBudget.h"

#include "driver/TempDir.h"
#include "filelist/CommandLine.h"
#include "filelist/HistoryFile.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using fuzz::TFuzzBudget;

void WriteBytes(const std::wstring &path, const std::string &bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// Lines end at CR, LF or CR LF; a final line end adds no empty line.
std::vector<std::string> ReferenceLines(const std::string &bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += bytes[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

TEST(HistoryFuzz, AnyFileReadsAsItsLinesAndAnUnchangedHistoryLeavesItsBytesAlone) {
    TFuzzBudget budget;
    SCOPED_TRACE("ZELVOR_FUZZ_SEED=" + std::to_string(budget.Seed()));
    testdriver::TempDir dir;
    const std::wstring path = dir / L"cmd.his";
    const std::string alphabet("ab \r\n\r\n\x00\xE9\xFF\x98?", 12);
    while (budget.More()) {
        std::string bytes = budget.Pick(alphabet, budget.OneIn(50) ? 5000 : 40);
        WriteBytes(path, bytes);
        auto lines = filelist::ReadHistoryLines(path);
        ASSERT_TRUE(lines.has_value());
        ASSERT_EQ(*lines, ReferenceLines(bytes));

        filelist::THistoryFile history;
        auto entries = history.Load(path);
        ASSERT_TRUE(entries.has_value());
        history.Save(path, *entries);
        ASSERT_EQ(testdriver::ReadFileBytes(path), bytes) << "an unchanged history was written";

        // A new entry: every old line comes back byte for byte, then the new one.
        entries->push_back(L"new entry");
        history.Save(path, *entries);
        auto after = filelist::ReadHistoryLines(path);
        ASSERT_TRUE(after.has_value());
        std::vector<std::string> expected = ReferenceLines(bytes);
        expected.push_back("new entry");
        ASSERT_EQ(*after, expected);
    }
}

TEST(CommandLineFuzz, CommandsOfAnyLengthAreHandedOnWithinTheSystemsLimitsOrRefused) {
    TFuzzBudget budget;
    SCOPED_TRACE("ZELVOR_FUZZ_SEED=" + std::to_string(budget.Seed()));
    const std::wstring alphabet = L"aaaaaaaa \"\\.;\x0436";
    const size_t lengths[] = {0, 1, 258, 259, 260, 980, 984, 988, 5000, 32764, 32766, 32767, 40000};
    while (budget.More()) {
        size_t length = budget.OneIn(2) ? lengths[budget.Below(std::size(lengths))] : budget.Below(41000);
        std::wstring command(length, L'a');
        for (wchar_t &c : command)
            c = alphabet[budget.Below(alphabet.size())];
        bool exists = budget.OneIn(4);
        std::wstring shortForm = budget.OneIn(2) ? L"C:\\SHORT~1.EXE" : L"";
        filelist::TShellRequest request = filelist::CommandLineRunRequest(
            L"C:\\dir\\", command, [&](const std::wstring &) { return exists; });
        try {
            filelist::TShellRequest handed =
                filelist::WithinShellLimits(request, [&](const std::wstring &) { return shortForm; });
            // What the shell gets it can take: a name of at most 259 characters, a line of at most 32,767
            // with its closing NUL (the name in quotes, a blank, the parameters).
            ASSERT_LE(handed.file.size(), 259u);
            size_t line = handed.file.size() + 2 + (handed.parameters.empty() ? 0 : 1 + handed.parameters.size());
            ASSERT_LE(line, 32766u);
            ASSERT_EQ(handed.parameters, request.parameters);
            ASSERT_TRUE(handed.file == request.file || handed.file == shortForm);
        } catch (const std::runtime_error &e) {
            ASSERT_STRNE(e.what(), "");
        }
    }
}

} // namespace
