// Holds the Wine desktop of a test run for the whole run. Without a program on it, Wine closes the desktop
// between two test programs, and the next one starts it again: the desktop's process then inherits that
// program's output and CTest waits for it to close, some fifteen seconds a program. The same happens to the
// first test program when it starts before the desktop is up, so a line on the output says when it is: the
// test script waits for that line before it runs anything.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    GetDesktopWindow();
    // The desktop's window answers once its process has made it.
    SendMessageTimeoutW(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "desktop up\n", 11, &written, nullptr);
    CloseHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    Sleep(INFINITE);
    return 0;
}
