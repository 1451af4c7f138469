#pragma once

namespace ui {

// Raises a flag for as long as it lives, and lowers it on every way out, an exception's too.
class TScopedFlag {
public:
    explicit TScopedFlag(bool &flag) : flag_(flag) { flag_ = true; }
    ~TScopedFlag() { flag_ = false; }
    TScopedFlag(const TScopedFlag &) = delete;
    TScopedFlag &operator=(const TScopedFlag &) = delete;

private:
    bool &flag_;
};

} // namespace ui
