// Holds the Wine desktop of a test run for the whole run. Without a program on it, Wine closes the desktop
// between two test programs, and the next one starts it again: the desktop's process then inherits that
// program's output and CTest waits for it to close, some fifteen seconds a program.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
