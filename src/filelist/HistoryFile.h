#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/HistoryEntries.h"

namespace filelist {

// "cmd.his" in the folder of the program's executable.
std::wstring HistoryFilePath();

// The history file: one entry per line, oldest first, each line ending in CR LF, in the system's ANSI code
// page. Lines end at CR, at LF or at CR LF; a final line end adds no empty line.

// The file's lines as bytes, exactly as they stand between the line ends; nothing when the file does
// not exist, "Cannot open file %s" when it cannot be read. Writing goes to a temporary file beside it
// first, which then replaces the old file, so a failed write never loses the old history.
std::optional<std::vector<std::string>> ReadHistoryLines(const std::wstring &path);

// A line's text, and the line for a text: nothing when the ANSI code page cannot hold the text so that
// it reads back the same (a letter outside the code page, a line end).
std::wstring DecodeHistoryLine(const std::string &bytes);
std::optional<std::string> EncodeHistoryLine(std::wstring_view text);

// The file's lines as texts, read and written as THistoryFile does with no history in hand; writing
// leaves out the texts that cannot be written.
std::optional<std::vector<std::wstring>> ReadHistoryFile(const std::wstring &path);
void WriteHistoryFile(const std::wstring &path, const std::vector<std::wstring> &lines);

// The history file as this run knows it. Saving leaves the file alone when it holds every entry already.
// Once this run has read the file (or found none) or written it, saving adds the new entries to the file
// as it stands then, under a lock beside it: lines another copy of the program added meanwhile stay,
// byte for byte, and two copies closing at once both keep theirs. A file this run knows nothing of is
// written anew. Entries the code page cannot hold are left out (they stay in the session's history
// only). A file that could not be read, or that is marked read-only, is never written over. The first
// save that fails says so ("Cannot create file %s", the full path, and why); later ones in the same run
// fail silently, the history staying in the program.
class THistoryFile {
public:
    std::optional<ui::THistoryEntries> Load(const std::wstring &path);
    void Save(const std::wstring &path, const ui::THistoryEntries &entries);

private:
    std::wstring path_;                 // the file whose content is known, or that failed
    bool known_ = false;                // path_ holds the known entries (and perhaps lines of other copies)
    bool unreadable_ = false;           // path_ could not be read
    bool failed_ = false;               // a save has failed and been reported in this run
    // The session's entries the file holds; the text read from the file is shared with the history
    // handed out, not kept a second time.
    ui::THistoryEntries known_entries_;
};

} // namespace filelist
