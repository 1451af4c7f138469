#pragma once

#include <string>
#include <string_view>
#include <vector>

// The finder's own name masks: a sorted list of lower-cased entries built from a text of masks separated by
// ";" or ",". A bare word becomes *word*; the literal after a "*" is tied to its first occurrence in the name.
class TFinderMask {
public:
    TFinderMask(); // the single entry "*": every name

    void Assign(const std::wstring &text);
    bool Matches(std::wstring_view name) const;

    const std::vector<std::wstring> &Entries() const { return entries_; }

    // One already lower-cased name against one completed entry.
    static bool MatchEntry(const std::wstring &name, const std::wstring &entry);

private:
    std::vector<std::wstring> entries_;
    // An entry "*" matches every name: the name need not be copied or lower-cased, as it must not be for
    // each of a hundred thousand files found with an empty mask.
    bool matchesAll_ = true;
};

// Lower-cases as the system's locale does, the way the masks and names are compared.
std::wstring LowerText(std::wstring text);
