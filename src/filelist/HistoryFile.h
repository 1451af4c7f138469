#pragma once
#include <optional>
#include <string>
#include <vector>

namespace filelist {

// "cmd.his" in the folder of the program's executable.
std::wstring HistoryFilePath();

// The history file: one entry per line, oldest first, each line ending in CR LF, in the system's ANSI code
// page. Lines end at CR, at LF or at CR LF; a final line end adds no empty line.

// The file's lines as bytes, exactly as they stand between the line ends; nothing when the file does
// not exist, "Cannot open file %s" when it cannot be read. Writing goes to a temporary file beside it
// first, which then replaces the old file, so a failed write ("Cannot create file %s") never loses the
// old history.
std::optional<std::vector<std::string>> ReadHistoryLines(const std::wstring &path);

// A line's text, and the line for a text: nothing when the ANSI code page cannot hold the text so that
// it reads back the same (a letter outside the code page, a line end).
std::wstring DecodeHistoryLine(const std::string &bytes);
std::optional<std::string> EncodeHistoryLine(const std::wstring &text);

// The file's lines as texts, read and written as THistoryFile does with no history in hand; writing
// leaves out the texts that cannot be written.
std::optional<std::vector<std::wstring>> ReadHistoryFile(const std::wstring &path);
void WriteHistoryFile(const std::wstring &path, const std::vector<std::wstring> &lines);

// The history file as this run knows it. Saving leaves the file alone when the entries are those it
// holds; otherwise it writes the file anew, the lines that came from it byte for byte as they were read
// (a NUL inside a line included), and leaves out entries the code page cannot hold (they stay in the
// session's history only). A file that could not be read is never written over.
class THistoryFile {
public:
    std::optional<std::vector<std::wstring>> Load(const std::wstring &path);
    void Save(const std::wstring &path, const std::vector<std::wstring> &entries);

private:
    std::wstring path_;                            // the file whose content is known, or that failed
    bool known_ = false;                           // path_ holds exactly entries_ (their lines)
    bool unreadable_ = false;                      // path_ could not be read
    std::vector<std::wstring> entries_;            // the entries the file stands for
    std::vector<std::optional<std::string>> lines_; // for each entry, its line in the file, if any
};

} // namespace filelist
