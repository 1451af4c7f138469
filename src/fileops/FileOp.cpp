#include "fileops/FileOp.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <vector>

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
    if (names.empty())
        return std::wstring(2, L'\0');
    std::wstring list = names + std::wstring(2, L'\0');
    for (wchar_t &c : list)
        if (c == L';')
            c = L'\0';
    return list;
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
    SHFileOperationW(&request);
    return request.fAnyOperationsAborted != FALSE;
}

void TFileOperation::Execute() {
    failure_.clear();
    // A file sent to the Recycle Bin must never be deleted for good because the bin was not there.
    if (operation_ == foDelete && (flags_ & FileOpFlagBit(fofAllowUndo)) && !PrepareRecycleBin()) {
        operationAborted_ = true;
        failure_ = L"The Recycle Bin cannot take files now. Nothing was deleted.";
        return;
    }
    std::wstring from = ShellNameList(filesFrom_);
    std::wstring to = ShellDestinationList(filesTo_);
    std::vector<std::wstring> sources = NamesOf(from), destinations = NamesOf(to);
    // Some shells refuse to move several plain files into one directory in a single request (Wine cancels
    // it); one request per file moves them just the same.
    bool oneByOne = operation_ == foMove && !(flags_ & FileOpFlagBit(fofMultiDestFiles)) && sources.size() > 1 &&
                    destinations.size() == 1 && IsDirectory(destinations[0]) &&
                    std::none_of(sources.begin(), sources.end(), IsDirectory);
    if (!oneByOne) {
        operationAborted_ = CallShell(from, to);
        return;
    }
    operationAborted_ = false;
    for (const std::wstring &source : sources) {
        operationAborted_ = CallShell(ShellNameList(source), to);
        if (operationAborted_)
            break;
    }
}

} // namespace fileops
