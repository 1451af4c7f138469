#pragma once
#include <string>
#include <vector>

namespace ui {

// Cuts text into lines at CR, at LF and at CR LF. An empty line between two line ends is a line; a final
// line end adds no empty line.
std::vector<std::wstring> SplitLines(const std::wstring &text);

// A list of texts, each with an integer ID beside it.
class THistoryList {
public:
    struct Entry {
        std::wstring text;
        int id = 0;
    };

    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry &operator[](int index) const { return entries_[index]; }
    void Add(const std::wstring &text, int id = 0) { entries_.push_back({text, id}); }
    void Clear() { entries_.clear(); }

    // The text form: each entry as its text, a TAB, its ID in decimal and CR LF. Reading clears the list
    // first; a line without a TAB is an entry with ID 0; an ID is read from at most ten characters.
    std::wstring Text() const;
    void SetText(const std::wstring &text);

private:
    std::vector<Entry> entries_;
};

// The one history list of the process, shared by every history box.
THistoryList &SharedHistory();

} // namespace ui
