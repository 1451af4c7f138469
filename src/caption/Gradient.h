#pragma once
#include <windows.h>

#include <vector>

#include "caption/CaptionTypes.h"

namespace caption {

constexpr int kMinNumColors = 1;
constexpr int kMaxNumColors = 256;

// a * b / c rounded to the nearest integer, halves away from zero (as the system's MulDiv); c must not be 0.
int MulDivRound(int a, int b, int c);

// One vertical band of the gradient: [left, right) in the colour; a band may have no width.
struct TBand {
    int left;
    int right;
    COLORREF color;
};

// The bands of a gradient over [left, left + width) from one colour to the other.
std::vector<TBand> GradientBands(int left, int width, int numColors, COLORREF from, COLORREF to);

// The band count a request leaves: below the minimum the request is ignored, above the maximum it is cut.
int ClampNumColors(int current, int requested);

// Whether the gradient is drawn for this setting, activation and screen depth.
bool GradientWanted(TGradEnabled enabled, bool active, int bitsPerPixel);

} // namespace caption
