#pragma once
#include <windows.h>

#include <string>

namespace testdriver {

// The system's help viewer as a person sees it: its window, and the title of the topic it shows
// (the first line of its topic window).
HWND FindHelpViewer();
std::wstring HelpViewerTitle();
// Waits until the viewer shows the expected title (or the time is up) and returns what it shows.
std::wstring WaitForHelpTitle(const std::wstring &expected, int timeoutSeconds = 20);
// Closes the viewer, ending its process if it does not go.
void CloseHelpViewer(HWND owner, const std::wstring &helpFile);
std::wstring TextOf(HWND window);

// Whether this test program runs where Wine cannot start its help viewer, as on a Windows without WinHelp: the
// suite runs the help tests once more so (WINEDLLOVERRIDES with "winhlp32.exe=d", which Wine reads from the
// environment it starts a program in, not from one a program changes).
bool WinHelpDisabled();

} // namespace testdriver
