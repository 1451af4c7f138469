#include "caption/CaptionText.h"

#include "caption/CaptionFont.h"

namespace caption {

TCompanyText::TCompanyText(ICaptionTextHost &host) : host_(host), font_(host.SystemCaptionFont()) {}

void TCompanyText::SetCaption(const std::wstring &caption) {
    caption_ = caption;
    host_.TextChanged();
}

void TCompanyText::SetColorActive(config::TColor color) {
    colorActive_ = color;
    host_.LooksChanged();
}

void TCompanyText::SetColorInactive(config::TColor color) {
    colorInactive_ = color;
    host_.LooksChanged();
}

void TCompanyText::SetFont(const LOGFONTW &font) {
    if (fontKind_ != fkAutoHeight) fontKind_ = fkCustom;
    SetFontValue(fontKind_ == fkAutoHeight ? DeriveFont(fkAutoHeight, font, host_.SystemCaptionFont()) : font);
    host_.LooksChanged();
}

void TCompanyText::SetFontKind(TFontKind kind) {
    fontKind_ = kind;
    ApplyFontKind();
    host_.LooksChanged();
}

void TCompanyText::SetVisible(bool visible) {
    visible_ = visible;
    host_.TextChanged();
}

void TCompanyText::ApplyFontKind() { SetFontValue(DeriveFont(fontKind_, font_, host_.SystemCaptionFont())); }

void TCompanyText::SetFontValue(const LOGFONTW &font) {
    font_ = font;
    handle_.Reset();
}

HFONT TCompanyText::FontHandle() const {
    if (!handle_) handle_.Reset(CreateFontIndirectW(&font_));
    return handle_.Get();
}

} // namespace caption
