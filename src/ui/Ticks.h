#pragma once
#include <windows.h>

namespace ui {

// Whether the tick count `now` has reached `tick`, also across the count's wrap after 49.7 days.
inline bool TickReached(DWORD now, DWORD tick) { return static_cast<LONG>(now - tick) >= 0; }

} // namespace ui
