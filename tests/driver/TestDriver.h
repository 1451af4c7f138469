#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Keys.h"

namespace testdriver {

// Drives the program's real windows as a person does: keys and clicks go through the application's own
// message loop (so the menu's shortcuts take their keys first), and modal windows are answered by caption.

// Runs the message loop for at least the given time, handling everything pending.
void Pump(int milliseconds = 0);
// Runs the message loop until the condition holds or the time is up; returns the condition.
bool PumpUntil(const std::function<bool()> &condition, int timeoutMs = 5000);

// Presses and releases a key in the window that has the focus, with exactly these modifiers held.
void PressKey(WORD key, ui::TShiftState shift = 0);
void KeyDown(WORD key, ui::TShiftState shift = 0);
void KeyUp(WORD key, ui::TShiftState shift = 0);
// Types text into the focused window character by character.
void TypeText(const std::wstring &text);

void Click(HWND window, int x, int y);
void DoubleClick(HWND window, int x, int y);
void RightClick(HWND window, int x, int y);
// Clicks the centre of a list view row.
void ClickRow(HWND listView, int row);
void DoubleClickRow(HWND listView, int row);

// What a list view shows, read back through its own messages.
struct RowView {
    std::wstring caption;
    std::vector<std::wstring> subItems;
    bool marked;
    bool selected;
};
std::vector<RowView> ReadRows(HWND listView);
std::vector<std::wstring> Captions(HWND listView);
int SelectedRow(HWND listView);
int ColumnCount(HWND listView);
std::wstring ColumnCaption(HWND listView, int column);
int ColumnWidth(HWND listView, int column);

// A window of this thread with exactly this caption that is visible, or null.
HWND FindVisibleWindow(const std::wstring &caption);
// While the next modal window (dialog, message box, shell confirmation) with the caption runs its own
// loop, does the answer: answers are checked by a thread timer, which every message loop serves.
void AnswerWhenShown(const std::wstring &caption, std::function<void(HWND)> answer);
void ClearAnswers();
// The clipboard's Unicode text; empty when it holds none.
std::wstring ClipboardText();
// Answers: press a button by its text ("OK", "&Yes", ...), or set the text of the first edit first.
std::function<void(HWND)> PressButton(const std::wstring &text);
std::function<void(HWND)> EnterTextAndPress(const std::wstring &text, const std::wstring &button);
// Captions of the windows answered so far (in order).
const std::vector<std::wstring> &AnsweredCaptions();
// An answer that keeps a message box's text (each box's text is appended) and presses OK.
std::function<void(HWND)> ReadMessageAndPressOk(std::vector<std::wstring> &texts);
// The system's own words for an error code, as a message box shows them (no closing line break).
std::wstring SystemReason(DWORD code);

// The colours the screen shows in a rectangle of screen coordinates, row by row from the top: what a person
// sees, whatever the windows' state says.
std::vector<COLORREF> ScreenPixels(const RECT &screen);
// Clicks the screen at a point: the window the system finds under it gets the click, as under a mouse.
void ClickAt(POINT screen);

// The pixels of one picture of an image list, drawn over magenta, row by row from the top.
std::vector<DWORD> ImagePixels(HIMAGELIST list, int index);

// Waits for a process to end; one still running after the time is ended by force. Closes the handle.
struct ProcessEnd {
    bool ended;     // by itself, within the time
    DWORD exitCode; // STILL_ACTIVE when it had not ended
};
ProcessEnd AwaitProcessEnd(HANDLE process, DWORD timeoutMs);

} // namespace testdriver
