#pragma once
#include <windows.h>

#include <string>

#include "ui/Handles.h"

// Files the viewer tests need beyond plain content.

// A file of the given size whose content is never written (a disk image stand-in): the file system
// keeps it sparse, so even gigabytes cost nothing.
inline std::wstring SizedFile(const std::wstring &path, unsigned long long size) {
    ui::KernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
    return path;
}

// Holds a file open as another program would (reading, sharing reads) for as long as it lives.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring &path)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    bool Holds() const { return file_ && file_.get() != INVALID_HANDLE_VALUE; }

private:
    ui::KernelHandle file_;
};
