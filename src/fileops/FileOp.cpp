#include "fileops/FileOp.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <vector>

#include "fileops/MakeDirectories.h"
#include "fileops/RecycleBin.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace fileops {

namespace {

constexpr wchar_t kAllFiles[] = L"\\*.*";

bool IsDirectory(const std::wstring &path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

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

bool Exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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
    if (destinations.size() == 1 && IsDirectory(destination)) {
        std::wstring name = source.substr(source.rfind(L'\\') + 1);
        std::wstring folder = destination;
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

std::wstring ShellFailureText(int code) {
    wchar_t text[160];
    swprintf(text, 160, L"The operation was not carried out (error 0x%X). Both sides show what was done.",
             static_cast<unsigned>(code));
    return text;
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
    // A refusal the shell kept to itself must not look like success.
    if (result != 0 && !aborted && failure_.empty())
        failure_ = ShellFailureText(result);
    return aborted || result != 0;
}

void TFileOperation::Execute() {
    failure_.clear();
    operationAborted_ = false;
    // A file sent to the Recycle Bin must never be deleted for good because the bin was not there.
    if (operation_ == foDelete && (flags_ & FileOpFlagBit(fofAllowUndo)) && !PrepareRecycleBin()) {
        operationAborted_ = true;
        failure_ = L"The Recycle Bin cannot take files now. Nothing was deleted.";
        return;
    }
    std::vector<std::wstring> sources = NamesOf(ShellNameList(filesFrom_));
    // Wine's shell passes over a source that is not there without a word.
    std::vector<std::wstring> missing;
    for (const std::wstring &source : sources)
        if (!Exists(source) && source.find_first_of(L"*?") == std::wstring::npos)
            missing.push_back(source);
    if (!missing.empty()) {
        failure_ = L"Not found:";
        for (const std::wstring &name : missing)
            failure_ += L"\n" + name;
        sources.erase(std::remove_if(sources.begin(), sources.end(),
                                     [&](const std::wstring &name) {
                                         return std::find(missing.begin(), missing.end(), name) != missing.end();
                                     }),
                      sources.end());
        if (sources.empty()) {
            operationAborted_ = true;
            return;
        }
    }
    std::wstring to = ShellDestinationList(filesTo_);
    std::vector<std::wstring> destinations = NamesOf(to);
    bool transfer = operation_ == foCopy || operation_ == foMove;
    bool multiDest = (flags_ & FileOpFlagBit(fofMultiDestFiles)) != 0;
    // Several sources and one destination: the destination is a folder, made when missing, as Windows'
    // shell does (Wine's cancels such a request).
    if (transfer && !multiDest && sources.size() > 1 && destinations.size() == 1 && !IsDirectory(destinations[0])) {
        std::wstring folder = FolderOf(destinations[0]);
        MakeDirectories(folder);
        if (!IsDirectory(folder)) {
            operationAborted_ = true;
            failure_ = L"The folder \"" + folder + L"\" cannot be created. Nothing was moved or copied.";
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
            if (target.empty() || !Exists(target) || _wcsicmp(target.c_str(), sources[i].c_str()) == 0) {
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
        if (multiDest) {
            destinations.erase(std::remove(destinations.begin(), destinations.end(), std::wstring()),
                               destinations.end());
            to = JoinedList(destinations);
        }
        sources = kept;
    }
    // Some shells refuse to move several plain files into one directory in a single request (Wine cancels
    // it); one request per file moves them just the same.
    bool oneByOne = operation_ == foMove && !multiDest && sources.size() > 1 && destinations.size() == 1 &&
                    IsDirectory(destinations[0]) && std::none_of(sources.begin(), sources.end(), IsDirectory);
    if (!oneByOne) {
        operationAborted_ = CallShell(JoinedList(sources), to);
    } else {
        for (const std::wstring &source : sources) {
            operationAborted_ = CallShell(ShellNameList(source), to);
            if (operationAborted_)
                break;
        }
    }
    ReportSourcesLeft(sources, destinations, multiDest);
}

void TFileOperation::ReportSourcesLeft(const std::vector<std::wstring> &sources,
                                       const std::vector<std::wstring> &destinations, bool multiDest) {
    // A move or delete the shell called done must have taken its sources away.
    if (operationAborted_ || !failure_.empty() || operation_ == foCopy)
        return;
    std::wstring left;
    for (size_t i = 0; i < sources.size(); ++i) {
        std::wstring target = operation_ == foDelete ? L"" : TargetOf(sources[i], destinations, multiDest ? i : 0);
        if (Exists(sources[i]) && _wcsicmp(target.c_str(), sources[i].c_str()) != 0)
            left += L"\n" + sources[i];
    }
    if (!left.empty()) {
        operationAborted_ = true;
        failure_ = (operation_ == foDelete ? L"Not deleted:" : L"Not moved:") + left;
    }
}

} // namespace fileops
