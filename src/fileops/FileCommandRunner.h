#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "filelist/FileList.h"
#include "fileops/FileOp.h"
#include "fileops/OperationForm.h"

namespace fileops {

// The rows a file command acts on: the marked rows in row order, or the cursor row when no row is
// marked; none when there is no cursor row either.
std::vector<int> SourceRows(const filelist::TFileList &view);
// The source list: the full paths (made from the names the listing returned), separated by single NULs.
std::wstring SourceList(const std::vector<std::wstring> &paths);
// The destination typed in the copy or move prompt, read as a person reads it from this side: a relative
// name is taken in this side's directory (which ends in "\"); "\x" in the root of this side's drive (or
// network share); "D:x" in the folder a side shows on D: (this side first, then the other side), else in
// the root of D:. A full path ("D:\x", "\\server\share\x") and an empty text are used as typed.
std::wstring ResolveDestination(const std::wstring &typed, const std::wstring &directory,
                                const std::wstring &otherDirectory = L"");
// "No Files Selected", for a command that is asked to act on the parent row.
void ShowNoFilesSelected(HWND owner);

// Copy, rename/move, make directory and the two deletes of one side's rows. Each returns whether it ran
// its operation; the caller then lists both sides again.
class TFileCommandRunner {
public:
    TFileCommandRunner(TOperationForm &prompt, TFileOperation &fileOper, HWND owner)
        : prompt_(prompt), fileOper_(fileOper), owner_(owner) {}

    bool Copy(const filelist::TFileList &source, const std::wstring &targetDirectory);
    bool RenameMove(const filelist::TFileList &source, const std::wstring &targetDirectory);
    bool MakeDir(const filelist::TFileList &source);
    bool Delete(const filelist::TFileList &source, bool toRecycleBin);

private:
    bool CopyOrMove(const filelist::TFileList &source, const std::wstring &targetDirectory, TFileOp op,
                    const std::wstring &caption);
    // The source list of the view, or empty after telling the user why there is none. Rows whose names
    // nothing can reach exactly are left out and named in `refused`.
    std::wstring SourceListOf(const filelist::TFileList &source, std::wstring &refused);
    void Run(TFileOp op, const std::wstring &from, const std::wstring &to, const std::wstring &title,
             TFileOpFlags flags, const std::wstring &refused);

    void ShowFailure(const std::wstring &text);

    TOperationForm &prompt_;
    TFileOperation &fileOper_;
    HWND owner_;
};

} // namespace fileops
