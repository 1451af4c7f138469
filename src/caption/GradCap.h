#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "caption/CaptionGeometry.h"
#include "caption/CaptionText.h"
#include "caption/CaptionTypes.h"
#include "config/Colors.h"
#include "ui/WindowHook.h"

namespace ui {
class TForm;
}

namespace caption {

class TGradientCaption;
using TDrawCaptionEvent = std::function<void(TGradientCaption &sender, HDC canvas, RECT &textArea)>;

// Paints a form's title bar itself: a horizontal gradient from Color to the system's caption colour, the
// small icon, the caption buttons and up to three texts in their own fonts. It hooks the form's window
// procedure for the non-client paint and activation messages and hands everything else on.
class TGradientCaption : private ICaptionTextHost {
    // First, as the texts copy the caption font when they are made.
    LOGFONTW systemFont_;
    bool newStyle_;

public:
    TGradientCaption();
    ~TGradientCaption();
    TGradientCaption(const TGradientCaption &) = delete;
    TGradientCaption &operator=(const TGradientCaption &) = delete;

    // Takes over the title bar of the form, whose window must exist.
    void Create(ui::TForm &owner);
    // After the form is set up: follows the form to a new window handle when it has one.
    void Loaded();
    // The form is going away with this component: leave its window text as it is.
    void OwnerDestroying() { ownerDestroying_ = true; }

    TCompanyText CompanyText{*this};
    TAppNameText AppNameText{*this};
    TCaptionText CaptionText{*this};

    config::TColor Color() const { return color_; }
    void SetColor(config::TColor color);
    TGradEnabled Enabled() const { return enabled_; }
    void SetEnabled(TGradEnabled enabled);
    TJustification Justification() const { return justification_; }
    void SetJustification(TJustification justification);
    int NumColors() const { return numColors_; }
    void SetNumColors(int numColors);
    TDrawCaptionEvent OnDrawCaption;

    // The active state the title bar is painted with.
    bool Active() const;
    // Paints the title bar now (nothing when the window has none or no context can be had).
    void PaintCaption();

private:
    const LOGFONTW &SystemCaptionFont() const override { return systemFont_; }
    void TextChanged() override;
    void LooksChanged() override;
    std::wstring CaptionFromWindow() const override;

    void Hook(HWND hwnd);
    void Unhook();
    LRESULT HookProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT NcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT NcActivate(WPARAM wParam, LPARAM lParam);
    LRESULT SetCursor(WPARAM wParam, LPARAM lParam);
    void SystemChanged();
    void RecalculateFrame();
    bool NewStyle() const { return newStyle_; }
    RECT PaintedRect() const;
    void DrawIcon(HDC dc, POINT at) const;
    void DrawButtons(HDC dc, const TCaptionLayout &layout) const;
    void DrawTexts(HDC dc, const RECT &caption, const RECT &area, bool active);

    ui::TForm *owner_ = nullptr;
    HWND hwnd_ = nullptr;
    ui::THookedWindow hook_;
    bool ownerDestroying_ = false;
    bool active_ = false;
    bool activeKnown_ = false;
    config::TColor color_ = 0;
    TGradEnabled enabled_ = geSmart;
    TJustification justification_ = jAuto;
    int numColors_ = 64;
};

} // namespace caption
