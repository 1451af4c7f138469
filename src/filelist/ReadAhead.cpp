#include "filelist/ReadAhead.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "filelist/ShellInfo.h"
#include "ui/Fallbacks.h"
#include "ui/Handles.h"
#include "ui/Threads.h"

namespace filelist {

namespace {

// Entries are handed over in batches, so that the reader and the list take the lock rarely.
constexpr size_t kBatch = 512;

std::vector<std::unique_ptr<TDirectoryReadAhead>> &Pending() {
    static std::vector<std::unique_ptr<TDirectoryReadAhead>> pending;
    return pending;
}

} // namespace

void TFoundEntry::ToFindData(WIN32_FIND_DATAW &fd) const {
    fd.dwFileAttributes = attributes;
    fd.ftCreationTime = created;
    fd.ftLastAccessTime = lastAccess;
    fd.ftLastWriteTime = modified;
    fd.nFileSizeHigh = sizeHigh;
    fd.nFileSizeLow = sizeLow;
    size_t n = std::min(name.size(), std::size(fd.cFileName) - 1);
    std::copy_n(name.data(), n, fd.cFileName);
    fd.cFileName[n] = 0;
    fd.cAlternateFileName[0] = 0;
}

struct TDirectoryReadAhead::TShared {
    std::mutex lock;
    std::condition_variable found;
    std::vector<TFoundEntry> entries;
    TState state = TState::more;
    std::atomic<bool> stop{false};

    void Hand(std::vector<TFoundEntry> &batch, TState end) {
        {
            std::lock_guard<std::mutex> hold(lock);
            if (entries.empty()) entries.swap(batch);
            else std::move(batch.begin(), batch.end(), std::back_inserter(entries));
            state = end;
        }
        batch.clear();
        found.notify_one();
    }

    void Read(const std::wstring &dir) {
        std::vector<TFoundEntry> batch;
        try {
            ui::TQuietDriveErrors quiet;
            WIN32_FIND_DATAW fd;
            ui::FindHandle find(ui::FindFirstForListing(dir + L"*", fd, false));
            if (find.get() != INVALID_HANDLE_VALUE) {
                bool fileSeen = false;
                do {
                    // A file will be shown with the shell's picture of its type: the shell may start loading.
                    if (!fileSeen && !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                        fileSeen = true;
                        NeedShellPictures();
                    }
                    TFoundEntry &e = batch.emplace_back();
                    e.name = fd.cFileName;
                    e.attributes = fd.dwFileAttributes;
                    e.sizeHigh = fd.nFileSizeHigh;
                    e.sizeLow = fd.nFileSizeLow;
                    e.created = fd.ftCreationTime;
                    e.lastAccess = fd.ftLastAccessTime;
                    e.modified = fd.ftLastWriteTime;
                    if (batch.size() >= kBatch) {
                        if (stop || ui::Ending()) return;
                        Hand(batch, TState::more);
                    }
                } while (FindNextFileW(find.get(), &fd));
            }
            Hand(batch, TState::done);
        } catch (...) {
            // Out of memory: the list reads the folder itself instead.
            std::lock_guard<std::mutex> hold(lock);
            state = TState::failed;
            found.notify_one();
        }
    }
};

TDirectoryReadAhead::TDirectoryReadAhead(std::wstring dir) : dir_(std::move(dir)), shared_(std::make_shared<TShared>()) {
    if (!ui::StartThread([shared = shared_, dir = dir_] { shared->Read(dir); })) {
        // No thread: the list reads the folder itself.
        std::lock_guard<std::mutex> hold(shared_->lock);
        shared_->state = TState::failed;
    }
}

TDirectoryReadAhead::~TDirectoryReadAhead() { shared_->stop = true; }

bool TDirectoryReadAhead::ReadInFull(size_t maxEntries) const {
    std::lock_guard<std::mutex> hold(shared_->lock);
    return shared_->state == TState::done && shared_->entries.size() <= maxEntries;
}

bool TDirectoryReadAhead::FoldersOnly() const {
    std::lock_guard<std::mutex> hold(shared_->lock);
    return std::all_of(shared_->entries.begin(), shared_->entries.end(),
                       [](const TFoundEntry &e) { return (e.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; });
}

TDirectoryReadAhead::TState TDirectoryReadAhead::Take(std::vector<TFoundEntry> &out, DWORD waitMs) {
    std::unique_lock<std::mutex> hold(shared_->lock);
    if (shared_->entries.empty() && shared_->state == TState::more)
        shared_->found.wait_for(hold, std::chrono::milliseconds(waitMs),
                                [&] { return !shared_->entries.empty() || shared_->state != TState::more; });
    if (out.empty()) out.swap(shared_->entries);
    else std::move(shared_->entries.begin(), shared_->entries.end(), std::back_inserter(out));
    shared_->entries.clear();
    return shared_->state;
}

bool StartReadAhead(const std::wstring &dir) {
    if (dir.empty()) return false;
    Pending().push_back(std::make_unique<TDirectoryReadAhead>(dir.back() == L'\\' ? dir : dir + L'\\'));
    return true;
}

namespace {

auto FindPending(const std::wstring &dir) {
    auto &pending = Pending();
    return std::find_if(pending.begin(), pending.end(), [&](const auto &r) { return r->Directory() == dir; });
}

} // namespace

std::unique_ptr<TDirectoryReadAhead> ClaimReadAhead(const std::wstring &dir) {
    auto &pending = Pending();
    auto it = FindPending(dir);
    if (it == pending.end()) return nullptr;
    std::unique_ptr<TDirectoryReadAhead> claimed = std::move(*it);
    pending.erase(it);
    return claimed;
}

bool ReadAheadInFull(const std::wstring &dir, size_t maxEntries) {
    auto it = FindPending(dir);
    return it != Pending().end() && (*it)->ReadInFull(maxEntries);
}

bool ReadAheadFoldersOnly(const std::wstring &dir) {
    auto it = FindPending(dir);
    return it != Pending().end() && (*it)->FoldersOnly();
}

void DropReadAheads() { Pending().clear(); }

} // namespace filelist
