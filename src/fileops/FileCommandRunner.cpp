#include "fileops/FileCommandRunner.h"

#include "fileops/MakeDirectories.h"
#include "ui/Application.h"

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

std::wstring ResolveDestination(const std::wstring &typed, const std::wstring &directory) {
    // A drive ("c:..."), a leading "\" (a root or a network path) or nothing at all is taken as typed.
    if (typed.empty() || typed[0] == L'\\' || typed[0] == L'/' || (typed.size() >= 2 && typed[1] == L':'))
        return typed;
    return directory + typed;
}

void ShowNoFilesSelected(HWND owner) {
    MessageBoxW(owner, L"No Files Selected", ui::Application().Title().c_str(), MB_OK);
}

std::wstring TFileCommandRunner::SourceListOf(const filelist::TFileList &source) {
    std::vector<int> rows = SourceRows(source);
    if (rows.empty())
        return {};
    // The parent row would hand the whole parent directory to the shell.
    if (rows.size() == 1 && source.IsParent(rows[0])) {
        ShowNoFilesSelected(owner_);
        return {};
    }
    std::vector<std::wstring> paths;
    for (int row : rows)
        paths.push_back(source.PathOf(row));
    return SourceList(paths);
}

void TFileCommandRunner::Run(TFileOp op, const std::wstring &from, const std::wstring &to, const std::wstring &title,
                             TFileOpFlags flags) {
    fileOper_.SetOperation(op);
    fileOper_.SetFilesFrom(from);
    fileOper_.SetFilesTo(to);
    fileOper_.SetProgressTitle(title);
    fileOper_.SetFlags(flags);
    fileOper_.Execute();
    if (!fileOper_.Failure().empty())
        MessageBoxW(owner_, fileOper_.Failure().c_str(), ui::Application().Title().c_str(), MB_OK | MB_ICONERROR);
}

bool TFileCommandRunner::CopyOrMove(const filelist::TFileList &source, const std::wstring &targetDirectory, TFileOp op,
                                    const std::wstring &caption) {
    std::wstring from = SourceListOf(source);
    if (from.empty())
        return false;
    if (prompt_.Ask(caption, L"", L"to :", targetDirectory + L"*.*") != ui::mrOk)
        return false;
    Run(op, from, ResolveDestination(prompt_.EditTo.Text(), source.Directory()), caption, 0);
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
    MakeDirectories(source.Directory() + name);
    return true;
}

bool TFileCommandRunner::Delete(const filelist::TFileList &source, bool toRecycleBin) {
    std::wstring from = SourceListOf(source);
    if (from.empty())
        return false;
    if (toRecycleBin)
        Run(foDelete, from, L"", L"Delete to Recycle Bin", FileOpFlagBit(fofAllowUndo));
    else
        Run(foDelete, from, L"", L"Delete without Recycle Bin", 0);
    return true;
}

} // namespace fileops
