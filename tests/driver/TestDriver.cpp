#include "driver/TestDriver.h"

#include <commctrl.h>

#include "ui/Application.h"
#include "ui/Handles.h"

namespace testdriver {

namespace {

struct PendingAnswer {
    std::wstring caption;
    std::function<void(HWND)> answer;
};
std::vector<PendingAnswer> g_answers;
std::vector<std::wstring> g_answered;
UINT_PTR g_timer = 0;

void SetModifiers(ui::TShiftState shift) {
    BYTE state[256];
    GetKeyboardState(state);
    auto set = [&](int vk, bool down) { state[vk] = down ? 0x80 : 0; };
    set(VK_SHIFT, shift & ui::ssShift);
    set(VK_LSHIFT, shift & ui::ssShift);
    set(VK_CONTROL, shift & ui::ssCtrl);
    set(VK_LCONTROL, shift & ui::ssCtrl);
    set(VK_MENU, shift & ui::ssAlt);
    set(VK_LMENU, shift & ui::ssAlt);
    SetKeyboardState(state);
}

bool UsesSysKey(WORD key, ui::TShiftState shift) { return (shift & ui::ssAlt) || key == VK_F10; }

LPARAM KeyLParam(WORD key, bool up, ui::TShiftState shift) {
    UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    LPARAM l = 1 | (static_cast<LPARAM>(scan) << 16);
    if (shift & ui::ssAlt) l |= (1 << 29);
    if (up) l |= (1u << 30) | (1u << 31);
    return l;
}

BOOL CALLBACK FindByCaption(HWND hwnd, LPARAM data) {
    auto *wanted = reinterpret_cast<std::pair<const std::wstring *, HWND> *>(data);
    if (!IsWindowVisible(hwnd)) return TRUE;
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    if (*wanted->first == text) {
        wanted->second = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
    for (size_t i = 0; i < g_answers.size(); ++i) {
        HWND window = FindVisibleWindow(g_answers[i].caption);
        if (!window) continue;
        PendingAnswer pending = std::move(g_answers[i]);
        g_answers.erase(g_answers.begin() + static_cast<long>(i));
        g_answered.push_back(pending.caption);
        pending.answer(window);
        return;
    }
}

struct ButtonSearch {
    std::wstring text;
    HWND found = nullptr;
};

std::wstring StripAmpersands(const std::wstring &s) {
    std::wstring out;
    for (wchar_t c : s)
        if (c != L'&') out += c;
    return out;
}

BOOL CALLBACK FindButton(HWND hwnd, LPARAM data) {
    auto *search = reinterpret_cast<ButtonSearch *>(data);
    wchar_t cls[64] = {}, text[256] = {};
    GetClassNameW(hwnd, cls, 64);
    GetWindowTextW(hwnd, text, 256);
    if (_wcsicmp(cls, L"Button") == 0 && StripAmpersands(text) == StripAmpersands(search->text)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindEdit(HWND hwnd, LPARAM data) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (_wcsicmp(cls, L"Edit") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND *>(data) = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

void Pump(int milliseconds) {
    DWORD start = GetTickCount();
    do {
        ui::Application().ProcessMessages();
        if (milliseconds > 0) Sleep(1);
    } while (GetTickCount() - start < static_cast<DWORD>(milliseconds));
    ui::Application().ProcessMessages();
}

bool PumpUntil(const std::function<bool()> &condition, int timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
        ui::Application().ProcessMessages();
        Sleep(1);
    }
    return true;
}

void KeyDown(WORD key, ui::TShiftState shift) {
    SetModifiers(shift);
    HWND focus = GetFocus();
    PostMessageW(focus, UsesSysKey(key, shift) ? WM_SYSKEYDOWN : WM_KEYDOWN, key, KeyLParam(key, false, shift));
    Pump();
}

void KeyUp(WORD key, ui::TShiftState shift) {
    SetModifiers(shift);
    HWND focus = GetFocus();
    PostMessageW(focus, UsesSysKey(key, shift) ? WM_SYSKEYUP : WM_KEYUP, key, KeyLParam(key, true, shift));
    Pump();
    SetModifiers(0);
}

void PressKey(WORD key, ui::TShiftState shift) {
    KeyDown(key, shift);
    KeyUp(key, shift);
}

void TypeText(const std::wstring &text) {
    for (wchar_t c : text) {
        PostMessageW(GetFocus(), WM_CHAR, c, 1);
        Pump();
    }
}

void Click(HWND window, int x, int y) {
    LPARAM at = MAKELPARAM(x, y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    Pump();
}

void DoubleClick(HWND window, int x, int y) {
    LPARAM at = MAKELPARAM(x, y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    Pump();
}

void RightClick(HWND window, int x, int y) {
    LPARAM at = MAKELPARAM(x, y);
    PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageW(window, WM_RBUTTONUP, 0, at);
    Pump();
}

namespace {
POINT RowCentre(HWND listView, int row) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageW(listView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
} // namespace

void ClickRow(HWND listView, int row) {
    SendMessageW(listView, LVM_ENSUREVISIBLE, row, FALSE);
    POINT p = RowCentre(listView, row);
    Click(listView, p.x, p.y);
}

void DoubleClickRow(HWND listView, int row) {
    SendMessageW(listView, LVM_ENSUREVISIBLE, row, FALSE);
    POINT p = RowCentre(listView, row);
    DoubleClick(listView, p.x, p.y);
}

int ColumnCount(HWND listView) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(listView, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring ColumnCaption(HWND listView, int column) {
    wchar_t text[128] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = text;
    col.cchTextMax = 128;
    SendMessageW(listView, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&col));
    return text;
}

int ColumnWidth(HWND listView, int column) {
    return static_cast<int>(SendMessageW(listView, LVM_GETCOLUMNWIDTH, column, 0));
}

std::vector<RowView> ReadRows(HWND listView) {
    std::vector<RowView> rows;
    int count = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    int columns = ColumnCount(listView);
    for (int i = 0; i < count; ++i) {
        RowView row;
        for (int c = 0; c < std::max(columns, 1); ++c) {
            wchar_t buffer[1024] = {};
            LVITEMW item{};
            item.iSubItem = c;
            item.pszText = buffer;
            item.cchTextMax = 1024;
            SendMessageW(listView, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
            if (c == 0) row.caption = buffer;
            else row.subItems.push_back(buffer);
        }
        UINT state = static_cast<UINT>(SendMessageW(listView, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK | LVIS_SELECTED));
        row.marked = (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(1);
        row.selected = (state & LVIS_SELECTED) != 0;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::wstring> Captions(HWND listView) {
    std::vector<std::wstring> out;
    for (const RowView &r : ReadRows(listView)) out.push_back(r.caption);
    return out;
}

int SelectedRow(HWND listView) {
    return static_cast<int>(SendMessageW(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

HWND FindVisibleWindow(const std::wstring &caption) {
    std::pair<const std::wstring *, HWND> search{&caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindByCaption, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

void AnswerWhenShown(const std::wstring &caption, std::function<void(HWND)> answer) {
    g_answers.push_back({caption, std::move(answer)});
    if (!g_timer) g_timer = SetTimer(nullptr, 0, 50, AnswerTimer);
}

std::wstring ClipboardText() {
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t *>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

void ClearAnswers() {
    g_answers.clear();
    g_answered.clear();
}

const std::vector<std::wstring> &AnsweredCaptions() { return g_answered; }

std::function<void(HWND)> PressButton(const std::wstring &text) {
    return [text](HWND window) {
        ButtonSearch search{text};
        EnumChildWindows(window, FindButton, reinterpret_cast<LPARAM>(&search));
        if (search.found) PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(search.found), BN_CLICKED),
                                       reinterpret_cast<LPARAM>(search.found));
    };
}

std::function<void(HWND)> ReadMessageAndPressOk(std::vector<std::wstring> &texts) {
    return [&texts](HWND box) {
        // The message is the box's static control with id 0xFFFF.
        wchar_t text[2048] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 2048);
        texts.push_back(text);
        PressButton(L"OK")(box);
    };
}

std::wstring SystemReason(DWORD code) {
    wchar_t text[1024] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 1024, nullptr);
    std::wstring reason = text;
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return reason;
}

std::function<void(HWND)> EnterTextAndPress(const std::wstring &text, const std::wstring &button) {
    return [text, button](HWND window) {
        HWND edit = nullptr;
        EnumChildWindows(window, FindEdit, reinterpret_cast<LPARAM>(&edit));
        if (edit) SetWindowTextW(edit, text.c_str());
        PressButton(button)(window);
    };
}

std::vector<DWORD> ImagePixels(HIMAGELIST list, int index) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    ui::BitmapHandle bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(dc, bitmap.Get());
    ui::BrushHandle magenta(CreateSolidBrush(RGB(255, 0, 255)));
    RECT r{0, 0, cx, cy};
    FillRect(dc, &r, magenta.Get());
    ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD *>(bits), static_cast<const DWORD *>(bits) + cx * cy);
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixels;
}

std::vector<COLORREF> ScreenPixels(const RECT &screen) {
    int cx = screen.right - screen.left, cy = screen.bottom - screen.top;
    if (cx <= 0 || cy <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HDC screenDc = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screenDc);
    ui::BitmapHandle bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(dc, bitmap.Get());
    BitBlt(dc, 0, 0, cx, cy, screenDc, screen.left, screen.top, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<size_t>(cx) * cy);
    for (const DWORD *p = static_cast<const DWORD *>(bits), *end = p + cx * cy; p != end; ++p)
        pixels.push_back(RGB((*p >> 16) & 0xFF, (*p >> 8) & 0xFF, *p & 0xFF));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screenDc);
    return pixels;
}

void ClickAt(POINT screen) {
    HWND under = WindowFromPoint(screen);
    if (!under) return;
    POINT at = screen;
    ScreenToClient(under, &at);
    Click(under, at.x, at.y);
}

ProcessEnd AwaitProcessEnd(HANDLE process, DWORD timeoutMs) {
    ProcessEnd end{WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0, STILL_ACTIVE};
    GetExitCodeProcess(process, &end.exitCode);
    if (!end.ended)
        TerminateProcess(process, 1);
    CloseHandle(process);
    return end;
}

} // namespace testdriver
