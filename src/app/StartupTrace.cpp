#include "app/StartupTrace.h"

#include <windows.h>

#include <iterator>

#include "ui/Fallbacks.h"

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
    if (!area) return;
    FILETIME now = ui::PreciseSystemTime();
    // The start-up threads mark their steps too: each mark takes its own entry.
    long index = InterlockedIncrement(&area->count) - 1;
    if (index < 0 || index >= static_cast<long>(std::size(area->entries))) return;
    TStartupTraceEntry &entry = area->entries[index];
    lstrcpynW(entry.step, step, static_cast<int>(std::size(entry.step)));
    entry.time = (static_cast<long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

} // namespace app
