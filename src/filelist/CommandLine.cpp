#include "filelist/CommandLine.h"

#include <windows.h>

namespace filelist {

bool FileExists(const std::wstring &path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TShellRequest PanelRunRequest(const std::wstring &prompt, const std::wstring &command, const TFileExists &exists) {
    if (exists(prompt + command))
        return {prompt + command, L""};
    return {command, L""};
}

TShellRequest CommandLineRunRequest(const std::wstring &prompt, const std::wstring &command,
                                    const TFileExists &exists) {
    if (exists(prompt + command))
        return {prompt + command, L""};
    size_t blank = command.find(L' ');
    if (blank == std::wstring::npos)
        return {command, L""};
    return {command.substr(0, blank), command.substr(blank + 1)};
}

std::wstring CommandInterpreter(const TFileExists &exists) {
    const std::wstring dos = L"C:\\Command.com";
    if (exists(dos))
        return dos;
    // NT-family systems have no Command.com at the root; their interpreter is named by COMSPEC.
    wchar_t comspec[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(L"COMSPEC", comspec, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        return comspec;
    return L"cmd.exe";
}

} // namespace filelist
