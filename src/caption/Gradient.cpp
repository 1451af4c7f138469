#include "caption/Gradient.h"

#include <algorithm>
#include <cstdint>

namespace caption {

int MulDivRound(int a, int b, int c) {
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t quotient = product / c;
    std::int64_t remainder = product % c;
    if (remainder != 0 && 2 * (remainder < 0 ? -remainder : remainder) >= (c < 0 ? -std::int64_t{c} : c))
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(quotient);
}

namespace {

int Channel(COLORREF from, COLORREF to, int shift, int i, int steps) {
    int start = static_cast<int>((from >> shift) & 0xFF);
    int end = static_cast<int>((to >> shift) & 0xFF);
    return start + MulDivRound(i, end - start, steps);
}

} // namespace

std::vector<TBand> GradientBands(int left, int width, int numColors, COLORREF from, COLORREF to) {
    numColors = std::clamp(numColors, kMinNumColors, kMaxNumColors);
    std::vector<TBand> bands;
    bands.reserve(static_cast<size_t>(numColors));
    for (int i = 0; i < numColors; ++i) {
        COLORREF color = from & 0x00FFFFFF;
        if (numColors > 1)
            color = RGB(Channel(from, to, 0, i, numColors - 1), Channel(from, to, 8, i, numColors - 1),
                        Channel(from, to, 16, i, numColors - 1));
        bands.push_back({left + MulDivRound(i, width, numColors), left + MulDivRound(i + 1, width, numColors), color});
    }
    return bands;
}

int ClampNumColors(int current, int requested) {
    if (requested < kMinNumColors) return current;
    return std::min(requested, kMaxNumColors);
}

bool GradientWanted(TGradEnabled enabled, bool active, int bitsPerPixel) {
    switch (enabled) {
    case geAlways:
        return true;
    case geNever:
        return false;
    case geWhenActive:
        return active;
    case geSmart:
        return bitsPerPixel >= (active ? 8 : 9);
    }
    return false;
}

} // namespace caption
