#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

// A message box sizes itself to its text: a word it cannot wrap makes it as wide, and every line makes it
// higher, past the screen's edge and its OK button with it. Its text is kept to what any screen shows: a
// word (a run without blanks, such as a path) longer than kMessageWordChars, and then a line longer than
// kMessageLineChars, keeps its start and its end with "…" between them; a text of more than kMessageLines
// lines shows its first lines and how many more there are.
constexpr size_t kMessageWordChars = 100;
constexpr size_t kMessageLineChars = 200;
constexpr size_t kMessageLines = 15;
std::wstring BoundedMessageText(std::wstring_view text);

// MessageBoxW with the text so bounded.
int ShowMessage(HWND owner, std::wstring_view text, const std::wstring &caption, UINT flags);

} // namespace ui
