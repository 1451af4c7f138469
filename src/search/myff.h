#pragma once

#include "search/FileDate.h"
#include "search/FileTextScanner.h"
#include "search/FinderMask.h"
#include "search/TextSrch.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

// Walks a directory tree depth first and reports every file that passes the filters: size, last-write date,
// attributes, name masks and, when FindString is set, a text the file contains (letter case ignored). Each
// event may set its cancel flag to stop the walk at once.
class TMyFF {
public:
    // name: the directory entered (ending with "\") or the full path of the file about to be searched.
    using TFileEvent = std::function<void(const std::wstring &name, bool &cancel)>;
    // path: the file's directory, ending with "\"; data: the listing's record of the file.
    using TAddEvent = std::function<void(const std::wstring &path, const WIN32_FIND_DATAW &data, bool &cancel)>;

    static constexpr int32_t AllAttributes = 63;

    TMyFF();

    // Attribute bits a found file may carry (1 read-only, 2 hidden, 4 system, 8 volume label, 16 directory,
    // 32 archive); bits outside these six never exclude a file.
    int32_t Attributes() const { return ~excludedAttributes_ & AllAttributes; }
    void SetAttributes(int32_t value) { excludedAttributes_ = ~value & AllAttributes; }

    const std::wstring &FindString() const { return findString_; }
    void SetFindString(const std::wstring &value);

    bool RecurseDirs() const { return recurseDirs_; }
    void SetRecurseDirs(bool value) { recurseDirs_ = value; }

    TFileEvent OnChDir;
    TAddEvent OnAddFile;
    TFileEvent OnScanFile;

    // Write-only: builds the mask list; empty means every name.
    void SetFileMask(const std::wstring &value) { masks_.Assign(value); }
    const TFinderMask &Masks() const { return masks_; }

    // Bounds of the last-write time, clamped to 1980-01-01 .. 2099-12-31 and kept in 2-second steps. A bound
    // applies only once it is set: with none set, files of any date are found (a file of 1975 too).
    TDateTime DateFrom() const { return UtcFileTimeToDateTime(dateFrom_); }
    void SetDateFrom(TDateTime value) {
        dateFrom_ = StoredDate(value);
        dateFromSet_ = true;
    }
    TDateTime DateTo() const { return UtcFileTimeToDateTime(dateTo_); }
    void SetDateTo(TDateTime value) {
        dateTo_ = StoredDate(value);
        dateToSet_ = true;
    }

    // Bounds of the whole 64-bit file size; a negative lower bound is no bound. With none set, files of any
    // size are found.
    int64_t MinSize() const { return minSize_; }
    void SetMinSize(int64_t value) { minSize_ = value; }
    int64_t MaxSize() const { return maxSize_; }
    void SetMaxSize(int64_t value) { maxSize_ = value; }

    // How much of a file is read at a time for the text test.
    void SetBlockSize(size_t value) { scanner_.SetBlockSize(value); }

    // A flag another thread may set to end the walk: looked at before every entry and between the blocks of a
    // file read for the text, so a walk through a large folder of files that do not qualify stops as soon.
    void SetStop(const std::atomic<bool> *stop) { stop_ = stop; }

    // True when the walk ran to its end; false when an event or the stop flag cancelled it, or the start
    // directory does not exist.
    bool Execute(const std::wstring &startDirectory);

private:
    static FILETIME StoredDate(TDateTime value);
    bool Walk(std::wstring dir);
    bool Qualifies(const std::wstring &dir, const WIN32_FIND_DATAW &data, bool &cancel);
    bool ContainsText(const std::wstring &path);
    bool Stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }

    int32_t excludedAttributes_ = 0;
    std::wstring findString_;
    bool patternRepresentable_ = true; // every character of FindString exists in the ANSI code page
    bool recurseDirs_ = true;
    TFinderMask masks_;
    FILETIME dateFrom_{};
    FILETIME dateTo_{};
    bool dateFromSet_ = false;
    bool dateToSet_ = false;
    int64_t minSize_ = 0;
    int64_t maxSize_ = INT64_MAX;
    TTextSearch search_;
    TFileTextScanner scanner_;
    const std::atomic<bool> *stop_ = nullptr;
};
