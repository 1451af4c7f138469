#include "ui/Fallbacks.h"

#include <atomic>

#include "ui/LateBound.h"
#include "ui/SpinGuard.h"

namespace ui {

namespace {

using TickCount64Call = ULONGLONG(WINAPI *)();
using PreciseTimeCall = void(WINAPI *)(FILETIME *);
using ThreadErrorModeCall = BOOL(WINAPI *)(DWORD, DWORD *);

// Constant-initialised, so usable from the runtime library before any constructor has run.
constinit const TLateBound<TickCount64Call> kTickCount64(L"kernel32.dll", "GetTickCount64");
constinit const TLateBound<PreciseTimeCall> kPreciseTime(L"kernel32.dll", "GetSystemTimePreciseAsFileTime");
constinit const TLateBound<ThreadErrorModeCall> kThreadErrorMode(L"kernel32.dll", "SetThreadErrorMode");

std::atomic<unsigned long long> followedTicks{0};

// The process's mode as the first quiet scope found it, and how many scopes live.
std::atomic_flag processModeLock = ATOMIC_FLAG_INIT;
int processQuietScopes = 0;
UINT processModeBefore = 0;

} // namespace

ULONGLONG AdvanceTicks(ULONGLONG last, DWORD reading) {
    return last + static_cast<DWORD>(reading - static_cast<DWORD>(last));
}

ULONGLONG TickCount64() {
    if (TickCount64Call call = kTickCount64.Get()) return call();
    unsigned long long seen = followedTicks.load();
    for (;;) {
        // Read after the last value seen, so never behind it.
        unsigned long long next = AdvanceTicks(seen, GetTickCount());
        if (followedTicks.compare_exchange_weak(seen, next)) return next;
    }
}

FILETIME PreciseSystemTime() {
    FILETIME now{};
    if (PreciseTimeCall call = kPreciseTime.Get()) call(&now);
    else GetSystemTimeAsFileTime(&now);
    return now;
}

bool ListingFlagsTaken() {
    static const bool seven = [] {
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
        return GetVersionExW(&version) &&
               (version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 1));
    }();
    return seven && !latebound::Refused("FindExInfoBasic");
}

HANDLE FindFirstForListing(const std::wstring &pattern, WIN32_FIND_DATAW &fd, bool shortNames) {
    if (!ListingFlagsTaken())
        return FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &fd, FindExSearchNameMatch, nullptr, 0);
    return FindFirstFileExW(pattern.c_str(), shortNames ? FindExInfoStandard : FindExInfoBasic, &fd,
                            FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
}

TQuietDriveErrors::TQuietDriveErrors() {
    if (ThreadErrorModeCall call = kThreadErrorMode.Get())
        if (call(SEM_FAILCRITICALERRORS, &previous_)) {
            threadMode_ = call;
            return;
        }
    TSpinGuard hold(processModeLock);
    if (processQuietScopes++ == 0) {
        // The mode can only be read by setting it.
        processModeBefore = SetErrorMode(SEM_FAILCRITICALERRORS);
        SetErrorMode(processModeBefore | SEM_FAILCRITICALERRORS);
    }
}

TQuietDriveErrors::~TQuietDriveErrors() {
    if (threadMode_) {
        threadMode_(previous_, nullptr);
        return;
    }
    TSpinGuard hold(processModeLock);
    if (--processQuietScopes == 0) SetErrorMode(processModeBefore);
}

} // namespace ui
