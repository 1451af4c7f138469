#include "caption/CaptionGeometry.h"

namespace caption {

TFrameMetrics TFrameMetrics::FromSystem() {
    TFrameMetrics m{};
    m.sizeFrame = {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
    m.dialogFrame = {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
    m.border = {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
    m.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    m.smallCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
    m.buttonWidth = GetSystemMetrics(SM_CXSIZE);
    m.smallButtonWidth = GetSystemMetrics(SM_CXSMSIZE);
    m.smallIcon = {GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)};
    return m;
}

bool ShowsIcon(DWORD style, DWORD exStyle) {
    return (style & WS_SYSMENU) && !(exStyle & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME));
}

TCaptionLayout LayOutCaption(const TWindowShape &window, const TFrameMetrics &m) {
    TCaptionLayout layout;
    if ((window.style & WS_CAPTION) != WS_CAPTION) return layout;
    layout.painted = true;
    bool tool = (window.exStyle & WS_EX_TOOLWINDOW) != 0;
    bool minimized = (window.style & WS_MINIMIZE) != 0;
    SIZE frame = (window.style & WS_THICKFRAME) ? m.sizeFrame : m.dialogFrame;
    if (minimized && !window.newStyle) frame = {m.dialogFrame.cx + m.border.cx, m.dialogFrame.cy + m.border.cy};
    int height = tool ? m.smallCaptionHeight : m.captionHeight;
    int buttonWidth = tool ? m.smallButtonWidth : m.buttonWidth;
    RECT &cap = layout.caption;
    cap = {frame.cx, frame.cy, window.width - frame.cx, frame.cy + height - 1};

    bool sysMenu = (window.style & WS_SYSMENU) != 0;
    layout.hasButton[cbClose] = sysMenu;
    bool minMax = sysMenu && !tool && (window.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    layout.hasButton[cbMaximize] = layout.hasButton[cbMinimize] = minMax;
    layout.hasButton[cbHelp] = sysMenu && !minMax && (window.exStyle & WS_EX_CONTEXTHELP);

    RECT &area = layout.textArea;
    area = cap;
    if (layout.hasButton[cbClose]) area.right -= buttonWidth + 2;
    if (minMax) area.right -= 2 * buttonWidth;
    if (layout.hasButton[cbHelp]) area.right -= buttonWidth + 2;
    bool icon = ShowsIcon(window.style, window.exStyle);
    if (!window.newStyle && icon) area.left += buttonWidth;
    if (area.right - area.left <= 0) area.right = area.left + 2;
    layout.textsArea = area;

    if (!window.newStyle) return layout;
    if (icon) {
        layout.hasIcon = true;
        layout.iconAt = {area.left + 2, area.top + 1};
        layout.textsArea.left = area.left + m.smallIcon.cx + 2;
    }
    RECT inner = {cap.left + 2, cap.top + 2, cap.right - 2, cap.bottom - 2};
    int width = buttonWidth - 2;
    int x = inner.right;
    for (int b = cbClose; b < kButtonCount; ++b) {
        if (!layout.hasButton[b]) continue;
        layout.button[b] = {x - width, inner.top, x, inner.bottom};
        x -= width + (b == cbClose ? 2 : 0);
    }
    return layout;
}

} // namespace caption
