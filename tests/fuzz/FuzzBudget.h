#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace fuzz {

// How long each target runs and from which seed: short in the suite, as long as asked for on demand
// (ZELVOR_FUZZ_SECONDS=600 for ten minutes a target). The suite runs one fixed seed, so it repeats itself;
// ZELVOR_FUZZ_SEED picks another, or repeats a failing one.
class TFuzzBudget {
public:
    TFuzzBudget() : seed_(ReadNumber("ZELVOR_FUZZ_SEED", 20261207)), rng_(seed_) {
        milliseconds_ = ReadNumber("ZELVOR_FUZZ_SECONDS", 2) * 1000;
        start_ = GetTickCount();
    }
    ~TFuzzBudget() { std::printf("[ fuzz     ] %llu rounds, seed %u\n", static_cast<unsigned long long>(rounds_), seed_); }
    TFuzzBudget(const TFuzzBudget &) = delete;
    TFuzzBudget &operator=(const TFuzzBudget &) = delete;

    // True while time is left; counts the rounds.
    bool More() {
        ++rounds_;
        return GetTickCount() - start_ < milliseconds_;
    }
    uint32_t Seed() const { return seed_; }
    uint64_t Rounds() const { return rounds_; }
    std::mt19937 &Rng() { return rng_; }

    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
    bool OneIn(size_t n) { return Below(n) == 0; }

    template <class S> S Pick(const S &alphabet, size_t maxLength) {
        S out(Below(maxLength + 1), typename S::value_type{});
        for (auto &c : out)
            c = alphabet[Below(alphabet.size())];
        return out;
    }

private:
    static uint32_t ReadNumber(const char *name, uint32_t fallback) {
        const char *text = std::getenv(name);
        return text && *text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : fallback;
    }

    uint32_t seed_;
    std::mt19937 rng_;
    uint32_t milliseconds_ = 0;
    DWORD start_ = 0;
    uint64_t rounds_ = 0;
};

} // namespace fuzz
