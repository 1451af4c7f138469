#pragma once

#include <windows.h>

#include <memory>

// Owning wrappers for the file and find handles the search opens, closed on every path.
struct FileHandleCloser {
    void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
using UniqueFileHandle = std::unique_ptr<void, FileHandleCloser>;

struct FindHandleCloser {
    void operator()(HANDLE h) const noexcept { FindClose(h); }
};
using UniqueFindHandle = std::unique_ptr<void, FindHandleCloser>;

// CreateFile and FindFirstFile report failure as INVALID_HANDLE_VALUE, which must never be owned.
inline HANDLE NullIfInvalid(HANDLE h) noexcept {
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}
