#pragma once
#include <windows.h>

#include <atomic>
#include <initializer_list>
#include <vector>

namespace ui {

namespace latebound {
// Whether a test has the name looked up as missing; and a number that changes whenever that changes.
bool Refused(const char *name);
unsigned Generation();
} // namespace latebound

// A function found at its first use instead of being imported. Two kinds of function are found so:
// - a function newer than the oldest Windows the program runs on (XP SP3): imported, it would keep the
//   program from starting there at all; each caller has a way of doing without it;
// - a function of a library that only some commands need (the open dialog, the network dialogs, version
//   data, sound devices): every imported library is loaded at each start, and under Wine these four added
//   about 30 ms before the program's first line ran.
// Null when the library or the function is missing.
template <typename Function> Function LateBound(const wchar_t *library, const char *name) {
    if (latebound::Refused(name)) return nullptr;
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

// A late-bound function looked up once, for callers on any thread; looked up again only when a test
// changes what is refused.
template <typename Function> class TLateBound {
public:
    constexpr TLateBound(const wchar_t *library, const char *name) : library_(library), name_(name) {}

    Function Get() const {
        unsigned generation = latebound::Generation();
        if (seen_.load(std::memory_order_acquire) != generation) {
            function_.store(reinterpret_cast<void (*)()>(LateBound<Function>(library_, name_)),
                            std::memory_order_relaxed);
            seen_.store(generation, std::memory_order_release);
        }
        return reinterpret_cast<Function>(function_.load(std::memory_order_relaxed));
    }

private:
    const wchar_t *library_;
    const char *name_;
    mutable std::atomic<void (*)()> function_{nullptr};
    mutable std::atomic<unsigned> seen_{0}; // generations start at 1
};

// For tests: while one lives, the named functions are looked up as missing, as on an older Windows,
// so that the way the program does without them can be driven.
class TRefuseLateBound {
public:
    TRefuseLateBound(std::initializer_list<const char *> names);
    ~TRefuseLateBound();
    TRefuseLateBound(const TRefuseLateBound &) = delete;
    TRefuseLateBound &operator=(const TRefuseLateBound &) = delete;

private:
    std::vector<const char *> names_;
};

} // namespace ui
