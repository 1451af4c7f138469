#include "help/PrintCommand.h"

#include <shellapi.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace help {

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

} // namespace

PrintServices PrintServices::System() {
    return {
        [](HWND owner, const std::wstring &verb, const std::wstring &file, int show) {
            return reinterpret_cast<INT_PTR>(ShellExecuteW(owner, verb.c_str(), file.c_str(), nullptr, nullptr, show));
        },
        [](const std::wstring &commandLine, int show) { StartProcess(commandLine, show); },
    };
}

bool PrintFallsBackToNotepad(INT_PTR shellAnswer) {
    switch (shellAnswer) {
    case ERROR_FILE_NOT_FOUND:   // 2
    case ERROR_PATH_NOT_FOUND:   // 3
    case SE_ERR_ACCESSDENIED:    // 5
    case SE_ERR_OOM:             // 8
    case SE_ERR_SHARE:           // 26
    case SE_ERR_ASSOCINCOMPLETE: // 27
    case SE_ERR_DDETIMEOUT:      // 28
    case SE_ERR_DDEFAIL:         // 29
    case SE_ERR_DDEBUSY:         // 30
    case SE_ERR_NOASSOC:         // 31
    case SE_ERR_DLLNOTFOUND:     // 32
        return true;
    default:
        return false;
    }
}

void PrintFile(HWND owner, const std::wstring &fullPath, bool isFolder, const PrintServices &services) {
    if (isFolder || fullPath.empty())
        return;
    INT_PTR answer = services.shellExecute(owner, L"print", fullPath, SW_SHOWMINIMIZED);
    // Quoted, so that Notepad gets a path with blanks as one name.
    if (PrintFallsBackToNotepad(answer))
        services.run(L"notepad.exe /p \"" + fullPath + L"\"", SW_SHOWMINIMIZED);
}

bool StartProcess(const std::wstring &commandLine, int show) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0'); // CreateProcessW may write into its command line
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    return true;
}

} // namespace help
