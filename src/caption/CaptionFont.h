#pragma once
#include <windows.h>

#include <functional>

#include "caption/CaptionTypes.h"

namespace caption {

// The system's caption font as the title bar uses it: the system font with the face, height, italic and
// boldness of the caption font from the non-client metrics. Stays the system font when the system does not answer.
LOGFONTW LoadSystemCaptionFont();

// The font a font kind gives: the caption font, made italic and/or bold, or the text's own font
// (with its height fitted to the caption font for fkAutoHeight).
LOGFONTW DeriveFont(TFontKind kind, const LOGFONTW &own, const LOGFONTW &systemCaption);

// The character height (cell height less internal leading) of a font, measured on a scratch bitmap.
int CharacterHeight(const LOGFONTW &font);

// The font height (as a LOGFONT height) that gives the target character height: grown or shrunk by the
// difference, then shrunk by any excess measured again. charHeight measures a LOGFONT height.
int AutoFontHeight(int height, int target, const std::function<int(int height)> &charHeight);

} // namespace caption
