// TTextSearch against std::search with a case-folding byte comparison, over the same 256 MiB of mixed text.
#include "search/TextSrch.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchClock.h"

std::string MixedText(size_t bytes, unsigned seed);
void AnsiLowerBytes(unsigned char table[256]);

namespace {

constexpr size_t TextBytes = 256u << 20;
constexpr int Rounds = 3;

template <class F> double Best(F &&run, long long &result) {
    double best = 1e30;
    for (int i = 0; i < Rounds; ++i) {
        const double start = bench::Now();
        result = run();
        best = std::min(best, bench::Now() - start);
    }
    return best;
}

void Measure(const char *what, const std::string &text, const std::string &pattern) {
    unsigned char lower[256];
    AnsiLowerBytes(lower);
    TTextSearch search;
    search.SetPattern(pattern);
    long long ours = 0, theirs = 0;
    const double tOurs = Best([&] { return static_cast<long long>(search.Find(text)); }, ours);
    const double tTheirs = Best(
        [&] {
            const auto it = std::search(text.begin(), text.end(), pattern.begin(), pattern.end(), [&](char a, char b) {
                return lower[static_cast<unsigned char>(a)] == lower[static_cast<unsigned char>(b)];
            });
            return it == text.end() ? 0LL : static_cast<long long>(it - text.begin()) + 1;
        },
        theirs);
    const double mb = static_cast<double>(text.size()) / 1e6;
    std::printf("%-8s pattern %-22s TTextSearch %7.0f MB/s   std::search %7.0f MB/s   ratio %.2fx%s\n", what,
                ("\"" + pattern + "\"").c_str(), mb / tOurs, mb / tTheirs, tTheirs / tOurs,
                ours == theirs ? "" : "   RESULTS DIFFER");
}

} // namespace

int main() {
    std::string text = MixedText(TextBytes, 1);
    std::printf("text: %zu MiB of mixed text, best of %d runs each\n", text.size() >> 20, Rounds);
    for (const char *pattern : {"Zelvor", "zelvor needle text", "ZELVOR-SEARCH-BENCHMARK-PATTERN"})
        Measure("absent", text, pattern);
    for (const char *pattern : {"Zelvor", "zelvor needle text", "ZELVOR-SEARCH-BENCHMARK-PATTERN"}) {
        std::string planted = text;
        const std::string p = pattern;
        std::copy(p.begin(), p.end(), planted.end() - 4096);
        Measure("near end", planted, p);
    }
    return 0;
}
