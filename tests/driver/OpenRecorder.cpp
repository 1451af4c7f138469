// open_recorder.exe: stands in for the browser. It appends what it was asked to open (its one argument, the
// association's "%1") as a line of UTF-8 to the file named by ZELVOR_OPEN_RECORD, and ends.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t record[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ZELVOR_OPEN_RECORD", record, MAX_PATH)) return 2;
    int count = 0;
    wchar_t **args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring opened = args && count >= 2 ? args[1] : L"(nothing)";
    LocalFree(args);
    int size = WideCharToMultiByte(CP_UTF8, 0, opened.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string line(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, opened.c_str(), -1, line.data(), size, nullptr, nullptr);
    line += '\n';
    HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
