#pragma once
#include <windows.h>

#include <string>

#include "caption/CaptionTypes.h"
#include "caption/TextRules.h"
#include "config/Colors.h"
#include "ui/Handles.h"

namespace caption {

// What a caption text needs from the title bar that shows it.
class ICaptionTextHost {
public:
    virtual const LOGFONTW &SystemCaptionFont() const = 0;
    // A text's caption or visibility changed: the window text is joined again.
    virtual void TextChanged() = 0;
    // A colour or font changed: the title bar is painted again.
    virtual void LooksChanged() = 0;
    // The caption part of the window's current text.
    virtual std::wstring CaptionFromWindow() const = 0;

protected:
    ~ICaptionTextHost() = default;
};

constexpr config::TColor clCaptionText = config::kSystemColorFlag | COLOR_CAPTIONTEXT;
constexpr config::TColor clInactiveCaptionText = config::kSystemColorFlag | COLOR_INACTIVECAPTIONTEXT;

// One text of the title bar with its own font and colours. The company text is the plain kind.
class TCompanyText {
public:
    explicit TCompanyText(ICaptionTextHost &host);
    virtual ~TCompanyText() = default;
    TCompanyText(const TCompanyText &) = delete;
    TCompanyText &operator=(const TCompanyText &) = delete;

    virtual std::wstring Caption() const { return caption_; }
    void SetCaption(const std::wstring &caption);
    config::TColor ColorActive() const { return colorActive_; }
    void SetColorActive(config::TColor color);
    config::TColor ColorInactive() const { return colorInactive_; }
    void SetColorInactive(config::TColor color);
    const LOGFONTW &Font() const { return font_; }
    // Makes the font kind custom, except that an automatic height is fitted to the new font.
    void SetFont(const LOGFONTW &font);
    TFontKind FontKind() const { return fontKind_; }
    void SetFontKind(TFontKind kind);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // The font as a GDI object, made when first needed after a change.
    HFONT FontHandle() const;
    // Derives the font again from the system caption font (after the system's settings changed).
    void ApplyFontKind();
    // The caption as last set or read, for joining; the caption text's own reading can differ from it.
    const std::wstring &StoredCaption() const { return caption_; }
    TTextPart Part() const { return {caption_, visible_}; }

protected:
    ICaptionTextHost &host_;
    std::wstring caption_;

private:
    void SetFontValue(const LOGFONTW &font);

    config::TColor colorActive_ = clCaptionText;
    config::TColor colorInactive_ = clInactiveCaptionText;
    LOGFONTW font_;
    TFontKind fontKind_ = fkSystem;
    bool visible_ = true;
    mutable ui::FontHandle handle_;
};

class TAppNameText : public TCompanyText {
public:
    using TCompanyText::TCompanyText;
};

// The caption text reads its caption from the window text, less the company and application-name texts.
class TCaptionText : public TCompanyText {
public:
    using TCompanyText::TCompanyText;
    std::wstring Caption() const override { return host_.CaptionFromWindow(); }
    // Keeps what was read from the window as the caption, without joining the window text again.
    void StoreCaption(const std::wstring &caption) { caption_ = caption; }
};

} // namespace caption
