#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "fileops/FileOpTypes.h"
#include "fileops/LongPathOps.h"

namespace fileops {

// What planning asks of the file system. The system's own answers come from TSystemProbe; tests give
// theirs.
class IFileProbe {
public:
    virtual ~IFileProbe() = default;
    // The item's attributes, INVALID_FILE_ATTRIBUTES when there is none.
    virtual DWORD Attributes(const std::wstring &path) const = 0;
    // There under exactly this name, not only under a case twin's.
    virtual bool ExistsExactly(const std::wstring &path) const = 0;
    virtual TItemScan Scan(const std::wstring &source, const std::wstring &target, bool checkReading) const = 0;
    // The volume a path is on, as a root compared without regard to case.
    virtual std::wstring Volume(const std::wstring &path) const = 0;
    // The free bytes and allocation unit of the volume a folder is on; false when the system cannot tell.
    virtual bool Space(const std::wstring &folder, unsigned long long &freeBytes, unsigned long &unit) const = 0;
};

class TSystemProbe : public IFileProbe {
public:
    DWORD Attributes(const std::wstring &path) const override;
    bool ExistsExactly(const std::wstring &path) const override;
    TItemScan Scan(const std::wstring &source, const std::wstring &target, bool checkReading) const override;
    std::wstring Volume(const std::wstring &path) const override;
    bool Space(const std::wstring &folder, unsigned long long &freeBytes, unsigned long &unit) const override;
};

// Who does an item: the shell, the program on exact paths, or no one (with why).
enum class TRoute { shell, own, refused };
// What must be asked before an item is done.
enum class TQuestion { none, replace, replaceReadOnly };

struct TPlannedItem {
    std::wstring source, target; // target empty for a delete
    TRoute route = TRoute::shell;
    TQuestion question = TQuestion::none;
    std::wstring why; // the refusal, in words
    TItemScan scan;
};

struct TOperationPlan {
    std::vector<TPlannedItem> items;
    // Why nothing at all is done (a destination nothing can reach), about stopPath.
    std::wstring stop, stopPath;
    // A destination folder to make before anything is done, when several sources go to a missing one.
    std::wstring makeFolder;
    // The destination names as the shell takes them, one per source with fofMultiDestFiles.
    std::vector<std::wstring> destinations;
};

// Plans an operation from the names a command gives (separated by NUL, as the shell takes them), without
// doing or asking anything: where each source goes, who does it, what must be asked first, and what is
// refused before anything is written (a folder into itself, what cannot be read or reached exactly, what
// does not fit).
TOperationPlan PlanOperation(TFileOp op, const std::wstring &filesFrom, const std::wstring &filesTo,
                             TFileOpFlags flags, const IFileProbe &probe);

// "The destination folder is a subfolder of the source folder.", the system's refusal of a folder into itself.
extern const wchar_t kIntoItself[];

} // namespace fileops
