#pragma once
#include <windows.h>

namespace caption {

// The system sizes the title bar is laid out with.
struct TFrameMetrics {
    SIZE sizeFrame;
    SIZE dialogFrame;
    SIZE border;
    int captionHeight;
    int smallCaptionHeight;
    int buttonWidth;
    int smallButtonWidth;
    SIZE smallIcon;

    static TFrameMetrics FromSystem();
};

// The window as the layout needs it.
struct TWindowShape {
    int width;
    int height;
    DWORD style;
    DWORD exStyle;
    bool newStyle;
};

enum TCaptionButton { cbClose, cbMaximize, cbMinimize, cbHelp, kButtonCount };

// Where everything of the title bar goes, in window coordinates.
struct TCaptionLayout {
    bool painted = false; // false for a window without a title bar
    RECT caption{};
    RECT textArea{};   // the gradient runs over it
    RECT textsArea{};  // where the texts go: the text area less the icon
    bool hasIcon = false;
    POINT iconAt{};
    bool hasButton[kButtonCount] = {};
    RECT button[kButtonCount] = {};
};

TCaptionLayout LayOutCaption(const TWindowShape &window, const TFrameMetrics &metrics);

// Whether this window style shows the small icon in its title bar (a system menu on a single or sizing border).
bool ShowsIcon(DWORD style, DWORD exStyle);

} // namespace caption
