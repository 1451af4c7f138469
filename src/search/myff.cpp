#include "search/myff.h"

#include "search/Handles.h"

#include <algorithm>
#include <vector>

namespace {

const TDateTime FirstDate = 29221; // 1980-01-01 00:00
const TDateTime LastDate = 73050;  // 2099-12-31 00:00

uint64_t FileTimeValue(const FILETIME &ft) {
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// The files searched are byte texts in the ANSI code page, so the text is searched in that form. A character
// the code page lacks cannot occur in such a file; representable is then false.
std::string ToAnsi(const std::wstring &text, bool &representable) {
    representable = true;
    if (text.empty())
        return {};
    const UINT cp = GetACP();
    const bool utf8 = cp == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(cp, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      utf8 ? nullptr : &usedDefault);
    std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        WideCharToMultiByte(cp, flags, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                            utf8 ? nullptr : &usedDefault);
    representable = n > 0 && !usedDefault;
    return out;
}

bool IsDotEntry(const wchar_t *name) {
    return (name[0] == L'.' && name[1] == 0) || (name[0] == L'.' && name[1] == L'.' && name[2] == 0);
}

} // namespace

TMyFF::TMyFF() {
    SetAttributes(AllAttributes);
    dateFrom_ = StoredDate(FirstDate);
    dateTo_ = StoredDate(LastDate);
}

void TMyFF::SetFindString(const std::wstring &value) {
    if (value == findString_)
        return;
    findString_ = value;
    search_.SetPattern(ToAnsi(value, patternRepresentable_));
}

FILETIME TMyFF::StoredDate(TDateTime value) {
    if (!(value >= FirstDate)) // also a value that is no number
        value = FirstDate;
    if (value > LastDate)
        value = LastDate;
    FILETIME utc;
    if (!DateTimeToUtcFileTime(value, utc))
        utc = {65535, 65535};
    return utc;
}

bool TMyFF::Execute(const std::wstring &startDirectory) {
    if (dateFromSet_ && dateToSet_ && FileTimeValue(dateTo_) < FileTimeValue(dateFrom_))
        std::swap(dateFrom_, dateTo_);
    if (maxSize_ < minSize_)
        std::swap(minSize_, maxSize_);

    std::wstring start = startDirectory;
    if (!start.empty() && start.back() == L'\\')
        start.pop_back();
    const DWORD attributes = start.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(start.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return Walk(start);
}

bool TMyFF::Walk(std::wstring dir) {
    if (dir.empty() || dir.back() != L'\\')
        dir += L'\\';
    bool cancel = false;
    if (OnChDir) {
        OnChDir(dir, cancel);
        if (cancel)
            return false;
    }
    if (Stopped())
        return false;

    // The listing is closed before any subdirectory is walked, so only one is ever open however deep the tree.
    std::vector<std::wstring> subdirs;
    {
        WIN32_FIND_DATAW data;
        UniqueFindHandle find(NullIfInvalid(FindFirstFileW((dir + L"*.*").c_str(), &data)));
        if (find) {
            do {
                if (Stopped())
                    return false;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    if (recurseDirs_ && !IsDotEntry(data.cFileName))
                        subdirs.push_back(dir + data.cFileName);
                } else if (Qualifies(dir, data, cancel) && OnAddFile) {
                    OnAddFile(dir, data, cancel);
                }
                if (cancel)
                    return false;
            } while (FindNextFileW(find.get(), &data));
        }
    }
    for (const std::wstring &sub : subdirs)
        if (!Walk(sub))
            return false;
    return true;
}

bool TMyFF::Qualifies(const std::wstring &dir, const WIN32_FIND_DATAW &data, bool &cancel) {
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if ((minSize_ > 0 && size < static_cast<uint64_t>(minSize_)) || maxSize_ < 0 ||
        size > static_cast<uint64_t>(maxSize_))
        return false;
    const uint64_t written = FileTimeValue(data.ftLastWriteTime);
    if ((dateFromSet_ && written < FileTimeValue(dateFrom_)) || (dateToSet_ && written > FileTimeValue(dateTo_)))
        return false;
    if (data.dwFileAttributes & static_cast<DWORD>(excludedAttributes_))
        return false;
    if (!masks_.Matches(data.cFileName))
        return false;
    if (findString_.empty())
        return true;
    const std::wstring path = dir + data.cFileName;
    if (OnScanFile) {
        OnScanFile(path, cancel);
        if (cancel) // stop at once: neither read nor report the file
            return false;
    }
    return ContainsText(path);
}

bool TMyFF::ContainsText(const std::wstring &path) {
    if (!patternRepresentable_)
        return false;
    return scanner_.Scan(path, search_, stop_) == TFileTextScanner::TResult::Found;
}
