#include "fileops/FileOp.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <map>
#include <cwctype>
#include <vector>

#include "fileops/LongPathOps.h"
#include "fileops/MakeDirectories.h"
#include "fileops/PathRules.h"
#include "fileops/ProgressForm.h"
#include "fileops/RecycleBin.h"
#include "ui/Handles.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Text.h"

namespace fileops {

namespace {

constexpr wchar_t kAllFiles[] = L"\\*.*";

bool IsDirectory(const std::wstring &path) { return ItemIsFolder(path); }

std::wstring DestinationName(const std::wstring &name) {
    const size_t tail = std::size(kAllFiles) - 1;
    if (name.size() <= tail || name.compare(name.size() - tail, tail, kAllFiles) != 0)
        return name;
    // Keep the "\": "C:" alone would mean the drive's current directory, not its root.
    std::wstring directory = name.substr(0, name.size() - tail + 1);
    return IsDirectory(directory) ? directory : name;
}

// The names as one shell list.
std::wstring JoinedList(const std::vector<std::wstring> &names) {
    std::wstring list;
    for (const std::wstring &name : names)
        list += name + L'\0';
    return list + L'\0';
}

// The shell's result in words: its own codes (from 0x71) have no system text; the others are system codes.
std::wstring ShellFailureText(int code) {
    static const struct {
        int code;
        const wchar_t *text;
    } kShellCodes[] = {
        {0x71, L"The source and destination are the same file."},
        {0x72, L"Several sources were given one destination file."},
        {0x73, L"A rename was asked across folders."},
        {0x74, L"The source is a drive's root folder."},
        {0x75, L"The operation was cancelled."},
        {0x76, L"The destination is inside the source folder."},
        {0x78, L"Access to the source was denied."},
        {0x79, L"A path is too deep for the shell."},
        {0x7A, L"Several destinations were given to one source."},
        {0x7C, L"A source or destination path is not valid."},
        {0x7D, L"The source and destination are the same folder."},
        {0x7E, L"The destination is a file where a folder was needed."},
        {0x80, L"The destination is a folder where a file was needed."},
        {0x81, L"A name is too long."},
        {0x82, L"The destination is a CD-ROM drive."},
        {0x83, L"The destination is a DVD drive."},
        {0x84, L"The destination is a CD-RW drive."},
        {0x85, L"A file is too large for the destination."},
        {0x86, L"The source is a CD-ROM drive."},
        {0x87, L"The source is a DVD drive."},
        {0x88, L"The source is a CD-RW drive."},
        {0xB7, L"A path is longer than the shell takes."},
        {0x402, L"The shell met an unknown error."},
        {0x10000, L"The shell met an error on the destination."},
    };
    if (code == 0)
        return L"The shell left it in place without saying why.";
    for (const auto &known : kShellCodes)
        if (known.code == code)
            return known.text;
    return ui::SystemErrorText(static_cast<DWORD>(code));
}

} // namespace

UINT ShellFunction(TFileOp op) {
    switch (op) {
    case foCopy:
        return FO_COPY;
    case foDelete:
        return FO_DELETE;
    case foMove:
        return FO_MOVE;
    case foRename:
        return FO_RENAME;
    }
    return FO_COPY;
}

FILEOP_FLAGS ShellFlags(TFileOpFlags flags) {
    static const FILEOP_FLAGS kBits[] = {FOF_ALLOWUNDO,         FOF_CONFIRMMOUSE,   FOF_FILESONLY,
                                         FOF_MULTIDESTFILES,    FOF_NOCONFIRMATION, FOF_NOCONFIRMMKDIR,
                                         FOF_RENAMEONCOLLISION, FOF_SILENT,         FOF_SIMPLEPROGRESS};
    FILEOP_FLAGS word = 0;
    for (size_t n = 0; n < std::size(kBits); ++n)
        if (flags & (1u << n))
            word |= kBits[n];
    return word;
}

std::wstring ShellNameList(const std::wstring &names) {
    // Only NUL separates: ";" is a legal part of a file name.
    return names + std::wstring(2, L'\0');
}

std::wstring ShellDestinationList(const std::wstring &names) {
    // Same list, name by name; the empty names that end it stay as they are.
    std::wstring list = ShellNameList(names);
    std::wstring out;
    for (size_t start = 0; start < list.size();) {
        size_t end = list.find(L'\0', start);
        out += DestinationName(list.substr(start, end - start));
        out += L'\0';
        start = end + 1;
    }
    return out;
}

HWND TFileOperation::OwnerWindow() const {
    if (owner_ && IsWindow(owner_))
        return owner_;
    ui::TForm *main = ui::Application().MainForm();
    return main ? main->Handle() : nullptr;
}

bool TFileOperation::CallShell(const std::wstring &from, const std::wstring &to) {
    SHFILEOPSTRUCTW request{};
    request.hwnd = OwnerWindow();
    request.wFunc = ShellFunction(operation_);
    request.pFrom = from.c_str();
    request.pTo = to.c_str();
    request.fFlags = ShellFlags(flags_);
    request.lpszProgressTitle = progressTitle_.c_str();
    int result = SHFileOperationW(&request);
    bool aborted = request.fAnyOperationsAborted != FALSE;
    if (result != 0 && shellCode_ == 0)
        shellCode_ = result;
    return aborted || result != 0;
}

void TFileOperation::Problem(const std::wstring &path, const std::wstring &why) {
    // Quoted, so that a name ending in a space shows where it ends.
    problems_ += L"\n\"" + path + L"\"\n    " + why;
}

void TFileOperation::Execute() {
    failure_.clear();
    problems_.clear();
    shellCode_ = 0;
    operationAborted_ = false;
    // A file sent to the Recycle Bin must never be deleted for good because the bin was not there.
    if (operation_ == foDelete && (flags_ & FileOpFlagBit(fofAllowUndo)) && !PrepareRecycleBin()) {
        operationAborted_ = true;
        failure_ = L"The Recycle Bin cannot take files now. Nothing was deleted.";
        return;
    }
    Run();
    if (!problems_.empty()) {
        operationAborted_ = true;
        failure_ = Heading() + problems_;
    }
}

std::wstring TFileOperation::Heading() const {
    switch (operation_) {
    case foCopy:
        return L"Not copied:";
    case foDelete:
        return L"Not deleted:";
    default:
        return L"Not moved:";
    }
}

void TFileOperation::Run() {
    TSystemProbe probe;
    TOperationPlan plan = PlanOperation(operation_, filesFrom_, ShellDestinationList(filesTo_), flags_, probe);
    if (!plan.stop.empty()) {
        for (const TItem &item : plan.items)
            Problem(item.source, item.why);
        Problem(plan.stopPath, plan.stop);
        return;
    }
    TWindowPrompts windowPrompts(OwnerWindow());
    IOperationPrompts &prompts = prompts_ ? *prompts_ : windowPrompts;
    // Everything is asked before anything is done, so that Cancel leaves everything as it was.
    std::vector<TItem> shellItems, ownItems;
    bool readOnlyToAll = false, anyRefused = false;
    for (TItem &item : plan.items) {
        if (item.route == TRoute::refused) {
            Problem(item.source, item.why);
            anyRefused = true;
            continue;
        }
        bool replace = true;
        if (item.question == TQuestion::replace) {
            TReplaceAnswer answer = prompts.AskReplace(item.target, ItemIsFolder(item.target));
            if (answer == raCancel) {
                operationAborted_ = true;
                return;
            }
            replace = answer == raReplace;
        } else if (item.question == TQuestion::replaceReadOnly && !readOnlyToAll) {
            TReadOnlyAnswer answer = prompts.AskReadOnly(item.target, true);
            if (answer == roCancel) {
                operationAborted_ = true;
                return;
            }
            readOnlyToAll = answer == roYesToAll;
            replace = answer != roNo;
        }
        if (replace)
            (item.route == TRoute::own ? ownItems : shellItems).push_back(std::move(item));
    }
    if (shellItems.empty() && ownItems.empty()) {
        // All skipped: nothing was done, and that is not a failure.
        if (!anyRefused)
            operationAborted_ = true;
        return;
    }
    if (!plan.makeFolder.empty()) {
        MakeDirectories(plan.makeFolder);
        if (!ItemIsFolder(plan.makeFolder)) {
            Problem(plan.makeFolder, L"The folder cannot be created. Nothing was moved or copied.");
            return;
        }
    }
    bool multiDest = (flags_ & FileOpFlagBit(fofMultiDestFiles)) != 0;
    if (!shellItems.empty())
        RunShell(shellItems, plan.destinations, multiDest);
    if (!ownItems.empty() && !operationAborted_)
        RunOwn(ownItems, prompts);
}

void TFileOperation::RunShell(const std::vector<TItem> &items, const std::vector<std::wstring> &allDestinations,
                              bool multiDest) {
    std::vector<std::wstring> destinations = allDestinations;
    std::vector<std::wstring> sources;
    for (const TItem &item : items)
        sources.push_back(item.source);
    if (multiDest) {
        // Only the destinations of the items that go to the shell, in their order.
        destinations.clear();
        for (const TItem &item : items)
            destinations.push_back(item.target);
    }
    std::wstring to = JoinedList(destinations);
    // Some shells refuse to move several plain files into one directory in a single request (Wine cancels
    // it); one request per file moves them just the same.
    bool oneByOne = operation_ == foMove && !multiDest && sources.size() > 1 && destinations.size() == 1 &&
                    ItemIsFolder(destinations[0]) && std::none_of(sources.begin(), sources.end(), ItemIsFolder);
    if (!oneByOne) {
        operationAborted_ = CallShell(JoinedList(sources), to);
    } else {
        for (const std::wstring &source : sources) {
            operationAborted_ = CallShell(ShellNameList(source), to);
            if (operationAborted_)
                break;
        }
    }
    for (const TItem &item : items) {
        size_t before = problems_.size();
        if (operation_ == foCopy || operation_ == foMove)
            VerifyCopy(item.source, item.target, item.scan);
        if (problems_.size() == before)
            ReportLeft(item);
    }
}

// A copy that came out shorter than its source (a full disk) is removed when the program made it, and
// named with the reason; a file the copy did not touch is left as it was.
void TFileOperation::VerifyCopy(const std::wstring &source, const std::wstring &target, const TItemScan &scan) {
    // What a link points at is no part of the copy.
    if (target.empty() || ItemIsLink(source))
        return;
    if (ItemIsFolder(source)) {
        WIN32_FIND_DATAW fd;
        ui::FindHandle find(FindFirstFileW((LongPath(source) + L"\\*").c_str(), &fd));
        if (find.get() == INVALID_HANDLE_VALUE)
            return;
        do {
            std::wstring name = fd.cFileName;
            if (name != L"." && name != L"..")
                VerifyCopy(source + L"\\" + name, target + L"\\" + name, scan);
        } while (FindNextFileW(find.get(), &fd));
        return;
    }
    unsigned long long sourceSize = 0, targetSize = 0;
    FILETIME written{};
    if (!ItemSize(source, sourceSize) || !ItemSize(target, targetSize, &written) || targetSize >= sourceSize)
        return;
    auto before = scan.targetsBefore.find(target);
    if (before != scan.targetsBefore.end() && before->second.first == targetSize &&
        CompareFileTime(&before->second.second, &written) == 0)
        return; // not replaced: skipped or refused, and still the user's own file
    // Why, as the volume tells it now: no room left for the rest, or else whatever the shell said.
    DWORD why = ERROR_DISK_FULL;
    ULARGE_INTEGER available{}, total{}, free{};
    if (GetDiskFreeSpaceExW(VolumeOf(target).c_str(), &available, &total, &free) &&
        available.QuadPart >= sourceSize - targetSize)
        why = shellCode_ > 0 && shellCode_ < 0x70 ? static_cast<DWORD>(shellCode_) : ERROR_WRITE_FAULT;
    if (before == scan.targetsBefore.end())
        DeleteFileW(LongPath(target).c_str());
    Problem(source, L"The copy \"" + target + L"\" was cut off" +
                        (before == scan.targetsBefore.end() ? L" and removed: " : L": ") + ui::SystemErrorText(why));
}

void TFileOperation::RunOwn(const std::vector<TItem> &items, IOperationPrompts &prompts) {
    if (operation_ == foDelete && !(flags_ & FileOpFlagBit(fofNoConfirmation))) {
        std::vector<std::wstring> names;
        for (const TItem &item : items)
            names.push_back(item.source);
        if (!prompts.ConfirmDelete(names)) {
            operationAborted_ = true;
            return;
        }
    }
    unsigned long files = 0;
    unsigned long long bytes = 0;
    for (const TItem &item : items) {
        files += item.scan.files;
        bytes += item.scan.bytes;
    }
    TWorkControl control;
    // Asked nothing, a read-only file goes as any other.
    control.readOnlyToAll = (flags_ & FileOpFlagBit(fofNoConfirmation)) != 0;
    std::vector<TStepFailure> failures(items.size());
    auto work = [&] {
        for (size_t i = 0; i < items.size() && !control.cancel; ++i) {
            const TItem &item = items[i];
            if (operation_ == foDelete)
                failures[i] = DeleteItem(item.source, &control);
            else if (operation_ == foCopy)
                failures[i] = item.target == item.source ? TStepFailure{} : CopyItem(item.source, item.target, &control);
            else
                failures[i] = item.target == item.source ? TStepFailure{} : MoveItem(item.source, item.target, &control);
        }
    };
    static const wchar_t *const kCaptions[] = {L"Copying...", L"Deleting...", L"Moving...", L"Moving..."};
    if (flags_ & FileOpFlagBit(fofSilent)) {
        control.askReadOnly = [&prompts](const std::wstring &path) { return prompts.AskReadOnly(path, false); };
        work();
    } else {
        TProgressForm progress;
        progress.Run(kCaptions[operation_], control, files, bytes, prompts, work);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const TStepFailure &failure = failures[i];
        if (!failure || failure.code == ERROR_CANCELLED)
            continue;
        const std::wstring &source = items[i].source;
        Problem(source, (failure.path == source ? L"" : L"At \"" + failure.path + L"\": ") +
                            ui::SystemErrorText(failure.code));
    }
    if (control.cancel) {
        operationAborted_ = true;
        // What a cancel leaves is said, so that nobody takes the run for whole.
        Problem(control.Current(), L"Cancelled after " + Grouped(control.doneFiles) + L" of " + Grouped(files) +
                                       L" items (" + Grouped(control.doneBytes) + L" of " + Grouped(bytes) +
                                       L" bytes); the item at hand was not finished and nothing half-written "
                                       L"was left.");
    }
}

// A copy the shell called done must be there; a move or delete must have taken its source away. What the
// user stopped in the shell's own questions is the user's choice, not a failure.
void TFileOperation::ReportLeft(const TItem &item) {
    if (operationAborted_ && shellCode_ == 0)
        return;
    bool left = false;
    if (operation_ == foCopy)
        left = !item.target.empty() && !ItemExists(item.target);
    else
        left = ItemExistsExactly(item.source) && _wcsicmp(item.target.c_str(), item.source.c_str()) != 0;
    if (left)
        Problem(item.source, ShellFailureText(shellCode_));
}

} // namespace fileops
