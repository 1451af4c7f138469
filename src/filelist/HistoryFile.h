#pragma once
#include <optional>
#include <string>
#include <vector>

namespace filelist {

// "cmd.his" in the folder of the program's executable.
std::wstring HistoryFilePath();

// The history file: one entry per line, oldest first, each line ending in CR LF, in the system's ANSI code
// page. Reading gives nothing when the file does not exist and fails with "Cannot open file %s" when it
// cannot be read.
std::optional<std::vector<std::wstring>> ReadHistoryFile(const std::wstring &path);
// Writes the whole file anew. The lines go to a temporary file beside it first, which then replaces the
// old file, so a failed write ("Cannot create file %s") never loses the old history.
void WriteHistoryFile(const std::wstring &path, const std::vector<std::wstring> &lines);

} // namespace filelist
