#include "caption/CaptionFont.h"

#include <cstddef>
#include <cwchar>

#include "ui/GdiScopes.h"
#include "ui/Handles.h"

namespace caption {

LOGFONTW LoadSystemCaptionFont() {
    LOGFONTW font{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    // The size every system knows: built for XP, the headers leave out Vista's padded border.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return font;
    const LOGFONTW &caption = metrics.lfCaptionFont;
    wcsncpy(font.lfFaceName, caption.lfFaceName, LF_FACESIZE - 1);
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
    // Kept as the system gives it: negative a character height, positive a cell height, both in pixels.
    font.lfHeight = caption.lfHeight;
    font.lfWidth = 0;
    font.lfItalic = caption.lfItalic ? TRUE : FALSE;
    font.lfWeight = caption.lfWeight > 500 ? FW_BOLD : FW_NORMAL;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    font.lfCharSet = DEFAULT_CHARSET;
    return font;
}

int CharacterHeight(const LOGFONTW &font) {
    ui::TCompatibleDC dc;
    if (!dc) return 0;
    ui::BitmapHandle scratch(CreateCompatibleBitmap(dc.Get(), 10, 10));
    ui::FontHandle handle(CreateFontIndirectW(&font));
    if (!scratch || !handle) return 0;
    ui::TSelectScope bitmap(dc.Get(), scratch.Get());
    ui::TSelectScope selected(dc.Get(), handle.Get());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    return tm.tmHeight - tm.tmInternalLeading;
}

int AutoFontHeight(int height, int target, const std::function<int(int height)> &charHeight) {
    // Larger by delta pixels, whichever way the height is given (negative: character height, positive: cell).
    auto grow = [](int h, int delta) { return h < 0 ? h - delta : h + delta; };
    int measured = charHeight(height);
    if (height == 0) height = -measured;
    height = grow(height, target - measured);
    measured = charHeight(height);
    if (measured > target) height = grow(height, target - measured);
    return height;
}

LOGFONTW DeriveFont(TFontKind kind, const LOGFONTW &own, const LOGFONTW &systemCaption) {
    LOGFONTW font = systemCaption;
    switch (kind) {
    case fkSystem:
        break;
    case fkSystemI:
        font.lfItalic = TRUE;
        break;
    case fkSystemB:
        font.lfWeight = FW_BOLD;
        break;
    case fkSystemBI:
        font.lfItalic = TRUE;
        font.lfWeight = FW_BOLD;
        break;
    case fkCustom:
        font = own;
        break;
    case fkAutoHeight: {
        font = own;
        LOGFONTW probe = own;
        font.lfHeight = AutoFontHeight(own.lfHeight, CharacterHeight(systemCaption), [&](int height) {
            probe.lfHeight = height;
            return CharacterHeight(probe);
        });
        break;
    }
    }
    return font;
}

} // namespace caption
