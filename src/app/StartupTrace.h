#pragma once

namespace app {

// Marks one step of start-up with the time it ended. The marks go nowhere unless a measuring program
// has opened the shared trace area (kStartupTraceName) before starting Zelvor: then each mark is written
// there, as the step's name and the system time in 100 ns units, for it to read.
void TraceStartup(const wchar_t *step);

inline constexpr wchar_t kStartupTraceName[] = L"Local\\ZelvorStartupTrace";

// The layout of the shared area.
struct TStartupTraceEntry {
    wchar_t step[40];
    long long time; // system time as a FILETIME value
};
struct TStartupTraceArea {
    long count;
    TStartupTraceEntry entries[64];
};

} // namespace app
