#include "viewer/TextSource.h"

#include <algorithm>
#include <cstring>

#include "viewer/TextLoader.h"

namespace viewer {

namespace {
// Bytes read per step of a scan for the end; the interruption is asked between steps.
constexpr size_t kScanStep = 4 << 20;

bool SameFile(const BY_HANDLE_FILE_INFORMATION &a, const BY_HANDLE_FILE_INFORMATION &b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

bool SamePath(const std::wstring &a, const std::wstring &b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

ui::KernelHandle OpenShared(const std::wstring &path) {
    ui::KernelHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) file.release();
    return file;
}

// Every source alive: the viewer and a pane may show one file at once. Never destroyed, so a source that
// outlives it at the process's end still finds it.
std::vector<TTextSource *> &LiveSources() {
    static auto *sources = new std::vector<TTextSource *>;
    return *sources;
}
} // namespace

TTextSource::TTextSource() { LiveSources().push_back(this); }

TTextSource::~TTextSource() {
    auto &live = LiveSources();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

bool TTextSource::HeldHere(const std::wstring &path) const {
    for (const TTextSource *other : LiveSources())
        if (other != this && other->file_ && SamePath(other->path_, path)) return true;
    return false;
}

bool TTextSource::KnowIdentity() {
    if (!identityKnown_ && file_) identityKnown_ = GetFileInformationByHandle(file_.get(), &identity_) != 0;
    return identityKnown_;
}

bool TTextSource::Reopen() {
    if (inMemory_ || !identityKnown_) return false;
    ui::KernelHandle file = OpenShared(path_);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info)) return false;
    if (!SameFile(info, identity_)) {
        replaced_ = true;
        return false;
    }
    replaced_ = false;
    file_ = std::move(file);
    return true;
}

void TTextSource::Reset(TPos size, UINT fixedCodePage) {
    cache_.clear();
    size_ = size;
    zeroAt_ = ~TPos(0);
    scanned_ = 0;
    fixedCodePage_ = fixedCodePage;
    detected_ = 0;
    bom_ = 0;
    shrunk_ = deleted_ = replaced_ = false;
    ++generation_;
    SetReading(fixedCodePage ? fixedCodePage : CP_ACP);
}

void TTextSource::SetReading(UINT codePage) {
    if (fixedCodePage_) codePage = fixedCodePage_;
    unit_ = IsUtf16(codePage) ? 2 : 1;
    zeroEnds_ = !IsUtf16(codePage);
    origin_ = detected_ && codePage == detected_ ? bom_ : 0;
}

TPos TTextSource::KnownEnd() const {
    TPos end = zeroEnds_ ? std::min(size_, zeroAt_) : size_;
    if (end < origin_) return origin_ <= size_ ? origin_ : size_;
    return origin_ + (end - origin_) / unit_ * unit_;
}

void TTextSource::OpenFile(const std::wstring &path) {
    // A file another program holds open cannot be viewed: it is opened once without sharing to see. A file
    // this program shows already (in the pane and the viewer at once) needs no such look, which would find
    // it held.
    if (!HeldHere(path)) {
        ui::KernelHandle probe(
            CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe || probe.get() == INVALID_HANDLE_VALUE) throw CannotOpenFile(path);
    }
    // Then held open for the whole viewing, letting everyone else read, write, rename and delete it: every
    // read comes from this one file, whatever later stands under its name.
    ui::KernelHandle file = OpenShared(path);
    if (!file) throw CannotOpenFile(path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) throw CannotOpenFile(path);
    path_ = path;
    file_ = std::move(file);
    identityKnown_ = false; // asked for when first needed: the held handle stands for the file meanwhile
    memory_.clear();
    inMemory_ = false;
    Reset(static_cast<TPos>(size.QuadPart), 0);
    // The first block is what the first screen shows, and it tells a Unicode text.
    TCached first{0, std::vector<char>(static_cast<size_t>(std::min<TPos>(kBlockSize, size_)))};
    const size_t want = first.bytes.size();
    DWORD got = want ? ReadFileAt(0, first.bytes.data(), static_cast<DWORD>(want)) : 0;
    first.bytes.resize(got);
    if (got < want) Shrunk(got);
    size_t bom = 0;
    detected_ = DetectUnicode(std::string_view(first.bytes.data(), first.bytes.size()), got < kBlockSize, bom);
    bom_ = bom;
    cache_.push_front(std::move(first));
    SetReading(CP_ACP);
}

DWORD TTextSource::ReadFileAt(TPos pos, char *to, DWORD count) {
    if (!file_ && !Reopen()) return 0;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(pos);
    at.OffsetHigh = static_cast<DWORD>(pos >> 32);
    DWORD got = 0;
    if (!ReadFile(file_.get(), to, count, &got, &at)) return 0;
    return got;
}

void TTextSource::SetText(const std::string &utf8) {
    path_.clear();
    file_.reset();
    memory_ = utf8;
    inMemory_ = true;
    Reset(memory_.size(), CP_UTF8);
    if (const void *zero = std::memchr(memory_.data(), 0, memory_.size()))
        zeroAt_ = static_cast<TPos>(static_cast<const char *>(zero) - memory_.data());
    scanned_ = size_;
}

void TTextSource::Shrunk(TPos sizeNow) {
    // A read came back short or the size went down: blocks read before may hold bytes that are no longer
    // there. The text ends where the file does, and every block is read again.
    if (sizeNow >= size_) return;
    size_ = sizeNow;
    scanned_ = std::min(scanned_, size_);
    shrunk_ = true;
    cache_.clear();
    ++generation_;
}

const std::vector<char> &TTextSource::LoadBlock(TPos index) {
    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
        if (it->index != index) continue;
        if (it != cache_.begin()) cache_.splice(cache_.begin(), cache_, it);
        return cache_.front().bytes;
    }
    TCached block{index, {}};
    if (cache_.size() >= kCachedBlocks) {
        block.bytes.swap(cache_.back().bytes);
        cache_.pop_back();
    }
    block.bytes.resize(kBlockSize);
    TPos start = index * kBlockSize;
    DWORD got = ReadFileAt(start, block.bytes.data(), static_cast<DWORD>(kBlockSize));
    block.bytes.resize(got);
    if (got < kBlockSize && start + got < size_) Shrunk(start + got);
    cache_.push_front(std::move(block));
    return cache_.front().bytes;
}

