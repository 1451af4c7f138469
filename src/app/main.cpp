#include <windows.h>
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"Zelvor", L"Zelvor", MB_OK);
    return 0;
}
