#pragma once
#include <unknwn.h>

#include <utility>

namespace fileops {

// Owns one reference to a COM interface and releases it on every path.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr &) = delete;
    ComPtr &operator=(const ComPtr &) = delete;
    ComPtr(ComPtr &&o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr &operator=(ComPtr &&o) noexcept {
        Reset(std::exchange(o.p_, nullptr));
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset(T *p = nullptr) {
        if (p_)
            p_->Release();
        p_ = p;
    }
    T *Get() const { return p_; }
    T *operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // The address to receive a new reference; the old one is released first.
    T **Receive() {
        Reset();
        return &p_;
    }
    void **ReceiveVoid() { return reinterpret_cast<void **>(Receive()); }

private:
    T *p_ = nullptr;
};

} // namespace fileops
