// Writes the command line it was started with, as UTF-16, to the file that ZELVOR_ECHO_FILE names.
#include <windows.h>

int main() {
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ZELVOR_ECHO_FILE", path, MAX_PATH))
        return 1;
    const wchar_t *line = GetCommandLineW();
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(lstrlenW(line) * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
