#include "ui/LateBound.h"

#include <cstring>

#include "ui/SpinGuard.h"

namespace ui {

namespace {

// Plain globals behind a spin lock, set up before any code runs: the runtime library's own calls come
// through here too (see app/RuntimeImports.cpp), on any thread and at any time.
constexpr int kMostRefused = 32;
std::atomic_flag refusalsLock = ATOMIC_FLAG_INIT;
const char *refusedNames[kMostRefused] = {}; // one slot per refusal alive; a name may stand twice
std::atomic<unsigned> generation{1};

} // namespace

namespace latebound {

bool Refused(const char *name) {
    // No refusal has ever been made: the usual case, without the lock.
    if (generation.load(std::memory_order_acquire) == 1) return false;
    TSpinGuard hold(refusalsLock);
    for (const char *refused : refusedNames)
        if (refused && std::strcmp(refused, name) == 0) return true;
    return false;
}

unsigned Generation() { return generation.load(std::memory_order_acquire); }

} // namespace latebound

TRefuseLateBound::TRefuseLateBound(std::initializer_list<const char *> names) {
    TSpinGuard hold(refusalsLock);
    for (const char *name : names)
        for (const char *&slot : refusedNames)
            if (!slot) {
                slot = name;
                names_.push_back(name);
                break;
            }
    generation.fetch_add(1, std::memory_order_acq_rel);
}

TRefuseLateBound::~TRefuseLateBound() {
    TSpinGuard hold(refusalsLock);
    for (const char *name : names_)
        for (const char *&slot : refusedNames)
            if (slot == name) {
                slot = nullptr;
                break;
            }
    generation.fetch_add(1, std::memory_order_acq_rel);
}

} // namespace ui
