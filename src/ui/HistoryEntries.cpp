#include "ui/HistoryEntries.h"

namespace ui {

THistoryEntries::THistoryEntries(std::initializer_list<std::wstring_view> texts) {
    for (std::wstring_view text : texts)
        push_back(text);
}

THistoryEntries::THistoryEntries(const std::vector<std::wstring> &texts) {
    added_spans_.reserve(texts.size());
    for (const std::wstring &text : texts)
        push_back(text);
}

THistoryEntries::THistoryEntries(std::wstring text, std::vector<Span> spans) {
    for (const auto &[start, length] : spans) {
        if (start + length < text.size())
            text[start + length] = L'\0';
        characters_ += length;
    }
    loaded_ = std::make_shared<const TLoaded>(TLoaded{std::move(text), std::move(spans)});
}

std::wstring_view THistoryEntries::operator[](size_t index) const {
    size_t loaded = LoadedCount();
    if (index < loaded) {
        const auto &[start, length] = loaded_->spans[index];
        return std::wstring_view(loaded_->text).substr(start, length);
    }
    const auto &[start, length] = added_spans_[index - loaded];
    return std::wstring_view(added_).substr(start, length);
}

const wchar_t *THistoryEntries::CString(size_t index) const {
    size_t loaded = LoadedCount();
    if (index < loaded)
        return loaded_->text.c_str() + loaded_->spans[index].first;
    return added_.c_str() + added_spans_[index - loaded].first;
}

void THistoryEntries::push_back(std::wstring_view text) {
    added_spans_.emplace_back(added_.size(), text.size());
    added_ += text;
    added_ += L'\0';
    characters_ += text.size();
}

void THistoryEntries::clear() {
    *this = THistoryEntries();
}

size_t THistoryEntries::CommonPrefix(const THistoryEntries &other) const {
    // The same loaded text holds the same entries: only what was added after it is compared.
    size_t common = loaded_ && loaded_ == other.loaded_ ? LoadedCount() : 0;
    while (common < size() && common < other.size() && (*this)[common] == other[common])
        ++common;
    return common;
}

bool operator==(const THistoryEntries &a, const std::vector<std::wstring> &b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < b.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

} // namespace ui
