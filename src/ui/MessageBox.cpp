#include "ui/MessageBox.h"

#include <vector>

namespace ui {

namespace {

bool IsTrailSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The text's start and end around "…", `most` characters in all, cut between characters, never inside a
// pair of surrogates.
std::wstring Shortened(std::wstring_view text, size_t most) {
    if (text.size() <= most)
        return std::wstring(text);
    size_t head = (most - 1) / 2, tail = most - 1 - head;
    if (IsTrailSurrogate(text[head]))
        --head;
    size_t tailStart = text.size() - tail;
    if (IsTrailSurrogate(text[tailStart]))
        ++tailStart;
    return std::wstring(text.substr(0, head)) + L'\u2026' + std::wstring(text.substr(tailStart));
}

std::wstring ShortenedLine(std::wstring_view line) {
    std::wstring words;
    for (size_t start = 0; start < line.size();) {
        size_t end = line.find_first_of(L" \t", start);
        if (end == start) {
            words += line[start++];
            continue;
        }
        if (end == std::wstring_view::npos)
            end = line.size();
        words += Shortened(line.substr(start, end - start), kMessageWordChars);
        start = end;
    }
    return Shortened(words, kMessageLineChars);
}

} // namespace

std::wstring BoundedMessageText(std::wstring_view text) {
    // Lines end at LF; a CR before it stays with the break it belongs to.
    std::vector<std::wstring_view> lines;
    for (size_t start = 0;;) {
        size_t end = text.find(L'\n', start);
        lines.push_back(text.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
        if (end == std::wstring_view::npos)
            break;
        start = end + 1;
    }
    // One line more than the first ones would take the place of the count itself: it is shown.
    const size_t shown = lines.size() > kMessageLines ? kMessageLines - 1 : lines.size();
    std::wstring bounded;
    for (size_t i = 0; i < shown; ++i) {
        std::wstring_view line = lines[i];
        bool cr = !line.empty() && line.back() == L'\r';
        if (cr)
            line.remove_suffix(1);
        bounded += ShortenedLine(line);
        if (i + 1 < lines.size())
            bounded += cr ? L"\r\n" : L"\n";
    }
    if (shown < lines.size())
        bounded += L"and " + std::to_wstring(lines.size() - shown) + L" more lines";
    return bounded;
}

int ShowMessage(HWND owner, std::wstring_view text, const std::wstring &caption, UINT flags) {
    return MessageBoxW(owner, BoundedMessageText(text).c_str(), caption.c_str(), flags);
}

} // namespace ui
