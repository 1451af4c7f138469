#pragma once
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

// The command interpreter: "C:\Command.com" where it exists, else the one COMSPEC names.
std::wstring CommandInterpreter(const TFileExists &exists = FileExists);

} // namespace filelist