bool TTextSource::ScanTo(TPos pos, const std::function<bool()> &interrupted) {
    if (inMemory_ || !zeroEnds_) return true;
    pos = std::min(pos, KnownEnd());
    if (scanned_ >= pos) return true;
    std::vector<char> step;
    while (scanned_ < std::min(pos, KnownEnd())) {
        TPos from = scanned_;
        // Near the front the scan goes through the cache: those blocks are about to be shown anyway.
        if (pos - from <= 2 * kBlockSize || (from % kBlockSize) != 0) {
            const std::vector<char> &bytes = LoadBlock(from / kBlockSize);
            size_t offset = static_cast<size_t>(from % kBlockSize);
            size_t length = bytes.size() > offset ? bytes.size() - offset : 0;
            if (const void *zero = std::memchr(bytes.data() + offset, 0, length))
                FoundZero(from + static_cast<TPos>(static_cast<const char *>(zero) - (bytes.data() + offset)));
            scanned_ = std::min<TPos>(from + length, size_);
            if (length == 0) break;
            continue;
        }
        size_t want = static_cast<size_t>(std::min<TPos>(kScanStep, (pos - from + kBlockSize - 1) / kBlockSize * kBlockSize));
        step.resize(want);
        DWORD got = ReadFileAt(from, step.data(), static_cast<DWORD>(want));
        if (got < want && from + got < size_) Shrunk(from + got);
        if (const void *zero = std::memchr(step.data(), 0, got))
            FoundZero(from + static_cast<TPos>(static_cast<const char *>(zero) - step.data()));
        scanned_ = std::min<TPos>(from + got, size_);
        if (got == 0) break;
        // Asked after a step, so a scan asked again and again (a dragged thumb) still gets on.
        if (scanned_ < std::min(pos, KnownEnd()) && interrupted && interrupted()) return false;
    }
    return true;
}

