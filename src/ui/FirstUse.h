#pragma once
#include <memory>
#include <utility>

namespace ui {

// An object made at its first use, its window too (Create): nothing can tell a window made then from one
// made at start-up, and start-up stays short. One whose making fails is not kept, so the next use tries again.
template <class T> class TFirstUse {
public:
    T &Get() {
        return Get([](T &) {});
    }
    // `setUp` runs once, on the new object, before it is kept.
    template <class SetUp> T &Get(SetUp &&setUp) {
        if (!made_) {
            auto made = std::make_unique<T>();
            if constexpr (requires(T &t) { t.Create(); }) made->Create();
            setUp(*made);
            made_ = std::move(made);
        }
        return *made_;
    }
    bool Made() const { return made_ != nullptr; }

private:
    std::unique_ptr<T> made_;
};

} // namespace ui
