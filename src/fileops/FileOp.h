#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <map>

#include "fileops/FileOpTypes.h"
#include "fileops/LongPathOps.h"
#include "fileops/OperationPlan.h"
#include "fileops/OperationPrompts.h"

namespace fileops {

// The shell's function code and flag word for an operation and a flag set.
UINT ShellFunction(TFileOp op);
FILEOP_FLAGS ShellFlags(TFileOpFlags flags);
// A name list as the shell takes it: the names separated by NUL (";" is part of a name), ended by two NULs.
std::wstring ShellNameList(const std::wstring &names);
// The destination names as handed to the shell: a "<directory>\*.*" whose directory exists becomes
// "<directory>\", since the shell's copy does not take the wildcard form everywhere.
std::wstring ShellDestinationList(const std::wstring &names);

// One request to the shell's file operation: the operation, its source and destination names, flags and a
// progress title. Writing Active (or calling Execute) runs it; the shell shows its own progress,
// confirmations and errors. Several sources into one missing folder make the folder first; a move that
// would replace something asks first where the shell does not. An item the shell would read as another
// (a wildcard, a name ending in a space or dot, a device name, a path longer than it takes) never reaches
// it: it is done here on exact paths, or refused when nothing can reach it. So is an item that holds a link
// (copied, moved or removed as a link, never walked), one that would replace something (so that a refused
// replace is told), and a delete of read-only files (asked about as Windows asks). A folder into itself and
// a copy that does not fit are refused before anything is written, and a copy the shell cut off is
// removed. The program's own work runs on a thread of its own behind a progress window with Cancel. Every
// failure is left in Failure, item by item with the system's words for why, for the caller to show.
class TFileOperation {
public:
    // The owner's window owns the shell's windows; without one, the application's main window does.
    explicit TFileOperation(HWND owner = nullptr) : owner_(owner) {}

    bool Active() const { return false; }
    void SetActive(bool value) {
        if (value)
            Execute();
    }
    const std::wstring &FilesFrom() const { return filesFrom_; }
    void SetFilesFrom(const std::wstring &value) { filesFrom_ = value; }
    const std::wstring &FilesTo() const { return filesTo_; }
    void SetFilesTo(const std::wstring &value) { filesTo_ = value; }
    TFileOpFlags Flags() const { return flags_; }
    void SetFlags(TFileOpFlags value) { flags_ = value; }
    TFileOp Operation() const { return operation_; }
    void SetOperation(TFileOp value) { operation_ = value; }
    bool OperationAborted() const { return operationAborted_; }
    // Why the last run failed where the shell said nothing itself; empty when it did not fail so.
    const std::wstring &Failure() const { return failure_; }
    const std::wstring &ProgressTitle() const { return progressTitle_; }
    void SetProgressTitle(const std::wstring &value) { progressTitle_ = value; }

    void Execute();
    // The questions are asked through these, when set (tests); else through message boxes over the owner.
    void SetPrompts(IOperationPrompts *prompts) { prompts_ = prompts; }

private:
    using TItem = TPlannedItem;
    HWND OwnerWindow() const;
    void Run();
    std::wstring Heading() const;
    // Adds one line to the failure: what failed and the system's words for why.
    void Problem(const std::wstring &path, const std::wstring &why);
    void RunShell(const std::vector<TItem> &items, const std::vector<std::wstring> &destinations, bool multiDest);
    // The items done on exact paths, on a thread of their own behind the progress window.
    void RunOwn(const std::vector<TItem> &items, IOperationPrompts &prompts);
    // One shell call with the lists as given; true when the shell reports an aborted part or a failure.
    bool CallShell(const std::wstring &from, const std::wstring &to);
    void VerifyCopy(const std::wstring &source, const std::wstring &target, const TItemScan &scan);
    void ReportLeft(const TItem &item);

    HWND owner_;
    std::wstring filesFrom_;
    std::wstring filesTo_;
    TFileOpFlags flags_ = 0;
    TFileOp operation_ = foCopy;
    bool operationAborted_ = false;
    std::wstring failure_;
    std::wstring problems_;
    int shellCode_ = 0;
    IOperationPrompts *prompts_ = nullptr;
    std::wstring progressTitle_;
};

} // namespace fileops