const char *TTextSource::Block(TPos pos, size_t &length) {
    length = 0;
    if (inMemory_) {
        if (pos >= KnownEnd()) return nullptr;
        length = static_cast<size_t>(KnownEnd() - pos);
        return memory_.data() + pos;
    }
    TPos index = pos / kBlockSize;
    ScanTo((index + 1) * kBlockSize);
    if (pos >= KnownEnd()) return nullptr;
    const std::vector<char> &bytes = LoadBlock(index);
    size_t offset = static_cast<size_t>(pos % kBlockSize);
    const TPos end = KnownEnd();
    if (pos >= end || offset >= bytes.size()) return nullptr;
    length = static_cast<size_t>(std::min<TPos>(bytes.size() - offset, end - pos));
    return bytes.data() + offset;
}

int TTextSource::At(TPos pos) {
    size_t length = 0;
    const char *bytes = Block(pos, length);
    return length ? static_cast<unsigned char>(bytes[0]) : -1;
}

size_t TTextSource::Read(TPos pos, char *to, size_t count) {
    size_t copied = 0;
    while (copied < count) {
        size_t length = 0;
        const char *bytes = Block(pos + copied, length);
        if (!length) break;
        length = std::min(length, count - copied);
        std::memcpy(to + copied, bytes, length);
        copied += length;
    }
    return copied;
}

// What the file's name stands for now: the file held open, no file, or another one.
void TTextSource::LookAtName() {
    if (!KnowIdentity()) return;
    ui::KernelHandle named(CreateFileW(path_.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!named || named.get() == INVALID_HANDLE_VALUE) {
        named.release();
        DWORD error = GetLastError();
        // A name that is gone (deleted, or moved to the Recycle Bin), or whose file waits for its last handle
        // to be deleted (the system refuses to open it), stands for no file any more.
        deleted_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_ACCESS_DENIED ||
                   error == ERROR_DELETE_PENDING;
        replaced_ = false;
        return;
    }
    BY_HANDLE_FILE_INFORMATION now{};
    if (!GetFileInformationByHandle(named.get(), &now)) return;
    deleted_ = false;
    replaced_ = !SameFile(now, identity_);
}

TFileChange TTextSource::Refresh(bool byName) {
    if (inMemory_ || (!file_ && !Reopen())) return TFileChange::fcNone;
    TFileChange change = TFileChange::fcNone;
    LARGE_INTEGER now{};
    if (GetFileSizeEx(file_.get(), &now)) {
        TPos size = static_cast<TPos>(now.QuadPart);
        if (size < size_) {
            Shrunk(size);
            change = TFileChange::fcShrunk;
        } else if (size > size_) {
            // The block that held the old end was read short: it is read again with what follows.
            cache_.remove_if([](const TCached &c) { return c.bytes.size() < kBlockSize; });
            size_ = size;
            ++generation_;
            change = TFileChange::fcGrew;
        }
    }
    if (byName) {
        const bool wasDeleted = deleted_, wasReplaced = replaced_;
        LookAtName();
        if (deleted_ && !wasDeleted) change = TFileChange::fcDeleted;
        if (replaced_ && !wasReplaced) change = TFileChange::fcReplaced;
        if (change == TFileChange::fcNone && (wasDeleted != deleted_ || wasReplaced != replaced_))
            change = TFileChange::fcShrunk; // the name came back: only the notice changes
    }
    return change;
}

std::wstring TTextSource::Notice() const {
    if (deleted_) return L"The file has been deleted.";
    if (replaced_) return L"Another file has taken this one's name; this is the file as it was opened.";
    if (shrunk_) return L"The file is shorter than when it was opened.";
    return {};
}

} // namespace viewer
