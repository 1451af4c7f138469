#include "caption/GradCap.h"

#include "caption/CaptionGeometry.h"
#include "caption/Gradient.h"
#include "ui/GdiScopes.h"
#include "ui/Handles.h"

namespace caption {

namespace {

void Fill(HDC dc, const RECT &r, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

int TextWidth(HDC dc, const std::wstring &text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

TCaptionLayout LayOut(HWND hwnd, bool newStyle) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    TWindowShape shape{window.right - window.left, window.bottom - window.top,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)),
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)), newStyle};
    return LayOutCaption(shape, TFrameMetrics::FromSystem());
}

BOOL CALLBACK LoadFirstIcon(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR icon) {
    *reinterpret_cast<HICON *>(icon) = LoadIconW(module, name);
    return FALSE;
}

// The program's own icon: the first icon group of the executable.
HICON ApplicationIcon() {
    HICON icon = nullptr;
    EnumResourceNamesW(GetModuleHandleW(nullptr), RT_GROUP_ICON, LoadFirstIcon, reinterpret_cast<LONG_PTR>(&icon));
    return icon;
}

} // namespace

// The part of the title bar this painter covers: all of it in the new style; in the older style the
// system keeps its menu box and buttons.
RECT TGradientCaption::PaintedRect() const {
    TCaptionLayout layout = LayOut(hwnd_, newStyle_);
    if (!layout.painted) return {};
    return newStyle_ ? layout.caption : layout.textArea;
}

void TGradientCaption::PaintCaption() {
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
    TCaptionLayout layout = LayOut(hwnd_, newStyle_);
    if (!layout.painted) return;
    const RECT &caption = layout.caption;
    int width = caption.right - caption.left, height = caption.bottom - caption.top;
    if (width <= 0 || height <= 0) return;
    ui::TWindowDC window(hwnd_, ui::TDCArea::whole);
    if (!window) return;
    ui::TCompatibleDC dc(window.Get());
    if (!dc) return;
    ui::BitmapHandle bitmap(CreateCompatibleBitmap(window.Get(), width, height));
    if (!bitmap) return;
    ui::TSelectScope selectedBitmap(dc.Get(), bitmap.Get());
    // The bitmap takes window coordinates, so everything is drawn where it shows.
    SetViewportOrgEx(dc.Get(), -caption.left, -caption.top, nullptr);

    bool active = Active();
    COLORREF background = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    if (newStyle_) Fill(dc.Get(), caption, background);
    const RECT &area = layout.textArea;
    int depth = GetDeviceCaps(window.Get(), BITSPIXEL) * GetDeviceCaps(window.Get(), PLANES);
    if (GradientWanted(enabled_, active, depth)) {
        for (const TBand &band :
             GradientBands(area.left, area.right - area.left, numColors_, config::ColorToRGB(color_), background))
            if (band.right > band.left) Fill(dc.Get(), {band.left, area.top, band.right, area.bottom}, band.color);
    } else {
        Fill(dc.Get(), area, background);
    }
    if (layout.hasIcon) DrawIcon(dc.Get(), layout.iconAt);
    if (newStyle_) DrawButtons(dc.Get(), layout);

    RECT textsArea = layout.textsArea;
    if (OnDrawCaption) {
        ui::FontHandle font(CreateFontIndirectW(&systemFont_));
        ui::TSelectScope selectedFont(dc.Get(), font.Get());
        OnDrawCaption(*this, dc.Get(), textsArea);
    }
    DrawTexts(dc.Get(), caption, textsArea, active);
    RECT shown = newStyle_ ? caption : area;
    BitBlt(window.Get(), shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, dc.Get(), shown.left,
           shown.top, SRCCOPY);
}

void TGradientCaption::DrawIcon(HDC dc, POINT at) const {
    auto asIcon = [](LRESULT value) { return reinterpret_cast<HICON>(value); };
    HICON icon = asIcon(SendMessageW(hwnd_, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd_, GCLP_HICONSM));
    if (!icon) icon = asIcon(SendMessageW(hwnd_, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd_, GCLP_HICON));
    if (!icon) icon = ApplicationIcon();
    if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
    DrawIconEx(dc, at.x, at.y, icon, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0, nullptr,
               DI_NORMAL);
}

void TGradientCaption::DrawButtons(HDC dc, const TCaptionLayout &layout) const {
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    UINT state[kButtonCount] = {};
    state[cbClose] = DFCS_CAPTIONCLOSE;
    HMENU systemMenu = GetSystemMenu(hwnd_, FALSE);
    UINT closeItem = systemMenu ? GetMenuState(systemMenu, SC_CLOSE, MF_BYCOMMAND) : 0;
    if ((closeItem != static_cast<UINT>(-1) && (closeItem & (MF_GRAYED | MF_DISABLED))) ||
        (GetClassLongPtrW(hwnd_, GCL_STYLE) & CS_NOCLOSE))
        state[cbClose] |= DFCS_INACTIVE;
    state[cbMaximize] = (IsZoomed(hwnd_) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) |
                        ((style & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE);
    state[cbMinimize] = (IsIconic(hwnd_) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) |
                        ((style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE);
    state[cbHelp] = DFCS_CAPTIONHELP;
    for (int b = cbClose; b < kButtonCount; ++b) {
        if (!layout.hasButton[b]) continue;
        RECT r = layout.button[b];
        DrawFrameControl(dc, &r, DFC_CAPTION, state[b]);
    }
}

void TGradientCaption::DrawTexts(HDC dc, const RECT &caption, const RECT &area, bool active) {
    // The caption follows the window text, which others may have set.
    std::wstring captionText = CaptionText.Caption();
    CaptionText.StoreCaption(captionText);
    const TCompanyText *texts[kTextCount] = {&CompanyText, &AppNameText, &CaptionText};
    std::wstring strings[kTextCount] = {CompanyText.StoredCaption(), AppNameText.StoredCaption(), captionText};
    TTextLine line;
    for (int i = 0; i < kTextCount; ++i) {
        line.present[i] = texts[i]->Visible() && (i == tiCaption || !strings[i].empty());
        ui::TSelectScope font(dc, texts[i]->FontHandle());
        line.width[i] = TextWidth(dc, strings[i]);
    }
    TTextRun runs[kTextCount];
    PlaceTexts(line, area.left, area.right, justification_, newStyle_, runs);
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < kTextCount; ++i) {
        if (!runs[i].drawn) continue;
        ui::TSelectScope font(dc, texts[i]->FontHandle());
        SetTextColor(dc, config::ColorToRGB(active ? texts[i]->ColorActive() : texts[i]->ColorInactive()));
        std::wstring shown = FitWithEllipsis(strings[i], runs[i].right - runs[i].left,
                                             [dc](const std::wstring &s) { return TextWidth(dc, s); });
        RECT r{runs[i].left, caption.top, runs[i].right, caption.bottom};
        DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
}

} // namespace caption
