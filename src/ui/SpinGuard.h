#pragma once
#include <windows.h>

#include <atomic>

namespace ui {

// Holds a spin lock for a scope. For plain globals that serve any thread from before the first constructor
// runs (an atomic_flag is set up at compile time), where a mutex cannot be relied on yet; each hold is short.
class TSpinGuard {
public:
    explicit TSpinGuard(std::atomic_flag &lock) : lock_(lock) {
        while (lock_.test_and_set(std::memory_order_acquire)) Sleep(0);
    }
    ~TSpinGuard() { lock_.clear(std::memory_order_release); }
    TSpinGuard(const TSpinGuard &) = delete;
    TSpinGuard &operator=(const TSpinGuard &) = delete;

private:
    std::atomic_flag &lock_;
};

} // namespace ui
