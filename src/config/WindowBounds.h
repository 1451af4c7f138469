#pragma once
#include <windows.h>

#include "config/SettingsStore.h"

namespace config {

// The smallest main window that still shows both sides and the command line.
inline constexpr int kMinWindowWidth = 320;
inline constexpr int kMinWindowHeight = 200;
// How much of the title bar must lie on the work area for the window to be taken by the mouse.
inline constexpr int kMinVisibleCaption = 100;

// Saved bounds as they can be used on this work area: a size below the minimum grows to it (as far as
// the work area allows), and a window whose title bar is not on the work area (enough of it to drag)
// is moved onto it. Bounds that can be used are kept as they are.
TWindowPos OnWorkArea(const TWindowPos &pos, const RECT &work, int captionHeight);

// A window's normal position as GetWindowPlacement gives it (workspace coordinates: relative to the work
// area of its monitor) in screen coordinates.
RECT WorkspaceToScreen(const RECT &normal, const RECT &work, const RECT &monitor);

} // namespace config
