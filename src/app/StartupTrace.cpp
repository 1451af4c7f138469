#include "app/StartupTrace.h"

#include <windows.h>

#include <iterator>

namespace app {

namespace {

// The mapped area, or null when nobody measures; looked for once.
TStartupTraceArea *TraceArea() {
    static TStartupTraceArea *area = [] () -> TStartupTraceArea * {
        HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kStartupTraceName);
        if (!mapping) return nullptr;
        void *view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(TStartupTraceArea));
        // The view keeps the area alive; it lasts as long as the process.
        CloseHandle(mapping);
        return static_cast<TStartupTraceArea *>(view);
    }();
    return area;
}

} // namespace

void TraceStartup(const wchar_t *step) {
    TStartupTraceArea *area = TraceArea();
    if (!area || area->count < 0 || area->count >= static_cast<long>(std::size(area->entries))) return;
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    TStartupTraceEntry &entry = area->entries[area->count];
    lstrcpynW(entry.step, step, static_cast<int>(std::size(entry.step)));
    entry.time = (static_cast<long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    ++area->count;
}

} // namespace app
