#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace filelist {

// The name a drive shows beside its letter: the volume label of fixed, CD-ROM and RAM drives, the share
// of a network drive, nothing for others. Reading it may touch the medium or the network.
std::wstring ReadDriveName(wchar_t letter, UINT driveType);

// Reads drive names away from the UI thread, so a CD drive spinning up or a network drive whose server is
// gone never holds up the window. Each name read is kept and the window is told with a posted message; a
// reader still waiting on a slow drive when its owner goes finishes that drive alone, and the end of the
// program waits for it.
class TDriveNameReader {
public:
    struct TDriveName {
        wchar_t letter;
        std::wstring name;
    };
    struct TDrive {
        wchar_t letter;
        UINT type;
    };

    ~TDriveNameReader() { Stop(); }
    // No more names reach the window (called when it goes).
    void Stop();
    // Starts reading the names of these drives in order; `notify` is posted to `window` after each one.
    void Start(HWND window, UINT notify, std::vector<TDrive> drives);
    // The names read since the last call, in the order they were read.
    std::vector<TDriveName> Take();

private:
    struct TShared;
    std::shared_ptr<TShared> shared_;
};

} // namespace filelist
