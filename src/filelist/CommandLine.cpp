#include "filelist/CommandLine.h"

#include <windows.h>

#include "ui/Text.h"

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
    // NT-family systems have no Command.com at the root; their interpreter is named by COMSPEC, which
    // may be of any length.
    DWORD size = GetEnvironmentVariableW(L"COMSPEC", nullptr, 0);
    if (size > 1) {
        std::wstring comspec(size, L'\0');
        DWORD n = GetEnvironmentVariableW(L"COMSPEC", comspec.data(), size);
        if (n > 0 && n < size) {
            comspec.resize(n);
            return comspec;
        }
    }
    return L"cmd.exe";
}

std::wstring ShortPath(const std::wstring &path) {
    DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring result(size, L'\0');
    DWORD n = GetShortPathNameW(path.c_str(), result.data(), size);
    if (n == 0 || n >= size)
        return {};
    result.resize(n);
    return result;
}

namespace {
// 40000 as "40,000".
std::wstring Count(std::size_t n) {
    std::wstring digits = std::to_wstring(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0)
            out += L',';
        out += digits[i];
    }
    return out;
}
} // namespace

bool StartedAsNamed(const std::wstring &file, const TFileExists &exists) {
    const bool fullPath = (file.size() > 2 && file[1] == L':' && file[2] == L'\\') || file.rfind(L"\\\\", 0) == 0;
    if (!fullPath || file.size() < 4)
        return false;
    const std::wstring extension = file.substr(file.size() - 4);
    return (_wcsicmp(extension.c_str(), L".exe") == 0 || _wcsicmp(extension.c_str(), L".com") == 0) && exists(file);
}

TShellRequest WithinShellLimits(const TShellRequest &request, const TShortPath &shortPath, const TFileExists &exists) {
    TShellRequest result = request;
    if (result.file.size() > kMaxShellFileLength) {
        std::wstring shortened = shortPath(result.file);
        if (!shortened.empty() && shortened.size() <= kMaxShellFileLength)
            result.file = shortened;
    }
    if (result.file.size() > kMaxShellFileLength)
        throw ui::Error(L"Cannot open a name of " + Count(request.file.size()) +
                        L" characters: the system takes at most " + Count(kMaxShellFileLength) + L".");
    // The shell puts the file in quotes and a blank before the parameters, and maybe a program before that.
    const std::size_t room = kMaxCommandLineLength - (StartedAsNamed(result.file, exists) ? 0 : kShellProgramReserve);
    std::size_t line = result.file.size() + 2 + (result.parameters.empty() ? 0 : 1 + result.parameters.size());
    if (line > room)
        throw ui::Error(L"Cannot run a command of " + Count(request.file.size() + 1 + request.parameters.size()) +
                        L" characters: the system takes at most " + Count(room - 2) + L".");
    return result;
}

} // namespace filelist
