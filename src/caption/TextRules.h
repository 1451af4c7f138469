#pragma once
#include <functional>
#include <string>

#include "caption/CaptionTypes.h"

namespace caption {

// One of the three caption texts as the joining and placing rules see it.
struct TTextPart {
    std::wstring text;
    bool visible = true;
};

// The window text the task bar shows: the visible texts in the order company, application name, caption,
// a blank after a non-empty company text when another text is visible, and after a non-empty application
// name when the caption is visible.
std::wstring JoinWindowText(const TTextPart &company, const TTextPart &appName, const TTextPart &caption);

// The caption part of a window text: a visible, non-empty company text at its front is removed with one
// blank after it, then the application name the same way.
std::wstring CaptionFromWindowText(const std::wstring &windowText, const TTextPart &company,
                                   const TTextPart &appName);

enum TTextIndex { tiCompany, tiAppName, tiCaption, kTextCount };

// Where each text is drawn: from left to the end of the text area (right); drawn false when it is not.
struct TTextRun {
    bool drawn = false;
    int left = 0;
    int right = 0;
};

struct TTextLine {
    // Pixel width of each text in its own font.
    int width[kTextCount] = {};
    // Whether each text takes part: visible, and for the company and application name also non-empty.
    bool present[kTextCount] = {};
};

constexpr int kTextGap = 3;

// Drops texts that do not fit (the company text first, then the application name) and places the rest
// in [areaLeft, areaRight) as the justification asks; the new style keeps automatic justification left.
void PlaceTexts(const TTextLine &line, int areaLeft, int areaRight, TJustification justification, bool newStyle,
                TTextRun (&runs)[kTextCount]);

// The text as it fits in maxWidth: whole, or cut at the end with "..." appended.
std::wstring FitWithEllipsis(const std::wstring &text, int maxWidth,
                             const std::function<int(const std::wstring &)> &measure);

} // namespace caption
