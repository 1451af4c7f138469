#include <windows.h>

#include <memory>
#include <string>

#include "app/MainFormFixture.h"
#include "caption/GradCap.h"
#include "config/SettingsStore.h"
#include "ui/Form.h"

namespace {

const COLORREF kMaroon = RGB(128, 0, 0);

std::wstring WindowText(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

COLORREF PixelAt(HWND hwnd, int x, int y) {
    HDC dc = GetWindowDC(hwnd);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return color;
}

// The title bar of a sizeable window with all three buttons, worked out from the system's sizes alone.
struct TitleBar {
    explicit TitleBar(HWND hwnd) {
        GetWindowRect(hwnd, &window);
        int frameX = GetSystemMetrics(SM_CXFRAME), frameY = GetSystemMetrics(SM_CYFRAME);
        int button = GetSystemMetrics(SM_CXSIZE);
        top = frameY;
        bottom = frameY + GetSystemMetrics(SM_CYCAPTION) - 1;
        left = frameX;
        right = window.right - window.left - frameX - (button + 2) - 2 * button;
        textsLeft = left + GetSystemMetrics(SM_CXSMICON) + 2;
        int buttonMiddle = (top + 2 + bottom - 2) / 2;
        int closeRight = window.right - window.left - frameX - 2;
        close = {closeRight - (button - 2) / 2, buttonMiddle};
        maximize = {close.x - button, buttonMiddle};
        minimize = {maximize.x - (button - 2), buttonMiddle};
    }
    POINT OnScreen(POINT p) const { return {window.left + p.x, window.top + p.y}; }

    RECT window;
    int left, right, top, bottom, textsLeft;
    POINT close, maximize, minimize;
};

// Whether some pixel of the texts' part of the title bar has this colour.
bool TextShowsIn(HWND hwnd, const TitleBar &bar, COLORREF color) {
    HDC dc = GetWindowDC(hwnd);
    bool found = false;
    for (int y = bar.top; y < bar.bottom && !found; ++y)
        for (int x = bar.textsLeft; x < bar.textsLeft + 150 && !found; ++x) found = GetPixel(dc, x, y) == color;
    ReleaseDC(hwnd, dc);
    return found;
}

// The mouse, as the system's input queue gets it from a person's hand.
void MouseTo(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = (screen.x * 65536 + w - 1) / w;
    in.mi.dy = (screen.y * 65536 + h - 1) / h;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void MouseButton(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

void ClickAt(POINT screen) {
    MouseTo(screen);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    testdriver::Pump(100);
}

// A second top-level window that takes the activation from the main window.
struct OtherWindow {
    OtherWindow() {
        hwnd = CreateWindowExW(0, L"STATIC", L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(hwnd);
        SetActiveWindow(hwnd);
        testdriver::Pump(100);
    }
    ~OtherWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

class CaptionWindowTest : public MainFormTest {};

TEST_F(CaptionWindowTest, TitleBarRunsFromMaroonToTheCaptionColourOfTheActivation) {
    HWND main = form->Handle();
    testdriver::Pump(100);
    TitleBar bar(main);
    ASSERT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(PixelAt(main, bar.left, bar.top), kMaroon);
    EXPECT_EQ(PixelAt(main, bar.left + 1, bar.bottom - 1), kMaroon);
    EXPECT_EQ(PixelAt(main, bar.right - 1, bar.top), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_TRUE(TextShowsIn(main, bar, GetSysColor(COLOR_CAPTIONTEXT)));
    EXPECT_EQ(WindowText(main), L"Zelvor - version 1.0.0.0");
    EXPECT_EQ(form->GradientCaption1.CaptionText.Caption(), L"Zelvor - version 1.0.0.0");

    ASSERT_NE(GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_INACTIVECAPTION));
    {
        OtherWindow other;
        ASSERT_NE(GetActiveWindow(), main);
        // The screen has more than 8 bits per pixel, so the inactive title bar keeps its gradient.
        EXPECT_EQ(PixelAt(main, bar.left, bar.top), kMaroon);
        EXPECT_EQ(PixelAt(main, bar.right - 1, bar.top), GetSysColor(COLOR_INACTIVECAPTION));
        EXPECT_TRUE(TextShowsIn(main, bar, GetSysColor(COLOR_INACTIVECAPTIONTEXT)));
    }
    SetForegroundWindow(main);
    testdriver::Pump(100);
    EXPECT_EQ(PixelAt(main, bar.right - 1, bar.top), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(WindowText(main), L"Zelvor - version 1.0.0.0");
}

TEST_F(CaptionWindowTest, OneBandIsAllMaroonAndTheDrawHandlerGetsTheTextArea) {
    HWND main = form->Handle();
    TitleBar bar(main);
    RECT given{};
    form->GradientCaption1.OnDrawCaption = [&](caption::TGradientCaption &, HDC dc, RECT &r) {
        given = r;
        // Paints a green block at the right end and keeps the texts out of it.
        RECT block{r.right - 10, r.top, r.right, r.bottom};
        SetBkColor(dc, RGB(0, 255, 0));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &block, nullptr, 0, nullptr);
    };
    form->GradientCaption1.SetNumColors(1);
    testdriver::Pump(50);
    EXPECT_EQ(given.left, bar.textsLeft);
    EXPECT_EQ(given.right, bar.right);
    EXPECT_EQ(PixelAt(main, bar.right - 1, bar.top), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(main, bar.right - 11, bar.top), kMaroon);
    EXPECT_EQ(PixelAt(main, bar.left, bar.top), kMaroon);
}

TEST_F(CaptionWindowTest, CompanyTextGoesInFrontOfTheWindowTextWithOneBlank) {
    HWND main = form->Handle();
    auto &cap = form->GradientCaption1;
    cap.CompanyText.SetCaption(L"Kestrune");
    EXPECT_EQ(WindowText(main), L"Kestrune Zelvor - version 1.0.0.0");
    EXPECT_EQ(cap.CaptionText.Caption(), L"Zelvor - version 1.0.0.0");
    cap.AppNameText.SetCaption(L"Zelvor");
    EXPECT_EQ(WindowText(main), L"Kestrune Zelvor Zelvor - version 1.0.0.0");
    cap.CompanyText.SetVisible(false);
    EXPECT_EQ(WindowText(main), L"Zelvor Zelvor - version 1.0.0.0");
    EXPECT_EQ(cap.CaptionText.Caption(), L"Zelvor - version 1.0.0.0");
    // A text set from elsewhere becomes the caption.
    SetWindowTextW(main, L"Zelvor Elsewhere");
    EXPECT_EQ(cap.CaptionText.Caption(), L"Elsewhere");
}

TEST_F(CaptionWindowTest, TitleBarStaysOursWhereTheSystemPaintsItsOwn) {
    HWND main = form->Handle();
    TitleBar bar(main);
    // Setting the text or the icon makes the system draw its title bar directly, without a paint message.
    SetWindowTextW(main, L"Zelvor - version 1.0.0.0");
    EXPECT_EQ(PixelAt(main, bar.left, bar.top), kMaroon);
    SendMessageW(main, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_APPLICATION)));
    EXPECT_EQ(PixelAt(main, bar.left, bar.top), kMaroon);
    // Activation handled by the system would paint its own colours; ours answers it.
    SendMessageW(main, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(PixelAt(main, bar.left, bar.top), kMaroon);
    EXPECT_EQ(PixelAt(main, bar.right - 1, bar.top), GetSysColor(COLOR_INACTIVECAPTION));
    SendMessageW(main, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(PixelAt(main, bar.right - 1, bar.top), GetSysColor(COLOR_ACTIVECAPTION));
}

TEST_F(CaptionWindowTest, SizingBordersShowTheirSizingArrows) {
    HWND main = form->Handle();
    struct Case {
        WORD hit;
        const wchar_t *cursor;
    };
    const Case cases[] = {{HTLEFT, IDC_SIZEWE},        {HTRIGHT, IDC_SIZEWE},        {HTTOP, IDC_SIZENS},
                          {HTBOTTOM, IDC_SIZENS},      {HTTOPLEFT, IDC_SIZENWSE},    {HTBOTTOMRIGHT, IDC_SIZENWSE},
                          {HTTOPRIGHT, IDC_SIZENESW},  {HTBOTTOMLEFT, IDC_SIZENESW}};
    for (const Case &c : cases) {
        SetCursor(nullptr);
        EXPECT_TRUE(SendMessageW(main, WM_SETCURSOR, reinterpret_cast<WPARAM>(main), MAKELPARAM(c.hit, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.cursor)) << c.hit;
    }
}

TEST_F(CaptionWindowTest, RemovedPainterGivesBackTheWindowProcedureAndTheCaptionAlone) {
    ui::TForm other;
    other.CreateForm(L"Plain", 300, 200, false);
    HWND hwnd = other.Handle();
    LONG_PTR procedure = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    auto painter = std::make_unique<caption::TGradientCaption>();
    painter->Create(other);
    painter->CompanyText.SetCaption(L"Kestrune");
    EXPECT_EQ(WindowText(hwnd), L"Kestrune Plain");
    EXPECT_NE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), procedure);
    painter.reset();
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), procedure);
    EXPECT_EQ(WindowText(hwnd), L"Plain");
}

TEST_F(CaptionWindowTest, ClickOnThePaintedCloseButtonClosesTheWindowWithItsExitRules) {
    HWND main = form->Handle();
    TitleBar bar(main);
    POINT close = bar.OnScreen(bar.close);
    EXPECT_EQ(SendMessageW(main, WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)), HTCLOSE);
    int width = bar.window.right - bar.window.left;
    ClickAt(close);
    EXPECT_TRUE(testdriver::PumpUntil([&] { return !IsWindow(main); }, 3000));
    // Closing always keeps the window's place.
    int savedWidth = -1;
    config::LoadRegPos([&](config::TPosValue which, int value) {
        if (which == config::TPosValue::Width) savedWidth = value;
    });
    EXPECT_EQ(savedWidth, width);
}

TEST_F(CaptionWindowTest, SystemFrameButtonsAndDraggingStillWork) {
    HWND main = form->Handle();
    TitleBar bar(main);
    POINT maximize = bar.OnScreen(bar.maximize);
    EXPECT_EQ(SendMessageW(main, WM_NCHITTEST, 0, MAKELPARAM(maximize.x, maximize.y)), HTMAXBUTTON);
    ClickAt(maximize);
    EXPECT_TRUE(testdriver::PumpUntil([&] { return IsZoomed(main) != FALSE; }, 3000));
    // Maximised, the title bar has new places; the gradient follows.
    TitleBar zoomed(main);
    EXPECT_EQ(PixelAt(main, zoomed.left, zoomed.top), kMaroon);
    EXPECT_EQ(PixelAt(main, zoomed.right - 1, zoomed.top), GetSysColor(COLOR_ACTIVECAPTION));
    ClickAt(zoomed.OnScreen(zoomed.maximize));
    EXPECT_TRUE(testdriver::PumpUntil([&] { return !IsZoomed(main); }, 3000));

    POINT title = bar.OnScreen({bar.right - 20, (bar.top + bar.bottom) / 2});
    MouseTo(title);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(testdriver::PumpUntil([&] { return IsZoomed(main) != FALSE; }, 3000)) << "double-click";
    ShowWindow(main, SW_RESTORE);
    testdriver::Pump(100);

    RECT before{};
    GetWindowRect(main, &before);
    MouseTo(title);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseTo({title.x + 40, title.y + 30});
    MouseTo({title.x + 60, title.y + 50});
    MouseButton(MOUSEEVENTF_LEFTUP);
    testdriver::Pump(200);
    RECT after{};
    GetWindowRect(main, &after);
    EXPECT_EQ(after.left - before.left, 60);
    EXPECT_EQ(after.top - before.top, 50);
    EXPECT_EQ(PixelAt(main, bar.left, bar.top), kMaroon);

    TitleBar moved(main);
    ClickAt(moved.OnScreen(moved.minimize));
    EXPECT_TRUE(testdriver::PumpUntil([&] { return IsIconic(main) != FALSE; }, 3000));
    ShowWindow(main, SW_RESTORE);
    testdriver::Pump(100);
    EXPECT_EQ(PixelAt(main, bar.left, bar.top), kMaroon);
    EXPECT_EQ(WindowText(main), L"Zelvor - version 1.0.0.0");
}

} // namespace
