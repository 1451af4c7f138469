#include "search/FinderMask.h"

#include <windows.h>

#include <algorithm>

std::wstring LowerText(std::wstring text) {
    if (!text.empty())
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

namespace {

// Blanks and control characters around a piece are not part of it.
std::wstring Trim(const std::wstring &s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= L' ')
        ++b;
    while (e > b && s[e - 1] <= L' ')
        --e;
    return s.substr(b, e - b);
}

std::wstring Complete(std::wstring entry) {
    const bool hasStar = entry.find(L'*') != std::wstring::npos;
    const bool hasDot = entry.find(L'.') != std::wstring::npos;
    if (!hasStar && !hasDot)
        return L"*" + entry + L"*";
    if (!hasDot && entry.back() != L'*')
        entry += L'*';
    return entry;
}

} // namespace

TFinderMask::TFinderMask() : entries_{L"*"} {}

void TFinderMask::Assign(const std::wstring &text) {
    entries_.clear();
    matchesAll_ = text.empty();
    if (text.empty()) {
        entries_.push_back(L"*");
        return;
    }
    std::wstring m = text;
    std::replace(m.begin(), m.end(), L',', L';');
    if (m.back() != L';')
        m += L';';
    size_t start = 0;
    for (size_t sep = m.find(L';'); sep != std::wstring::npos; start = sep + 1, sep = m.find(L';', start))
        entries_.push_back(Complete(LowerText(Trim(m.substr(start, sep - start)))));
    std::sort(entries_.begin(), entries_.end());
    entries_.erase(std::unique(entries_.begin(), entries_.end()), entries_.end());
    matchesAll_ = std::find(entries_.begin(), entries_.end(), L"*") != entries_.end();
}

bool TFinderMask::Matches(std::wstring_view name) const {
    if (name.empty() || matchesAll_)
        return true;
    const std::wstring lower = LowerText(std::wstring(name));
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const std::wstring &entry) { return MatchEntry(lower, entry); });
}

bool TFinderMask::MatchEntry(const std::wstring &name, const std::wstring &entry) {
    if (entry == L"*")
        return true;
    if (entry == L"*.*")
        return name.find(L'.') != std::wstring::npos;
    if (entry.find_first_of(L"*?") == std::wstring::npos)
        return name == entry;

    size_t p = 0; // 0-based position in name; may run past its end after "?"
    bool starPending = false;
    for (size_t i = 0; i < entry.size();) {
        if (entry[i] == L'*') {
            starPending = true;
            ++i;
            continue;
        }
        if (entry[i] == L'?') {
            ++p;
            ++i;
            continue;
        }
        const size_t end = std::min(entry.find_first_of(L"*?", i), entry.size());
        const std::wstring_view literal(entry.data() + i, end - i);
        i = end;
        if (p > name.size())
            return false;
        if (starPending) {
            const size_t q = std::wstring_view(name).find(literal, p);
            if (q == std::wstring_view::npos)
                return false;
            p = q + literal.size();
            starPending = false;
        } else {
            if (std::wstring_view(name).substr(p, literal.size()) != literal)
                return false;
            p += literal.size();
        }
    }
    return starPending || p == name.size();
}
