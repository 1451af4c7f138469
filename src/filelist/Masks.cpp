#include "filelist/Masks.h"

#include <windows.h>

#include <algorithm>

namespace filelist {

namespace {

std::wstring Trim(const std::wstring &s) {
    size_t b = s.find_first_not_of(L' ');
    if (b == std::wstring::npos) return {};
    size_t e = s.find_last_not_of(L' ');
    return s.substr(b, e - b + 1);
}

bool HasWildcard(const std::wstring &mask) { return mask.find_first_of(L"*?") != std::wstring::npos; }

} // namespace

std::wstring CaseFold(const std::wstring &text, bool caseSensitive) {
    if (caseSensitive || text.empty()) return text;
    std::wstring folded = text;
    CharLowerBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
}

void SortCaseInsensitive(std::vector<std::wstring> &list) {
    std::stable_sort(list.begin(), list.end(), [](const std::wstring &a, const std::wstring &b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size())) == CSTR_LESS_THAN;
    });
}

std::wstring JoinList(const std::vector<std::wstring> &list) {
    std::wstring out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i) out += L';';
        out += list[i];
    }
    return out;
}

void BuildMaskList(const std::wstring &maskText, TMaskList &list, bool addStars, bool caseSensitive) {
    list.clear();
    if (maskText.empty()) {
        list.push_back(L"*");
        return;
    }
    std::wstring text = maskText;
    std::replace(text.begin(), text.end(), L',', L';');
    if (text.back() != L';') text += L';';
    size_t start = 0;
    for (size_t semi = text.find(L';'); semi != std::wstring::npos; semi = text.find(L';', start)) {
        list.push_back(CaseFold(Trim(text.substr(start, semi - start)), caseSensitive));
        start = semi + 1;
    }
    if (addStars) {
        for (std::wstring &mask : list) {
            bool hasDot = mask.find(L'.') != std::wstring::npos;
            if (!HasWildcard(mask) && !hasDot) mask = L"*" + mask + L"*";
            else if (!hasDot && (mask.empty() || mask.back() != L'*')) mask += L'*';
        }
    }
    SortCaseInsensitive(list);
}

bool MatchesMask(const std::wstring &name, const std::wstring &mask, bool exact) {
    // "*.*" is every name, with a dot or without one (README, Makefile), as the system's own matching has it.
    if (mask == L"*" || mask == L"*.*") return true;
    if (!HasWildcard(mask)) {
        if (exact) return name == mask;
        return !mask.empty() && name.find(mask) != std::wstring::npos;
    }
    size_t pos = 0; // zero-based position in the name
    bool starPending = false;
    size_t i = 0;
    while (i < mask.size()) {
        wchar_t c = mask[i];
        if (c == L'*') {
            starPending = true;
            ++i;
        } else if (c == L'?') {
            if (pos >= name.size()) return false;
            ++pos;
            ++i;
        } else {
            size_t end = mask.find_first_of(L"*?", i);
            if (end == std::wstring::npos) end = mask.size();
            std::wstring_view literal(mask.data() + i, end - i);
            if (starPending) {
                size_t found = std::wstring_view(name).find(literal, pos);
                if (found == std::wstring_view::npos) return false;
                pos = found + literal.size();
                starPending = false;
            } else {
                if (std::wstring_view(name).substr(pos, literal.size()) != literal) return false;
                pos += literal.size();
            }
            i = end;
        }
    }
    return starPending || pos == name.size();
}

bool MatchesMaskList(const std::wstring &name, const TMaskList &list, bool exact, bool caseSensitive) {
    if (name.empty()) return true;
    // The usual lists need no folded copy of the name.
    if (list.size() == 1 && (list[0] == L"*" || list[0] == L"*.*")) return MatchesMask(name, list[0], exact);
    std::wstring folded = CaseFold(name, caseSensitive);
    for (const std::wstring &mask : list)
        if (MatchesMask(folded, mask, exact)) return true;
    return false;
}

} // namespace filelist
