#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "fileops/LongPathOps.h"

namespace fileops {

enum TReplaceAnswer { raReplace, raSkip, raCancel };

// The questions an operation asks a person, in the shell's words. Paths are the plain ones a listing shows.
class IOperationPrompts {
public:
    virtual ~IOperationPrompts() = default;
    // Yes replaces, No skips this item, Cancel stops the operation.
    virtual TReplaceAnswer AskReplace(const std::wstring &target, bool folder) = 0;
    // A read-only file to replace (replacing) or to delete: Yes, Yes to all, No, Cancel.
    virtual TReadOnlyAnswer AskReadOnly(const std::wstring &path, bool replacing) = 0;
    // Whether the items are to be deleted for good.
    virtual bool ConfirmDelete(const std::vector<std::wstring> &items) = 0;
};

// The questions as message boxes and the shell's four-button box, owned by a window.
class TWindowPrompts : public IOperationPrompts {
public:
    explicit TWindowPrompts(HWND owner) : owner_(owner) {}
    TReplaceAnswer AskReplace(const std::wstring &target, bool folder) override;
    TReadOnlyAnswer AskReadOnly(const std::wstring &path, bool replacing) override;
    bool ConfirmDelete(const std::vector<std::wstring> &items) override;

private:
    HWND owner_;
};

// Asks whether an operation may replace what the target holds, in the shell's words.
TReplaceAnswer AskReplace(HWND owner, const std::wstring &target);

} // namespace fileops
