#pragma once
#include <windows.h>

#include <string>

namespace ui {

// Calls newer than Windows XP, each found at its first use and done without on a system that lacks it.

// Milliseconds since the system started, in 64 bits (Vista's GetTickCount64). Without it, the 32-bit
// count is followed across its wrap every 49.7 days; the count then starts where the 32-bit one stands.
ULONGLONG TickCount64();
// The 64-bit count after `last` when the 32-bit count reads `reading`: the wrap-safe difference added.
ULONGLONG AdvanceTicks(ULONGLONG last, DWORD reading);

// The time of day as exactly as the system keeps it (Windows 8's GetSystemTimePreciseAsFileTime);
// without it, the usual one, which moves in steps of the clock's tick.
FILETIME PreciseSystemTime();

// FindFirstFileExW for a listing. Windows 7 and later are asked for no short names (unless wanted) and
// for large fetches; older systems refuse both ("the parameter is incorrect") and are asked plainly.
HANDLE FindFirstForListing(const std::wstring &pattern, WIN32_FIND_DATAW &fd, bool shortNames);
// Whether the system takes those two (for tests, TRefuseLateBound of "FindExInfoBasic" says no).
bool ListingFlagsTaken();

// While one lives, a drive without a medium or a failing one gives this thread an error instead of the
// system's message box. Without Windows 7's thread mode, the process's mode is changed for as long as
// any of them lives, and then set back.
class TQuietDriveErrors {
public:
    TQuietDriveErrors();
    ~TQuietDriveErrors();
    TQuietDriveErrors(const TQuietDriveErrors &) = delete;
    TQuietDriveErrors &operator=(const TQuietDriveErrors &) = delete;

private:
    BOOL(WINAPI *threadMode_)(DWORD, DWORD *) = nullptr; // the thread's mode was set by this call
    DWORD previous_ = 0;
};

} // namespace ui
