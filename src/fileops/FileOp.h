#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <map>

#include "fileops/LongPathOps.h"
#include "ui/Window.h"

namespace fileops {

// The shell operations, in the order of their ordinals.
enum TFileOp { foCopy, foDelete, foMove, foRename };

// The shell's option flags; a set of them is a bit set in which member n is bit n.
enum TFileOpFlag {
    fofAllowUndo,
    fofConfirmMouse,
    fofFilesOnly,
    fofMultiDestFiles,
    fofNoConfirmation,
    fofNoConfirmMkDir,
    fofRenameOnCollision,
    fofSilent,
    fofSimpleProgress
};
using TFileOpFlags = std::uint16_t;
constexpr TFileOpFlags FileOpFlagBit(TFileOpFlag flag) {
    return static_cast<TFileOpFlags>(1u << flag);
}

// The shell's function code and flag word for an operation and a flag set.
UINT ShellFunction(TFileOp op);
FILEOP_FLAGS ShellFlags(TFileOpFlags flags);
// A name list as the shell takes it: the names separated by NUL (";" is part of a name), ended by two NULs.
std::wstring ShellNameList(const std::wstring &names);
// The destination names as handed to the shell: a "<directory>\*.*" whose directory exists becomes
// "<directory>\", since the shell's copy does not take the wildcard form everywhere.
std::wstring ShellDestinationList(const std::wstring &names);

enum TReplaceAnswer { raReplace, raSkip, raCancel };
// Asks whether a move may replace what the target holds, in the shell's words: Yes replaces, No skips
// this item, Cancel stops the operation.
TReplaceAnswer AskReplace(HWND owner, const std::wstring &target);

// One request to the shell's file operation: the operation, its source and destination names, flags and a
// progress title. Writing Active (or calling Execute) runs it; the shell shows its own progress,
// confirmations and errors. Several sources into one missing folder make the folder first; a move that
// would replace something asks first where the shell does not. An item the shell would read as another
// (a wildcard, a name ending in a space or dot, a device name, a path longer than it takes) never reaches
// it: it is done here on exact paths, or refused when nothing can reach it. A copy that does not fit is
// refused before it starts, and one the shell cut off is removed. Every failure is left in Failure, item
// by item with the system's words for why, for the caller to show.
class TFileOperation {
public:
    // The owner's window owns the shell's windows; without one, the application's main window does.
    explicit TFileOperation(const ui::TWindow *owner = nullptr) : owner_(owner) {}

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

private:
    // One source with where it goes (empty for a delete) and what it holds.
    struct TItem {
        std::wstring source, target;
        TItemScan scan;
    };
    HWND OwnerWindow() const;
    void Run();
    std::wstring Heading() const;
    // Adds one line to the failure: what failed and the system's words for why.
    void Problem(const std::wstring &path, const std::wstring &why);
    // True when the item fits in what is left free on its target's volume, counting the items before it.
    bool Fits(const TItem &item, std::map<std::wstring, unsigned long long> &freeLeft);
    void RunShell(const std::vector<TItem> &items, std::wstring to, std::vector<std::wstring> destinations,
                  bool multiDest);
    // The items the shell would read as others, done on exact paths.
    void RunOwn(const std::vector<TItem> &items);
    // One shell call with the lists as given; true when the shell reports an aborted part or a failure.
    bool CallShell(const std::wstring &from, const std::wstring &to);
    void VerifyCopy(const std::wstring &source, const std::wstring &target, const TItemScan &scan);
    void ReportLeft(const TItem &item);

    const ui::TWindow *owner_;
    std::wstring filesFrom_;
    std::wstring filesTo_;
    TFileOpFlags flags_ = 0;
    TFileOp operation_ = foCopy;
    bool operationAborted_ = false;
    std::wstring failure_;
    std::wstring problems_;
    int shellCode_ = 0;
    std::wstring progressTitle_;
};

} // namespace fileops
