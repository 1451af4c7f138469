// Ends its process while a thread of its own is still asking for pictures, as the program's start-up
// thread may be when a window closed at once ends the program.
#include <windows.h>

#include "filelist/ShellInfo.h"

namespace {

DWORD WINAPI AskForPictures(void *started) {
    SetEvent(static_cast<HANDLE>(started));
    for (;;) {
        filelist::DriveTypeIcon(DRIVE_FIXED);
        filelist::QuickDriveTypePicture(DRIVE_FIXED);
    }
}

} // namespace

int main() {
    // The pictures are made once; later questions find them in the kept lists.
    filelist::DriveTypeIcon(DRIVE_FIXED);
    filelist::QuickDriveTypePicture(DRIVE_FIXED);
    HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    for (int i = 0; i < 4; ++i)
        CloseHandle(CreateThread(nullptr, 0, AskForPictures, started, 0, nullptr));
    WaitForSingleObject(started, INFINITE);
    Sleep(5);
    return 0;
}
