// Planning decides, before anything is written or asked, who does each item and what must be asked.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fileops/OperationPlan.h"
#include "ui/Text.h"

using namespace fileops;

namespace {

const std::wstring kNul(1, L'\0');
constexpr DWORD kFile = FILE_ATTRIBUTE_ARCHIVE, kFolder = FILE_ATTRIBUTE_DIRECTORY;

// A file system of names: attributes by exact path (case twins are two names), volumes by drive letter.
class NamedProbe : public IFileProbe {
public:
    std::map<std::wstring, DWORD> items;
    std::map<std::wstring, TItemScan> scans; // by source; a plain file's scan is made from its size
    unsigned long long freeBytes = 1ull << 40;
    unsigned long unit = 1;

    DWORD Attributes(const std::wstring &path) const override {
        std::wstring plain = path;
        while (plain.size() > 3 && plain.back() == L'\\')
            plain.pop_back();
        // The system's lookups ignore case.
        for (const auto &[name, attributes] : items)
            if (_wcsicmp(name.c_str(), plain.c_str()) == 0)
                return attributes;
        return INVALID_FILE_ATTRIBUTES;
    }
    bool ExistsExactly(const std::wstring &path) const override { return items.count(path) != 0; }
    TItemScan Scan(const std::wstring &source, const std::wstring &target, bool) const override {
        auto it = scans.find(source);
        TItemScan scan = it == scans.end() ? TItemScan{} : it->second;
        if (it == scans.end())
            scan.sizes = {100}, scan.bytes = 100, scan.files = 1;
        if (!target.empty() && ExistsExactly(target))
            scan.targetsBefore[target] = {900, FILETIME{}};
        return scan;
    }
    std::wstring Volume(const std::wstring &path) const override { return path.substr(0, 3); }
    bool Space(const std::wstring &, unsigned long long &bytes, unsigned long &allocation) const override {
        bytes = freeBytes;
        allocation = unit;
        return true;
    }
};

TItemScan ScanOf(std::vector<unsigned long long> sizes, std::vector<std::wstring> links = {}, bool readOnly = false,
                 TStepFailure unreadable = {}) {
    TItemScan scan;
    scan.sizes = sizes;
    for (unsigned long long size : sizes)
        scan.bytes += size;
    scan.files = static_cast<unsigned long>(sizes.size() + links.size());
    scan.links = links;
    scan.readOnly = readOnly;
    scan.unreadable = unreadable;
    return scan;
}

TEST(PlanOperation, EachItemGoesToTheShellToTheProgramOrIsRefusedAndTheRightQuestionIsAsked) {
    const std::wstring diskFull = ui::SystemErrorText(ERROR_DISK_FULL);
    struct Case {
        const char *situation;
        TFileOp op;
        TFileOpFlags flags;
        std::wstring from, to;
        std::map<std::wstring, DWORD> items;
        std::map<std::wstring, TItemScan> scans;
        unsigned long long freeBytes;
        unsigned long unit;
        TRoute route;
        TQuestion question;
        std::wstring target; // where the item goes
        std::wstring why;    // a part of the refusal
    } cases[] = {
        {"a plain copy", foCopy, 0, L"C:\\a\\f.txt", L"C:\\b\\*.*", {{L"C:\\a\\f.txt", kFile}, {L"C:\\b", kFolder}},
         {}, 1 << 20, 1, TRoute::shell, TQuestion::none, L"C:\\b\\f.txt", L""},
        {"a name the shell would cut", foCopy, 0, L"C:\\a\\f.txt ", L"C:\\b\\*.*",
         {{L"C:\\a\\f.txt ", kFile}, {L"C:\\b", kFolder}}, {}, 1 << 20, 1, TRoute::own, TQuestion::none,
         L"C:\\b\\f.txt ", L""},
        // Never into itself, for the shell's names and the program's alike.
        {"a folder copied into its subfolder", foCopy, 0, L"C:\\a\\dir", L"C:\\a\\dir\\sub\\*.*",
         {{L"C:\\a\\dir", kFolder}, {L"C:\\a\\dir\\sub", kFolder}}, {}, 1 << 20, 1, TRoute::refused,
         TQuestion::none, L"", kIntoItself},
        {"a folder moved into its subfolder", foMove, 0, L"C:\\a\\dir ", L"C:\\a\\DIR \\sub\\",
         {{L"C:\\a\\dir ", kFolder}, {L"C:\\a\\dir \\sub", kFolder}}, {}, 1 << 20, 1, TRoute::refused,
         TQuestion::none, L"", kIntoItself},
        {"a folder moved into itself through dots", foMove, 0, L"C:\\a\\dir", L"C:\\a\\x\\..\\dir\\new",
         {{L"C:\\a\\dir", kFolder}, {L"C:\\a\\x", kFolder}}, {}, 1 << 20, 1, TRoute::refused, TQuestion::none, L"",
         kIntoItself},
        {"a folder beside one that starts with its name", foCopy, 0, L"C:\\a\\dir", L"C:\\a\\dir2\\*.*",
         {{L"C:\\a\\dir", kFolder}, {L"C:\\a\\dir2", kFolder}}, {}, 1 << 20, 1, TRoute::shell, TQuestion::none,
         L"C:\\a\\dir2\\dir", L""},
        // A case twin is another file; a pure case change is not a replace.
        {"a rename onto a case twin", foMove, 0, L"C:\\a\\Case.txt", L"C:\\a\\case.txt",
         {{L"C:\\a\\Case.txt", kFile}, {L"C:\\a\\case.txt", kFile}}, {}, 1 << 20, 1, TRoute::own,
         TQuestion::replace, L"C:\\a\\case.txt", L""},
        {"a case change", foMove, 0, L"C:\\a\\Case.txt", L"C:\\a\\CASE.txt", {{L"C:\\a\\Case.txt", kFile}}, {},
         1 << 20, 1, TRoute::own, TQuestion::none, L"C:\\a\\CASE.txt", L""},
        // A replace is the program's, so that a refusal of it is told; a read-only target asks so.
        {"a copy onto a file", foCopy, 0, L"C:\\a\\f.txt", L"C:\\b\\*.*",
         {{L"C:\\a\\f.txt", kFile}, {L"C:\\b", kFolder}, {L"C:\\b\\f.txt", kFile}}, {}, 1 << 20, 1, TRoute::own,
         TQuestion::replace, L"C:\\b\\f.txt", L""},
        {"a copy onto a read-only file", foCopy, 0, L"C:\\a\\f.txt", L"C:\\b\\*.*",
         {{L"C:\\a\\f.txt", kFile}, {L"C:\\b", kFolder}, {L"C:\\b\\f.txt", kFile | FILE_ATTRIBUTE_READONLY}}, {},
         1 << 20, 1, TRoute::own, TQuestion::replaceReadOnly, L"C:\\b\\f.txt", L""},
        {"a copy onto a file, asked nothing", foCopy, FileOpFlagBit(fofNoConfirmation), L"C:\\a\\f.txt",
         L"C:\\b\\*.*", {{L"C:\\a\\f.txt", kFile}, {L"C:\\b", kFolder}, {L"C:\\b\\f.txt", kFile}}, {}, 1 << 20, 1,
         TRoute::own, TQuestion::none, L"C:\\b\\f.txt", L""},
        // Links are the program's, never walked; one that cannot be read as a link is not copied at all.
        {"a delete of a folder holding a link", foDelete, 0, L"C:\\a\\dir", L"", {{L"C:\\a\\dir", kFolder}},
         {{L"C:\\a\\dir", ScanOf({5}, {L"C:\\a\\dir\\ext"})}}, 1 << 20, 1, TRoute::own, TQuestion::none, L"", L""},
        {"the same to the Recycle Bin", foDelete, FileOpFlagBit(fofAllowUndo), L"C:\\a\\dir", L"",
         {{L"C:\\a\\dir", kFolder}}, {{L"C:\\a\\dir", ScanOf({5}, {L"C:\\a\\dir\\ext"})}}, 1 << 20, 1,
         TRoute::shell, TQuestion::none, L"", L""},
        {"a move to another drive of a folder holding an unreadable link", foMove, 0, L"C:\\a\\dir", L"D:\\",
         {{L"C:\\a\\dir", kFolder}, {L"D:\\", kFolder}},
         {{L"C:\\a\\dir", ScanOf({5}, {L"C:\\a\\dir\\ext"}, false, {L"C:\\a\\dir\\ext", ERROR_NOT_A_REPARSE_POINT})}},
         1 << 20, 1, TRoute::refused, TQuestion::none, L"", L"\"C:\\a\\dir\\ext\" cannot be read"},
        // Read-only files to delete for good are asked about by the program.
        {"a delete of a folder holding a read-only file", foDelete, 0, L"C:\\a\\dir", L"", {{L"C:\\a\\dir", kFolder}},
         {{L"C:\\a\\dir", ScanOf({5}, {}, true)}}, 1 << 20, 1, TRoute::own, TQuestion::none, L"", L""},
        // Space: what a replace gives back counts, and files take whole allocation units.
        {"a replace that fits only with what the old file gives back", foCopy, 0, L"C:\\a\\f.txt", L"C:\\b\\*.*",
         {{L"C:\\a\\f.txt", kFile}, {L"C:\\b", kFolder}, {L"C:\\b\\f.txt", kFile}},
         {{L"C:\\a\\f.txt", ScanOf({1000})}}, 200, 1, TRoute::own, TQuestion::replace, L"C:\\b\\f.txt", L""},
        {"small files that fit in bytes but not in allocation units", foCopy, 0, L"C:\\a\\dir", L"C:\\b\\*.*",
         {{L"C:\\a\\dir", kFolder}, {L"C:\\b", kFolder}}, {{L"C:\\a\\dir", ScanOf({10, 10, 10})}}, 10000, 4096,
         TRoute::refused, TQuestion::none, L"", diskFull},
        {"the same with room for the units", foCopy, 0, L"C:\\a\\dir", L"C:\\b\\*.*",
         {{L"C:\\a\\dir", kFolder}, {L"C:\\b", kFolder}}, {{L"C:\\a\\dir", ScanOf({10, 10, 10})}}, 12288, 4096,
         TRoute::shell, TQuestion::none, L"C:\\b\\dir", L""},
    };
    for (const Case &c : cases) {
        NamedProbe probe;
        probe.items = c.items;
        probe.scans = c.scans;
        probe.freeBytes = c.freeBytes;
        probe.unit = c.unit;
        TOperationPlan plan = PlanOperation(c.op, c.from, c.to, c.flags, probe);
        ASSERT_EQ(plan.items.size(), 1u) << c.situation;
        const TPlannedItem &item = plan.items[0];
        EXPECT_EQ(item.source, c.from) << c.situation;
        EXPECT_EQ(item.route, c.route) << c.situation;
        EXPECT_EQ(item.question, c.question) << c.situation;
        if (c.route != TRoute::refused) {
            EXPECT_EQ(item.target, c.target) << c.situation;
        }
        if (!c.why.empty()) {
            EXPECT_NE(item.why.find(c.why), std::wstring::npos) << c.situation << ": " << item.why;
        }
    }
}

} // namespace
