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

// The names of a shell name list, up to the empty name that ends it.
std::vector<std::wstring> NamesOf(const std::wstring &list) {
    std::vector<std::wstring> names;
    for (size_t start = 0; start < list.size() && list[start] != L'\0';) {
        size_t end = list.find(L'\0', start);
        names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// The folder a destination names: without a trailing "*.*" or "\".
std::wstring FolderOf(std::wstring name) {
    const size_t tail = std::size(kAllFiles) - 1;
    if (name.size() > tail && name.compare(name.size() - tail, tail, kAllFiles) == 0)
        name.erase(name.size() - tail + 1);
    while (name.size() > 3 && name.back() == L'\\')
        name.pop_back();
    return name;
}

// The names as one shell list.
std::wstring JoinedList(const std::vector<std::wstring> &names) {
    std::wstring list;
    for (const std::wstring &name : names)
        list += name + L'\0';
    return list + L'\0';
}

// Where a move puts the source: inside a destination folder under its own name, or the destination itself.
std::wstring TargetOf(const std::wstring &source, const std::vector<std::wstring> &destinations, size_t index) {
    if (index >= destinations.size() || destinations[index].empty())
        return {};
    const std::wstring &destination = destinations[index];
    const size_t tail = std::size(kAllFiles) - 1;
    bool allFiles = destination.size() > tail && destination.compare(destination.size() - tail, tail, kAllFiles) == 0;
    if (destinations.size() == 1 && (allFiles || IsDirectory(destination))) {
        std::wstring name = source.substr(source.rfind(L'\\') + 1);
        std::wstring folder = allFiles ? FolderOf(destination) : destination;
        if (folder.back() != L'\\')
            folder += L'\\';
        return folder + name;
    }
    return destination;
}

// Windows' shell asks before a move replaces something; Wine's replaces without a word.
bool ShellConfirmsReplacingMoves() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
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

TReplaceAnswer AskReplace(HWND owner, const std::wstring &target) {
    std::wstring name = target.substr(target.rfind(L'\\') + 1);
    // The shell's own words for the same question on a copy.
    std::wstring text =
        IsDirectory(target)
            ? L"This folder already contains a folder named '" + name +
                  L"'.\n\nIf the files in the destination folder have the same names as files in the\nselected "
                  L"folder they will be replaced. Do you still want to move or copy\nthe folder?"
            : L"This folder already contains a file called '" + name + L"'.\n\nDo you want to replace it?";
    switch (MessageBoxW(owner, text.c_str(), L"Confirm file overwrite", MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return raReplace;
    case IDNO:
        return raSkip;
    default:
        return raCancel;
    }
}

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
    if (owner_ && dynamic_cast<const ui::TForm *>(owner_))
        return owner_->Handle();
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
    problems_ += L"\n" + path + L"\n    " + why;
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
    std::vector<std::wstring> sources;
    for (const std::wstring &source : NamesOf(ShellNameList(filesFrom_))) {
        // What the shell would read as other items (a wildcard, a name it would cut) never reaches it.
        TNameTrouble trouble = PathTrouble(source);
        if (!ReachableByLongPath(trouble))
            Problem(source, L"It cannot be reached exactly: " + TroubleText(trouble) + L".");
        // Wine's shell passes over a source that is not there without a word.
        else if (!ItemExistsExactly(source))
            Problem(source, ui::SystemErrorText(ERROR_FILE_NOT_FOUND));
        else
            sources.push_back(source);
    }
    if (sources.empty())
        return;
    std::wstring to = ShellDestinationList(filesTo_);
    std::vector<std::wstring> destinations = NamesOf(to);
    bool transfer = operation_ == foCopy || operation_ == foMove;
    bool multiDest = (flags_ & FileOpFlagBit(fofMultiDestFiles)) != 0;
    if (transfer) {
        for (const std::wstring &destination : destinations) {
            // A wildcard in the last name is a pattern for the shell; anywhere else it names other folders.
            std::wstring checked = FolderOf(destination);
            size_t last = checked.rfind(L'\\');
            if (last != std::wstring::npos && checked.find_first_of(L"*?", last) != std::wstring::npos)
                checked.erase(last + 1);
            if (checked.empty())
                continue;
            TNameTrouble trouble = PathTrouble(checked);
            if (!ReachableByLongPath(trouble)) {
                Problem(destination, L"The destination cannot be reached exactly: " + TroubleText(trouble) + L".");
                return;
            }
        }
    }
    // Several sources and one destination: the destination is a folder, made when missing, as Windows'
    // shell does (Wine's cancels such a request).
    if (transfer && !multiDest && sources.size() > 1 && destinations.size() == 1 && !ItemIsFolder(destinations[0])) {
        std::wstring folder = FolderOf(destinations[0]);
        MakeDirectories(folder);
        if (!ItemIsFolder(folder)) {
            Problem(folder, L"The folder cannot be created. Nothing was moved or copied.");
            return;
        }
        destinations[0] = folder + L"\\";
        to = ShellNameList(destinations[0]);
    }
    if ((operation_ == foMove || operation_ == foRename) && !(flags_ & FileOpFlagBit(fofNoConfirmation)) &&
        !ShellConfirmsReplacingMoves()) {
        std::vector<std::wstring> kept;
        for (size_t i = 0; i < sources.size(); ++i) {
            std::wstring target = TargetOf(sources[i], destinations, multiDest ? i : 0);
            if (target.empty() || !ItemExists(target) || _wcsicmp(target.c_str(), sources[i].c_str()) == 0) {
                kept.push_back(sources[i]);
                continue;
            }
            TReplaceAnswer answer = AskReplace(OwnerWindow(), target);
            if (answer == raCancel) {
                operationAborted_ = true;
                return;
            }
            if (answer == raReplace)
                kept.push_back(sources[i]);
            else if (multiDest)
                destinations[i].clear();
        }
        if (kept.empty()) {
            operationAborted_ = true;
            return;
        }
        if (multiDest)
            destinations.erase(std::remove(destinations.begin(), destinations.end(), std::wstring()),
                               destinations.end());
        sources = kept;
    }
    // Each item is looked at whole before anything is done: what it holds, whether it can be read, whether
    // it fits, and whether the shell can be given it or it is done here on exact paths.
    std::vector<TItem> shellItems, ownItems;
    std::map<std::wstring, unsigned long long> freeLeft;
    for (size_t i = 0; i < sources.size(); ++i) {
        TItem item{sources[i], transfer ? TargetOf(sources[i], destinations, multiDest ? i : 0) : L"", {}};
        bool crossesVolumes = _wcsicmp(VolumeOf(item.source).c_str(), VolumeOf(item.target).c_str()) != 0;
        bool copies = operation_ == foCopy || (operation_ == foMove && crossesVolumes);
        item.scan = ScanItem(item.source, item.target, copies);
        if (!item.scan.blocked.empty()) {
            Problem(item.source, L"It cannot be reached exactly: " + item.scan.blocked + L".");
            continue;
        }
        if (copies && item.scan.unreadable) {
            Problem(item.source, L"\"" + item.scan.unreadable.path + L"\" cannot be read: " +
                                     ui::SystemErrorText(item.scan.unreadable.code));
            continue;
        }
        if (copies && !item.target.empty() && !Fits(item, freeLeft))
            continue;
        // A wildcard the user typed in the destination stays the shell's to read.
        TNameTrouble targetTrouble = item.target.empty() ? TNameTrouble::none : PathTrouble(item.target);
        bool exactPathsNeeded = PathTrouble(item.source) != TNameTrouble::none || item.scan.longPaths ||
                                (targetTrouble != TNameTrouble::none && ReachableByLongPath(targetTrouble));
        if (exactPathsNeeded && operation_ == foDelete && (flags_ & FileOpFlagBit(fofAllowUndo))) {
            Problem(item.source, L"The Recycle Bin cannot take it: " + TroubleText(PathTrouble(item.source)) +
                                     L" or a name inside it is such. Shift+Delete deletes it for good.");
            continue;
        }
        (exactPathsNeeded ? ownItems : shellItems).push_back(std::move(item));
    }
    if (!shellItems.empty())
        RunShell(shellItems, to, destinations, multiDest);
    if (!ownItems.empty() && !operationAborted_)
        RunOwn(ownItems);
}

bool TFileOperation::Fits(const TItem &item, std::map<std::wstring, unsigned long long> &freeLeft) {
    std::wstring volume = VolumeOf(item.target);
    for (wchar_t &c : volume)
        c = static_cast<wchar_t>(towupper(c));
    auto it = freeLeft.find(volume);
    if (it == freeLeft.end()) {
        unsigned long long freeBytes = 0;
        if (!FreeSpaceQuery || !FreeSpaceQuery(item.target, freeBytes))
            return true; // the system cannot tell: the copy is tried and checked afterwards
        it = freeLeft.emplace(volume, freeBytes).first;
    }
    if (item.scan.bytes <= it->second) {
        it->second -= item.scan.bytes;
        return true;
    }
    Problem(item.source, ui::SystemErrorText(ERROR_DISK_FULL) + L" It needs " + std::to_wstring(item.scan.bytes) +
                             L" bytes; " + volume + L" has " + std::to_wstring(it->second) + L" bytes free.");
    return false;
}

void TFileOperation::RunShell(const std::vector<TItem> &items, std::wstring to,
                              std::vector<std::wstring> destinations, bool multiDest) {
    std::vector<std::wstring> sources;
    for (const TItem &item : items)
        sources.push_back(item.source);
    if (multiDest) {
        // Only the destinations of the items that go to the shell, in their order.
        std::vector<std::wstring> kept;
        for (const TItem &item : items)
            kept.push_back(item.target);
        destinations = kept;
        to = JoinedList(destinations);
    }
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
    if (target.empty())
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

void TFileOperation::RunOwn(const std::vector<TItem> &items) {
    if (operation_ == foDelete && !(flags_ & FileOpFlagBit(fofNoConfirmation))) {
        std::wstring text = items.size() == 1 ? L"Are you sure you want to delete '" + items[0].source + L"'?"
                                              : L"Are you sure you want to delete these " +
                                                    std::to_wstring(items.size()) + L" items?";
        for (size_t i = 0; items.size() > 1 && i < items.size() && i < 10; ++i)
            text += L"\n" + items[i].source;
        if (MessageBoxW(OwnerWindow(), text.c_str(), L"Confirm file deletion", MB_YESNO | MB_ICONQUESTION) != IDYES) {
            operationAborted_ = true;
            return;
        }
    }
    for (const TItem &item : items) {
        TStepFailure failure;
        if (operation_ == foDelete) {
            failure = DeleteItem(item.source);
        } else {
            if (item.target.empty() || _wcsicmp(item.target.c_str(), item.source.c_str()) == 0)
                continue;
            if (ItemExists(item.target) && !(flags_ & FileOpFlagBit(fofNoConfirmation)) &&
                (operation_ == foCopy || ShellConfirmsReplacingMoves())) {
                TReplaceAnswer answer = AskReplace(OwnerWindow(), item.target);
                if (answer == raCancel) {
                    operationAborted_ = true;
                    return;
                }
                if (answer == raSkip)
                    continue;
            }
            failure = operation_ == foCopy ? CopyItem(item.source, item.target) : MoveItem(item.source, item.target);
        }
        if (failure)
            Problem(failure.path == item.source ? item.source : item.source + L" (at \"" + failure.path + L"\")",
                    ui::SystemErrorText(failure.code));
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
