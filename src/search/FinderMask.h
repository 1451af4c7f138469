#pragma once

#include <string>
#include <vector>

// The finder's own name masks: a sorted list of lower-cased entries built from a text of masks separated by
// ";" or ",". A bare word becomes *word*; the literal after a "*" is tied to its first occurrence in the name.
class TFinderMask {
public:
    TFinderMask(); // the single entry "*": every name

    void Assign(const std::wstring &text);
    bool Matches(const std::wstring &name) const;

    const std::vector<std::wstring> &Entries() const { return entries_; }

    // One already lower-cased name against one completed entry.
    static bool MatchEntry(const std::wstring &name, const std::wstring &entry);

private:
    std::vector<std::wstring> entries_;
};

// Lower-cases as the system's locale does, the way the masks and names are compared.
std::wstring LowerText(std::wstring text);
