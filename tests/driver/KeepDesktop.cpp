// Holds the Wine desktop of a test run for the whole run. Without a program on it, Wine closes the desktop
// between two test programs, and the next one starts it again: the desktop's process then inherits that
// program's output and CTest waits for it to close, some fifteen seconds a program.
#include <windows.h>

#include <string>

// The file named on the command line, if any, is made once the desktop is up: the test script waits for it,
// so that no test program starts the desktop itself (with that program's output) before the keeper has.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    GetDesktopWindow();
    std::string ready = commandLine ? commandLine : "";
    if (ready.size() >= 2 && ready.front() == '"' && ready.back() == '"') ready = ready.substr(1, ready.size() - 2);
    if (!ready.empty()) {
        HANDLE file = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    Sleep(INFINITE);
    return 0;
}
