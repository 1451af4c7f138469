#pragma once
#include <cstddef>
#include <functional>
#include <string>

namespace filelist {

// What the shell is asked to open for a command: a file and its parameters.
struct TShellRequest {
    std::wstring file;
    std::wstring parameters;
    bool operator==(const TShellRequest &) const = default;
};

using TFileExists = std::function<bool(const std::wstring &path)>;

// A file (not a folder) of this name exists.
bool FileExists(const std::wstring &path);

// A command run from a panel with Enter: a file of that name in the prompt's directory, otherwise the
// whole text as one file name.
TShellRequest PanelRunRequest(const std::wstring &prompt, const std::wstring &command,
                              const TFileExists &exists = FileExists);
// A command run in the command line with Enter: a file of that name in the prompt's directory, otherwise
// the program before the first blank with the rest as its parameters.
TShellRequest CommandLineRunRequest(const std::wstring &prompt, const std::wstring &command,
                                    const TFileExists &exists = FileExists);

// The command interpreter: "C:\Command.com" where it exists, else the one COMSPEC names, else "cmd.exe".
std::wstring CommandInterpreter(const TFileExists &exists = FileExists);

// The longest file name the shell is handed to open. The shell copies it into buffers of its own; some
// systems' shells overrun them with longer names (Wine's from 984 characters on).
inline constexpr std::size_t kMaxShellFileLength = 259;
// The longest command line a started program can get (32,767 characters with the closing NUL), counted
// as the shell builds it: the file in quotes, a blank and the parameters. Some shells (Wine's) cut a longer
// line and start the program all the same, so a longer command must never reach the shell.
inline constexpr std::size_t kMaxCommandLineLength = 32766;
// Room for what the shell puts before the command when it does not start the named file itself (a name
// it searches for, a document, a batch file): the full path of the program that does, in quotes, a blank.
inline constexpr std::size_t kShellProgramReserve = 260 + 3;

// Whether the shell starts the file as it is named: an existing program (".exe", ".com") by its full path.
bool StartedAsNamed(const std::wstring &file, const TFileExists &exists = FileExists);

// The long path of an existing file in its short form, or nothing when it has none that fits.
using TShortPath = std::function<std::wstring(const std::wstring &path)>;
std::wstring ShortPath(const std::wstring &path);

// The request as the shell can take it: an existing file whose path is too long is named by its short
// form. A request still too long raises an error that says so; nothing is then opened.
TShellRequest WithinShellLimits(const TShellRequest &request, const TShortPath &shortPath = ShortPath,
                                const TFileExists &exists = FileExists);

} // namespace filelist
