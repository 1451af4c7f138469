#include "fileops/FileCommandRunner.h"

#include <cwctype>

#include "fileops/MakeDirectories.h"
#include "fileops/PathRules.h"
#include "ui/Application.h"
#include "ui/MessageBox.h"

namespace fileops {

std::vector<int> SourceRows(const filelist::TFileList &view) {
    std::vector<int> rows;
    for (int i = 0; i < view.Count(); ++i)
        if (view.Marked(i))
            rows.push_back(i);
    if (rows.empty() && view.Selected() >= 0)
        rows.push_back(view.Selected());
    return rows;
}

std::wstring SourceList(const std::vector<std::wstring> &paths) {
    std::wstring list;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (i > 0)
            list += L'\0';
        list += paths[i];
    }
    return list;
}

namespace {

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

// "C:\" of a drive folder, "\\server\share\" of a network folder.
std::wstring RootOf(const std::wstring &directory) {
    if (directory.size() >= 2 && directory[1] == L':')
        return directory.substr(0, 2) + L"\\";
    if (directory.size() >= 2 && IsSlash(directory[0]) && IsSlash(directory[1])) {
        size_t server = directory.find_first_of(L"\\/", 2);
        size_t share = server == std::wstring::npos ? server : directory.find_first_of(L"\\/", server + 1);
        return share == std::wstring::npos ? directory + L"\\" : directory.substr(0, share + 1);
    }
    return directory;
}

bool OnDrive(const std::wstring &directory, wchar_t drive) {
    return directory.size() >= 2 && directory[1] == L':' && towupper(directory[0]) == towupper(drive);
}

} // namespace

std::wstring ResolveDestination(const std::wstring &typed, const std::wstring &directory,
                                const std::wstring &otherDirectory) {
    if (typed.empty())
        return typed;
    if (IsSlash(typed[0])) {
        if (typed.size() >= 2 && IsSlash(typed[1]))
            return typed; // a network path
        return RootOf(directory) + typed.substr(1);
    }
    if (typed.size() >= 2 && typed[1] == L':') {
        if (typed.size() >= 3 && IsSlash(typed[2]))
            return typed;
        // A drive without a folder: the folder a side shows there, as that side would take the name.
        std::wstring rest = typed.substr(2);
        if (OnDrive(directory, typed[0]))
            return directory + rest;
        if (OnDrive(otherDirectory, typed[0]))
            return otherDirectory + rest;
        return typed.substr(0, 2) + L"\\" + rest;
    }
    return directory + typed;
}

void ShowNoFilesSelected(HWND owner) {
    MessageBoxW(owner, L"No Files Selected", ui::Application().Title().c_str(), MB_OK);
}

std::wstring TFileCommandRunner::SourceListOf(const filelist::TFileList &source, std::wstring &refused) {
    std::vector<int> rows = SourceRows(source);
    if (rows.empty())
        return {};
    // The parent row would hand the whole parent directory to the shell.
    if (rows.size() == 1 && source.IsParent(rows[0])) {
        ShowNoFilesSelected(owner_);
        return {};
    }
    std::vector<std::wstring> paths;
    for (int row : rows) {
        // A name the system cannot take ("\" inside splits it into other names) is never handed on.
        TNameTrouble trouble = NameTrouble(source.Name(row));
        if (ReachableByLongPath(trouble))
            paths.push_back(source.PathOf(row));
        else
            refused +=
                L"\n\"" + source.PathOf(row) + L"\"\n    It " + NotExactlyText(TroubleText(trouble));
    }
    if (paths.empty() && !refused.empty())
        ShowFailure(L"Nothing was done:" + refused);
    return SourceList(paths);
}

void TFileCommandRunner::ShowFailure(const std::wstring &text) {
    ui::ShowMessage(owner_, text, ui::Application().Title(), MB_OK | MB_ICONERROR);
}

void TFileCommandRunner::Run(TFileOp op, const std::wstring &from, const std::wstring &to, const std::wstring &title,
                             TFileOpFlags flags, const std::wstring &refused) {
    fileOper_.SetOperation(op);
    fileOper_.SetFilesFrom(from);
    fileOper_.SetFilesTo(to);
    fileOper_.SetProgressTitle(title);
    fileOper_.SetFlags(flags);
    fileOper_.Execute();
    std::wstring failure = fileOper_.Failure();
    if (!refused.empty()) {
        static const wchar_t *const kHeadings[] = {L"Not copied:", L"Not deleted:", L"Not moved:", L"Not renamed:"};
        failure = (failure.empty() ? std::wstring(kHeadings[op]) : failure) + refused;
    }
    if (!failure.empty())
        ShowFailure(failure);
}

bool TFileCommandRunner::CopyOrMove(const filelist::TFileList &source, const std::wstring &targetDirectory, TFileOp op,
                                    const std::wstring &caption) {
    std::wstring refused;
    std::wstring from = SourceListOf(source, refused);
    if (from.empty())
        return false;
    if (prompt_.Ask(caption, L"", L"to :", targetDirectory + L"*.*") != ui::mrOk)
        return false;
    Run(op, from, ResolveDestination(prompt_.EditTo.Text(), source.Directory(), targetDirectory), caption, 0, refused);
    return true;
}

bool TFileCommandRunner::Copy(const filelist::TFileList &source, const std::wstring &targetDirectory) {
    return CopyOrMove(source, targetDirectory, foCopy, L"Copy");
}

bool TFileCommandRunner::RenameMove(const filelist::TFileList &source, const std::wstring &targetDirectory) {
    return CopyOrMove(source, targetDirectory, foMove, L"Rename\\Move");
}

bool TFileCommandRunner::MakeDir(const filelist::TFileList &source) {
    if (prompt_.Ask(L"Create new dir", L"", L"", L"") != ui::mrOk)
        return false;
    std::wstring name = prompt_.EditTo.Text();
    if (name.empty())
        return false;
    MakeDirectoriesAsked(source.Directory() + name, owner_);
    return true;
}

bool TFileCommandRunner::Delete(const filelist::TFileList &source, bool toRecycleBin) {
    std::wstring refused;
    std::wstring from = SourceListOf(source, refused);
    if (from.empty())
        return false;
    if (toRecycleBin)
        Run(foDelete, from, L"", L"Delete to Recycle Bin", FileOpFlagBit(fofAllowUndo), refused);
    else
        Run(foDelete, from, L"", L"Delete without Recycle Bin", 0, refused);
    return true;
}

} // namespace fileops
