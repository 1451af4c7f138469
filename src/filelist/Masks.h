#pragma once
#include <string>
#include <vector>

namespace filelist {

// A list of normalised masks, sorted without regard to case once built.
using TMaskList = std::vector<std::wstring>;

// The text as given when caseSensitive, else its locale-aware lower-case form.
std::wstring CaseFold(const std::wstring &text, bool caseSensitive);
// Refills the list from a mask text such as "*.EXE, *.bat" (pieces cut at ";" or ",", trimmed, folded).
// With addStars a plain word w becomes "*w*" and a mask without a dot and without a final star gets one.
void BuildMaskList(const std::wstring &maskText, TMaskList &list, bool addStars, bool caseSensitive);
// True when the (already folded) name matches the one mask. The search after a star takes the first
// occurrence of the next literal and never backtracks, but "*.*", like "*", matches every name.
bool MatchesMask(const std::wstring &name, const std::wstring &mask, bool exact);
// True when the name matches at least one mask of the list; an empty name always matches.
bool MatchesMaskList(const std::wstring &name, const TMaskList &list, bool exact, bool caseSensitive);
// Sorts without regard to case, keeping equal entries (as a sorted string list does when switched to sorted).
void SortCaseInsensitive(std::vector<std::wstring> &list);
// Joins the entries with ";".
std::wstring JoinList(const std::vector<std::wstring> &list);

} // namespace filelist
