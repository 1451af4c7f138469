#include "caption/TextRules.h"

namespace caption {

std::wstring JoinWindowText(const TTextPart &company, const TTextPart &appName, const TTextPart &caption) {
    std::wstring text;
    if (company.visible) {
        text += company.text;
        if (!company.text.empty() && (appName.visible || caption.visible)) text += L' ';
    }
    if (appName.visible) {
        text += appName.text;
        if (!appName.text.empty() && caption.visible) text += L' ';
    }
    if (caption.visible) text += caption.text;
    return text;
}

namespace {

std::wstring DropFront(const std::wstring &text, const TTextPart &part) {
    if (!part.visible || part.text.empty() || text.compare(0, part.text.size(), part.text) != 0) return text;
    std::wstring rest = text.substr(part.text.size());
    if (!rest.empty() && rest[0] == L' ') rest.erase(0, 1);
    return rest;
}

} // namespace

std::wstring CaptionFromWindowText(const std::wstring &windowText, const TTextPart &company,
                                   const TTextPart &appName) {
    return DropFront(DropFront(windowText, company), appName);
}

void PlaceTexts(const TTextLine &line, int areaLeft, int areaRight, TJustification justification, bool newStyle,
                TTextRun (&runs)[kTextCount]) {
    int areaWidth = areaRight - areaLeft;
    bool drawn[kTextCount];
    auto widthOf = [&](const bool (&which)[kTextCount]) {
        int total = 0;
        for (int i = 0; i < kTextCount; ++i)
            if (which[i]) total += line.width[i] + kTextGap;
        return total;
    };
    for (int i = 0; i < kTextCount; ++i) drawn[i] = line.present[i];
    if (widthOf(drawn) >= areaWidth) {
        drawn[tiCompany] = false;
        if (widthOf(drawn) >= areaWidth) drawn[tiAppName] = false;
    }
    int total = widthOf(drawn);
    int start = areaLeft;
    if (total < areaWidth) {
        if (justification == jAuto) justification = newStyle ? jLeft : jCenter;
        if (justification == jCenter) start = areaLeft + (areaWidth - total) / 2;
        else if (justification == jRight) start = areaRight - total;
    }
    int x = start;
    for (int i = 0; i < kTextCount; ++i) {
        runs[i] = {};
        if (!drawn[i]) continue;
        x += kTextGap;
        runs[i] = {x < areaRight, x, areaRight};
        x += line.width[i];
    }
}

std::wstring FitWithEllipsis(const std::wstring &text, int maxWidth,
                             const std::function<int(const std::wstring &)> &measure) {
    if (measure(text) <= maxWidth) return text;
    const std::wstring dots = L"...";
    // The longest front part that still fits with the dots; found by halving, as the widths only grow.
    size_t low = 0, high = text.size();
    while (low < high) {
        size_t mid = (low + high + 1) / 2;
        if (measure(text.substr(0, mid) + dots) <= maxWidth) low = mid;
        else high = mid - 1;
    }
    return text.substr(0, low) + dots;
}

} // namespace caption
