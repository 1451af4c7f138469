#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace help {

// The system services the print command uses; tests replace them to watch what it asks for.
struct PrintServices {
    // Carries out a shell verb on a file, with no parameters and no working directory; returns the
    // shell's answer (above 32 on success).
    std::function<INT_PTR(HWND owner, const std::wstring &verb, const std::wstring &file, int show)> shellExecute;
    // Starts a command line with its window shown as `show`, without waiting for it.
    std::function<void(const std::wstring &commandLine, int show)> run;

    static PrintServices System();
};

// Whether a shell answer to "print" means the file should be printed as text by Notepad instead:
// the file, its path or its program could not be reached, or its type has no usable print action.
bool PrintFallsBackToNotepad(INT_PTR shellAnswer);

// Prints a file through the shell's "print" action, shown minimised, falling back to Notepad's
// plain-text printing. A folder, or no file at all (empty path), prints nothing. Reports nothing.
void PrintFile(HWND owner, const std::wstring &fullPath, bool isFolder,
               const PrintServices &services = PrintServices::System());

// Starts a command line; false when it cannot be started.
bool StartProcess(const std::wstring &commandLine, int show);

} // namespace help
