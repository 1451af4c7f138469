#pragma once
#include <string>

#include "config/Colors.h"
#include "ui/Controls.h"

namespace config {

class TRadioButton : public ui::TWindow {
public:
    // The first button of a group carries WS_GROUP.
    void Create(HWND parent, int id, const std::wstring &caption, bool firstOfGroup);
    bool Checked() const;
    void SetChecked(bool checked);

protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT &result) override;
};

// A drop-down list of the sixteen standard colours, each drawn as a swatch with its name. Its value is
// the colour of the selected entry. A colour that is not among the sixteen (a system colour, as the
// first start stores) gets an entry of its own after them, so that it shows as what it is and is kept
// unless the user picks another; the entry goes when a standard colour is set.
class TColorComboBox : public ui::TComboBox {
public:
    void Create(HWND parent, int id);
    TColor Value() const;
    void SetValue(TColor color);

private:
    void DrawEntry(const DRAWITEMSTRUCT &item) const;
    TColor ColorAt(int index) const;

    bool hasOther_ = false;
    TColor other_ = 0;
};

// The name the colour list gives a colour outside the sixteen: "System: Window Text" and the like for a
// system colour, "Custom (RRGGBB)" for any other.
std::wstring OtherColorName(TColor color);

// A sorted drop-down list of the screen's font names. Setting a name finds it without regard to letter
// case; a name the list does not hold leaves no entry selected, and the value is then the empty text.
class TFontComboBox : public ui::TComboBox {
public:
    void Create(HWND parent, int id);
    std::wstring Value() const;
    void SetValue(const std::wstring &name);
};

} // namespace config
