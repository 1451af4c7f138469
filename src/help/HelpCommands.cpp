#include "help/HelpCommands.h"

#include <stdexcept>
#include <vector>

namespace help {

namespace {

std::string ToAnsi(const std::wstring &text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size : 1, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    result.resize(result.size() - 1);
    return result;
}

} // namespace

std::wstring HelpFileBesideExecutable() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            throw std::runtime_error("Cannot find the program's folder");
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Zelvor.hlp";
        }
        buffer.resize(buffer.size() * 2);
    }
}

void ShowHelpTopic(HWND owner, const std::wstring &helpFile, const wchar_t *contextKey, DWORD contextId) {
    if (!WinHelpW(owner, helpFile.c_str(), HELP_CONTENTS, 0))
        throw std::runtime_error("Cannot start the help viewer");
    // The viewer reads a macro as ANSI text, and WinHelpW converts only the file name, so the
    // macro goes through the ANSI entry point.
    std::string macro = "JumpID(\"\",\"" + ToAnsi(contextKey) + "\")";
    WinHelpA(owner, ToAnsi(helpFile).c_str(), HELP_COMMAND, reinterpret_cast<ULONG_PTR>(macro.c_str()));
    if (contextId != 0)
        WinHelpW(owner, helpFile.c_str(), HELP_CONTEXT, contextId);
}

} // namespace help
