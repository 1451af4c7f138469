#include "config/OptionControls.h"

#include <set>
#include <utility>

#include "ui/Handles.h"
#include "ui/ScreenScale.h"

namespace config {

namespace {
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;

int CALLBACK CollectFace(const LOGFONTW *font, const TEXTMETRICW *, DWORD, LPARAM data) {
    reinterpret_cast<std::set<std::wstring> *>(data)->insert(font->lfFaceName);
    return 1;
}
} // namespace

void TRadioButton::Create(HWND parent, int id, const std::wstring &caption, bool firstOfGroup) {
    CreateStandard(WC_BUTTONW, parent, kChild | BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP : 0), 0, id,
                   caption.c_str());
}

bool TRadioButton::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TRadioButton::OnReflect(UINT msg, WPARAM wParam, LPARAM, LRESULT &result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    if (OnClick)
        OnClick();
    result = 0;
    return true;
}

void TColorComboBox::Create(HWND parent, int id) {
    ui::TComboBox::Create(parent, id, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_TABSTOP);
    SetItemHeights(15, 16);
    for (const TNamedColor &c : kStandardColors)
        AddItem(c.name);
    OnDrawItem = [this](const DRAWITEMSTRUCT &item) { DrawEntry(item); };
}

TColor TColorComboBox::ColorAt(int index) const {
    if (index >= 0 && index < 16)
        return kStandardColors[index].value;
    if (index == 16 && hasOther_)
        return other_;
    return kStandardColors[0].value;
}

TColor TColorComboBox::Value() const {
    return ColorAt(ItemIndex());
}

void TColorComboBox::SetValue(TColor color) {
    for (int i = 0; i < 16; ++i)
        if (kStandardColors[i].value == color) {
            if (hasOther_) {
                SendMessageW(Handle(), CB_DELETESTRING, 16, 0);
                hasOther_ = false;
            }
            SetItemIndex(i);
            return;
        }
    if (hasOther_)
        SendMessageW(Handle(), CB_DELETESTRING, 16, 0);
    other_ = color;
    hasOther_ = true;
    AddItem(OtherColorName(color));
    SetItemIndex(16);
}

std::wstring OtherColorName(TColor color) {
    if (color & kSystemColorFlag) {
        static const std::pair<int, const wchar_t *> names[] = {
            {COLOR_WINDOWTEXT, L"Window Text"}, {COLOR_WINDOW, L"Window"},          {COLOR_BTNFACE, L"Button Face"},
            {COLOR_BTNTEXT, L"Button Text"},    {COLOR_HIGHLIGHT, L"Highlight"},    {COLOR_HIGHLIGHTTEXT, L"Highlight Text"},
            {COLOR_GRAYTEXT, L"Gray Text"},     {COLOR_INFOBK, L"Info Background"}, {COLOR_INFOTEXT, L"Info Text"},
        };
        int index = static_cast<int>(color & 0xFF);
        for (const auto &[system, name] : names)
            if (system == index)
                return std::wstring(L"System: ") + name;
        return L"System: colour " + std::to_wstring(index);
    }
    std::wstring digits;
    for (int shift = 20; shift >= 0; shift -= 4)
        digits += L"0123456789ABCDEF"[(color >> shift) & 0xF];
    return L"Custom (" + digits + L")";
}

void TColorComboBox::DrawEntry(const DRAWITEMSTRUCT &item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID < 16 || (item.itemID == 16 && hasOther_)) {
        TColor color = ColorAt(static_cast<int>(item.itemID));
        std::wstring name = item.itemID < 16 ? kStandardColors[item.itemID].name : OtherColorName(color);
        RECT swatch{r.left + 2, r.top + 2, r.left + ui::Scaled(24), r.bottom - 2};
        ui::BrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
        FillRect(dc, &swatch, brush.Get());
        FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RECT text{swatch.right + ui::Scaled(4), r.top, r.right, r.bottom};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        DrawTextW(dc, name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &r);
}

void TFontComboBox::Create(HWND parent, int id) {
    ui::TComboBox::Create(parent, id, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP);
    std::set<std::wstring> faces;
    HDC dc = GetDC(nullptr);
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &query, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, dc);
    for (const std::wstring &face : faces)
        AddItem(face);
}

std::wstring TFontComboBox::Value() const {
    int index = ItemIndex();
    return index >= 0 ? Item(index) : std::wstring();
}

void TFontComboBox::SetValue(const std::wstring &name) {
    int index = static_cast<int>(
        SendMessageW(Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str())));
    // An empty name would match nothing sensible; it selects nothing.
    SetItemIndex(name.empty() || index == CB_ERR ? -1 : index);
}

} // namespace config
