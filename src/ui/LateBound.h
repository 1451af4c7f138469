#pragma once
#include <windows.h>

namespace ui {

// A function of a library that only some commands need (the open dialog, the network dialogs, version
// data, sound devices), found at its first use instead of being imported: every imported library is
// loaded at each start, and under Wine these four added about 30 ms before the program's first line ran.
// Null when the library or the function is missing.
template <typename Function> Function LateBound(const wchar_t *library, const char *name) {
    // Only the system's own copy: a library of that name beside the program or in the current folder
    // is never loaded. It stays loaded for the rest of the process, as an import would.
    wchar_t path[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenW(library) >= MAX_PATH) return nullptr;
    path[length] = L'\\';
    lstrcpyW(path + length + 1, library);
    HMODULE module = LoadLibraryW(path);
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace ui
