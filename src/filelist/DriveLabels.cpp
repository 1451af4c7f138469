#include "filelist/DriveLabels.h"

#include <winnetwk.h>

#include <mutex>

#include "ui/Fallbacks.h"
#include "ui/LateBound.h"
#include "ui/Threads.h"

namespace filelist {

namespace {

// The network library's call, found at its first use.
decltype(&::WNetGetConnectionW) NetConnectionCall() {
    static const auto call = ui::LateBound<decltype(&::WNetGetConnectionW)>(L"mpr.dll", "WNetGetConnectionW");
    return call;
}

} // namespace

std::wstring ReadDriveName(wchar_t letter, UINT driveType) {
    if (driveType == DRIVE_REMOTE) {
        wchar_t local[] = {letter, L':', 0};
        wchar_t remote[MAX_PATH] = {};
        DWORD n = MAX_PATH;
        const auto WNetGetConnectionW = NetConnectionCall();
        return WNetGetConnectionW && WNetGetConnectionW(local, remote, &n) == NO_ERROR ? remote : L"";
    }
    if (driveType != DRIVE_FIXED && driveType != DRIVE_CDROM && driveType != DRIVE_RAMDISK) return {};
    wchar_t root[] = {letter, L':', L'\\', 0};
    wchar_t volume[MAX_PATH + 1] = {};
    // An empty drive gives no system message box.
    ui::TQuietDriveErrors quiet;
    BOOL ok = GetVolumeInformationW(root, volume, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
    return ok ? volume : L"";
}

struct TDriveNameReader::TShared {
    std::mutex lock;
    HWND window = nullptr; // null once the owner is gone
    UINT notify = 0;
    std::vector<TDriveName> ready;
};

void TDriveNameReader::Stop() {
    if (!shared_) return;
    std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->window = nullptr;
}

void TDriveNameReader::Start(HWND window, UINT notify, std::vector<TDrive> drives) {
    // A reader of an earlier list goes on alone; its names no longer reach this window.
    Stop();
    // The network library is loaded here, not by the reader: a reader still inside the loader when the
    // process ends would keep the loader's lock, and the end of the process waits for that lock.
    for (const TDrive &drive : drives)
        if (drive.type == DRIVE_REMOTE) {
            NetConnectionCall();
            break;
        }
    shared_ = std::make_shared<TShared>();
    shared_->window = window;
    shared_->notify = notify;
    // Without a thread the box keeps its letters alone.
    ui::StartThread([shared = shared_, drives = std::move(drives)] {
        for (const TDrive &drive : drives) {
            if (ui::Ending()) return;
            std::wstring name = ReadDriveName(drive.letter, drive.type);
            std::lock_guard<std::mutex> guard(shared->lock);
            if (!shared->window) return;
            shared->ready.push_back({drive.letter, std::move(name)});
            PostMessageW(shared->window, shared->notify, 0, 0);
        }
    });
}

std::vector<TDriveNameReader::TDriveName> TDriveNameReader::Take() {
    std::vector<TDriveName> names;
    if (!shared_) return names;
    std::lock_guard<std::mutex> guard(shared_->lock);
    names.swap(shared_->ready);
    return names;
}

} // namespace filelist
