#include "ui/HistoryList.h"

#include <cstdint>

namespace ui {

std::vector<std::wstring> SplitLines(const std::wstring &text) {
    std::vector<std::wstring> lines;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = text.find_first_of(L"\r\n", i);
        if (end == std::wstring::npos)
            end = text.size();
        lines.push_back(text.substr(i, end - i));
        i = end;
        if (i < text.size() && text[i] == L'\r')
            ++i;
        if (i < text.size() && text[i] == L'\n')
            ++i;
    }
    return lines;
}

namespace {
// The decimal number at the start of up to ten characters; 0 when they hold none.
int ParseId(const std::wstring &digits) {
    long long value = 0;
    size_t i = 0;
    bool negative = false;
    if (i < digits.size() && (digits[i] == L'-' || digits[i] == L'+'))
        negative = digits[i++] == L'-';
    size_t start = i;
    for (; i < digits.size() && digits[i] >= L'0' && digits[i] <= L'9'; ++i)
        value = value * 10 + (digits[i] - L'0');
    if (i == start || i != digits.size())
        return 0;
    if (negative)
        value = -value;
    return value > INT32_MAX || value < INT32_MIN ? 0 : static_cast<int>(value);
}
} // namespace

std::wstring THistoryList::Text() const {
    std::wstring text;
    for (const Entry &e : entries_)
        text += e.text + L'\t' + std::to_wstring(e.id) + L"\r\n";
    return text;
}

void THistoryList::SetText(const std::wstring &text) {
    entries_.clear();
    for (const std::wstring &line : SplitLines(text)) {
        size_t tab = line.find(L'\t');
        if (tab == std::wstring::npos)
            Add(line, 0);
        else
            Add(line.substr(0, tab), ParseId(line.substr(tab + 1, 10)));
    }
}

THistoryList &SharedHistory() {
    static THistoryList history;
    return history;
}

} // namespace ui
