#pragma once
#include <string>

namespace fileops {

// Makes sure the Recycle Bin can take files before anything hands one to it. Windows always has one.
// Under Wine the Recycle Bin is the desktop's trash folder (<data home>\Trash with files\ and info\), and
// Wine's shell deletes for good, once it has found no such folder, for the rest of the process: when the
// data home folder does not exist yet (a new user's home), it creates no trash at all. So the missing
// levels are created here, as any desktop program creates its data home; an existing trash is left as it
// is. True when the Recycle Bin is ready.
bool PrepareRecycleBin();

// The trash folder Wine's shell uses, ending in "\"; empty when the system is not Wine.
std::wstring WineTrashFolder();

} // namespace fileops
