#pragma once
#include <windows.h>

// Header only: the benchmarks and the package test use it without the test driver's library.
namespace testdriver {

namespace detail {

struct TopWindowQuery {
    DWORD process;
    HWND found;
};

inline BOOL CALLBACK MatchTopWindow(HWND window, LPARAM data) {
    auto *query = reinterpret_cast<TopWindowQuery *>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    query->found = window;
    return FALSE;
}

} // namespace detail

// The first visible top-level window of a process that no other window owns (its main window, once shown),
// or null.
inline HWND VisibleTopWindow(DWORD process) {
    detail::TopWindowQuery query{process, nullptr};
    EnumWindows(detail::MatchTopWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

} // namespace testdriver
