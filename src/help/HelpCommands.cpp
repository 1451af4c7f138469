#include "help/HelpCommands.h"

#include <shellapi.h>

#include <stdexcept>
#include <vector>

#include "ui/Text.h"

namespace help {

namespace {

bool SpellInAnsi(const std::wstring &text, std::string &spelled) {
    const bool utf8 = GetACP() == CP_UTF8; // every text is spelled, and the flags below are refused
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lost = FALSE;
    int size = WideCharToMultiByte(CP_ACP, flags, text.c_str(), -1, nullptr, 0, nullptr, utf8 ? nullptr : &lost);
    if (size <= 0 || lost)
        return false;
    spelled.assign(size, '\0');
    WideCharToMultiByte(CP_ACP, flags, text.c_str(), -1, spelled.data(), size, nullptr, nullptr);
    spelled.resize(size - 1);
    return true;
}

bool RunsUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// False when the viewer cannot be started.
bool ShowInWinHelp(HWND owner, const std::string &helpFile, const wchar_t *contextKey, DWORD contextId) {
    if (!WinHelpA(owner, helpFile.c_str(), HELP_CONTENTS, 0))
        return false;
    std::string key;
    if (SpellInAnsi(contextKey, key)) {
        std::string macro = "JumpID(\"\",\"" + key + "\")";
        WinHelpA(owner, helpFile.c_str(), HELP_COMMAND, reinterpret_cast<ULONG_PTR>(macro.c_str()));
    }
    if (contextId != 0)
        WinHelpA(owner, helpFile.c_str(), HELP_CONTEXT, contextId);
    return true;
}

void ShowInBrowser(HWND owner, const std::wstring &page) {
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_FLAG_NO_UI; // the failure is told below, naming the page
    request.hwnd = owner;
    request.lpVerb = L"open";
    request.lpFile = page.c_str();
    request.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&request)) {
        DWORD code = GetLastError();
        throw ui::Error(L"Cannot open the help page " + page + L"\n" + ui::SystemErrorText(code));
    }
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

std::wstring HtmlPageOf(const std::wstring &helpFile, const wchar_t *contextKey) {
    return helpFile.substr(0, helpFile.find_last_of(L"\\/") + 1) + L"Help\\" + contextKey + L".html";
}

HelpViewer HelpViewerOfThisSystem() {
    static const HelpViewer viewer = [] {
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
        bool beforeVista = GetVersionExW(&version) && version.dwMajorVersion < 6;
        return beforeVista || RunsUnderWine() ? HelpViewer::WinHelp : HelpViewer::Browser;
    }();
    return viewer;
}

std::string AnsiSpellingOf(const std::wstring &path) {
    std::string spelled;
    if (SpellInAnsi(path, spelled))
        return spelled;
    DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring shortPath(size, L'\0');
    size = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (size == 0 || size >= shortPath.size())
        return {};
    shortPath.resize(size);
    return SpellInAnsi(shortPath, spelled) ? spelled : std::string();
}

void ShowHelpTopic(HWND owner, const std::wstring &helpFile, const wchar_t *contextKey, DWORD contextId,
                   HelpViewer viewer) {
    if (viewer == HelpViewer::WinHelp && GetFileAttributesW(helpFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::string spelled = AnsiSpellingOf(helpFile);
        if (!spelled.empty() && ShowInWinHelp(owner, spelled, contextKey, contextId))
            return;
    }
    ShowInBrowser(owner, HtmlPageOf(helpFile, contextKey));
}

} // namespace help
