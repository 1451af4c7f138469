#include "driver/HelpViewer.h"

#include "ui/Application.h"

namespace testdriver {

namespace {

BOOL CALLBACK TakeTopicText(HWND child, LPARAM out) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (_wcsnicmp(name, L"RichEdit", 8) != 0) return TRUE;
    *reinterpret_cast<std::wstring *>(out) = TextOf(child);
    return FALSE;
}

} // namespace

HWND FindHelpViewer() { return FindWindowW(L"MS_WINHELP", nullptr); }

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    text.resize(copied);
    return text;
}

std::wstring HelpViewerTitle() {
    std::wstring text;
    if (HWND viewer = FindHelpViewer()) EnumChildWindows(viewer, TakeTopicText, reinterpret_cast<LPARAM>(&text));
    return text.substr(0, text.find_first_of(L"\r\n"));
}

std::wstring WaitForHelpTitle(const std::wstring &expected, int timeoutSeconds) {
    std::wstring shown;
    DWORD end = GetTickCount() + static_cast<DWORD>(timeoutSeconds) * 1000;
    while (GetTickCount() < end) {
        shown = HelpViewerTitle();
        if (shown == expected) break;
        ui::Application().ProcessMessages();
        Sleep(100);
    }
    return shown;
}

void CloseHelpViewer(HWND owner, const std::wstring &helpFile) {
    HWND viewer = FindHelpViewer();
    if (!viewer) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(viewer, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    WinHelpW(owner, helpFile.c_str(), HELP_QUIT, 0);
    if (process) {
        if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

bool WinHelpDisabled() {
    wchar_t value[2048] = {};
    DWORD length = GetEnvironmentVariableW(L"WINEDLLOVERRIDES", value, 2048);
    return length > 0 && length < 2048 && wcsstr(value, L"winhlp32.exe=d") != nullptr;
}

} // namespace testdriver
