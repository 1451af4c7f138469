#pragma once
#include <cstdint>

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

} // namespace fileops
