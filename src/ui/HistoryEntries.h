#pragma once
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ui {

// A command history's texts, oldest first, each exactly as added (a NUL inside one included).
//
// A history read from a file is one decoded text with the place of each entry in it, shared by every copy
// of the history (the one a box shows and the one the file is known to hold): 200,000 lines are neither
// 200,000 strings nor kept twice. Entries added afterwards go into a text of their own. Every entry is
// followed by a NUL in its text, so that it goes to the system as it stands, without a copy.
class THistoryEntries {
public:
    // Where an entry starts in its text, and its length.
    using Span = std::pair<size_t, size_t>;

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::wstring_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::wstring_view;

        const_iterator() = default;
        std::wstring_view operator*() const { return (*entries_)[index_]; }
        const_iterator &operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator &) const = default;

    private:
        friend class THistoryEntries;
        const_iterator(const THistoryEntries *entries, size_t index) : entries_(entries), index_(index) {}
        const THistoryEntries *entries_ = nullptr;
        size_t index_ = 0;
    };
    using iterator = const_iterator;
    using value_type = std::wstring_view;

    THistoryEntries() = default;
    THistoryEntries(std::initializer_list<std::wstring_view> texts);
    explicit THistoryEntries(const std::vector<std::wstring> &texts);
    // The entries standing at `spans` in `text`, taken over with no copy. Each span is followed by a
    // character that belongs to no entry (a line end), which becomes a NUL, or by the end of the text.
    THistoryEntries(std::wstring text, std::vector<Span> spans);

    size_t size() const { return LoadedCount() + added_spans_.size(); }
    bool empty() const { return size() == 0; }
    std::wstring_view operator[](size_t index) const;
    // The entry ending in a NUL, for the system (which takes it only to its first NUL).
    const wchar_t *CString(size_t index) const;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    void push_back(std::wstring_view text);
    void clear();

    // The characters of every entry together.
    size_t Characters() const { return characters_; }
    // How many entries, from the first, the two histories have in common.
    size_t CommonPrefix(const THistoryEntries &other) const;

    friend bool operator==(const THistoryEntries &a, const THistoryEntries &b) {
        return a.size() == b.size() && a.CommonPrefix(b) == a.size();
    }
    friend bool operator==(const THistoryEntries &a, const std::vector<std::wstring> &b);

private:
    struct TLoaded {
        std::wstring text;
        std::vector<Span> spans;
    };
    // Never changed once made: copies of the history share it.
    std::shared_ptr<const TLoaded> loaded_;
    std::wstring added_;
    std::vector<Span> added_spans_;
    size_t characters_ = 0;

    size_t LoadedCount() const { return loaded_ ? loaded_->spans.size() : 0; }
};

} // namespace ui
