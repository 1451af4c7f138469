#include "viewer/TextSource.h"

#include <algorithm>
#include <cstring>

#include "viewer/TextLoader.h"

namespace viewer {

namespace {
// Bytes read per step of a scan for the end; the interruption is asked between steps.
constexpr size_t kScanStep = 4 << 20;
} // namespace

void TTextSource::Reset(TPos size, UINT fixedCodePage) {
    cache_.clear();
    end_ = size;
    scanned_ = 0;
    fixedCodePage_ = fixedCodePage;
}

void TTextSource::OpenFile(const std::wstring &path) {
    // Opened once without sharing: a file another program holds open cannot be viewed.
    ui::KernelHandle probe(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
    if (!probe || probe.get() == INVALID_HANDLE_VALUE) throw CannotOpenFile(path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(probe.get(), &size)) throw CannotOpenFile(path);
    path_ = path;
    memory_.clear();
    inMemory_ = false;
    Reset(static_cast<TPos>(size.QuadPart), 0);
    // The first block is what the first screen shows: read through the handle at hand.
    TCached first{0, std::vector<char>(static_cast<size_t>(std::min<TPos>(kBlockSize, end_)))};
    DWORD got = 0;
    if (!first.bytes.empty() &&
        !ReadFile(probe.get(), first.bytes.data(), static_cast<DWORD>(first.bytes.size()), &got, nullptr))
        got = 0;
    first.bytes.resize(got);
    if (got < kBlockSize) CutAt(got);
    cache_.push_front(std::move(first));
}

// The file is opened for each read and closed again, sharing everything: while it is shown others may write,
// rename or delete it, and nothing of it stays open once the view shows something else.
DWORD TTextSource::ReadFileAt(TPos pos, char *to, DWORD count, TPos &sizeNow) {
    sizeNow = ~TPos(0);
    ui::KernelHandle file(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || file.get() == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER at{}, size{};
    at.QuadPart = static_cast<LONGLONG>(pos);
    if (GetFileSizeEx(file.get(), &size)) sizeNow = static_cast<TPos>(size.QuadPart);
    DWORD got = 0;
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !ReadFile(file.get(), to, count, &got, nullptr))
        return 0;
    return got;
}

void TTextSource::SetText(const std::string &utf8) {
    path_.clear();
    memory_ = utf8;
    inMemory_ = true;
    Reset(memory_.size(), CP_UTF8);
    if (const void *zero = std::memchr(memory_.data(), 0, memory_.size()))
        end_ = static_cast<TPos>(static_cast<const char *>(zero) - memory_.data());
    scanned_ = end_;
}

void TTextSource::CutAt(TPos pos) {
    if (pos < end_) end_ = pos;
}

void TTextSource::Shrunk(TPos readEnd, TPos sizeNow) {
    // A read came back short: the file shrank, maybe below blocks read before, which now hold bytes that are
    // no longer there. The text ends where the file does, and every block is read again.
    CutAt(std::min(readEnd, sizeNow));
    cache_.clear();
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
    TPos start = index * kBlockSize, sizeNow = 0;
    DWORD got = ReadFileAt(start, block.bytes.data(), static_cast<DWORD>(kBlockSize), sizeNow);
    block.bytes.resize(got);
    if (got < kBlockSize && start + got < end_) Shrunk(start + got, sizeNow);
    cache_.push_front(std::move(block));
    return cache_.front().bytes;
}

bool TTextSource::ScanTo(TPos pos, const std::function<bool()> &interrupted) {
    pos = std::min(pos, end_);
    if (inMemory_ || scanned_ >= pos) return true;
    std::vector<char> step;
    while (scanned_ < std::min(pos, end_)) {
        TPos from = scanned_;
        // Near the front the scan goes through the cache: those blocks are about to be shown anyway.
        if (pos - from <= 2 * kBlockSize || (from % kBlockSize) != 0) {
            const std::vector<char> &bytes = LoadBlock(from / kBlockSize);
            size_t offset = static_cast<size_t>(from % kBlockSize);
            size_t length = bytes.size() > offset ? bytes.size() - offset : 0;
            TPos blockEnd = from + length;
            length = static_cast<size_t>(std::min<TPos>(length, end_ - from));
            if (const void *zero = std::memchr(bytes.data() + offset, 0, length))
                CutAt(from + static_cast<TPos>(static_cast<const char *>(zero) - (bytes.data() + offset)));
            scanned_ = std::min(blockEnd, end_);
            if (length == 0) break;
            continue;
        }
        size_t want = static_cast<size_t>(std::min<TPos>(kScanStep, (pos - from + kBlockSize - 1) / kBlockSize * kBlockSize));
        step.resize(want);
        TPos sizeNow = 0;
        DWORD got = ReadFileAt(from, step.data(), static_cast<DWORD>(want), sizeNow);
        if (got < want && from + got < end_) Shrunk(from + got, sizeNow);
        size_t length = static_cast<size_t>(std::min<TPos>(got, end_ - from));
        if (const void *zero = std::memchr(step.data(), 0, length))
            CutAt(from + static_cast<TPos>(static_cast<const char *>(zero) - step.data()));
        scanned_ = std::min(from + got, end_);
        if (got == 0) break;
        // Asked after a step, so a scan asked again and again (a dragged thumb) still gets on.
        if (scanned_ < std::min(pos, end_) && interrupted && interrupted()) return false;
    }
    return true;
}

const char *TTextSource::Block(TPos pos, size_t &length) {
    length = 0;
    if (inMemory_) {
        if (pos >= end_) return nullptr;
        length = static_cast<size_t>(end_ - pos);
        return memory_.data() + pos;
    }
    TPos index = pos / kBlockSize;
    ScanTo((index + 1) * kBlockSize);
    if (pos >= end_) return nullptr;
    const std::vector<char> &bytes = LoadBlock(index);
    size_t offset = static_cast<size_t>(pos % kBlockSize);
    if (pos >= end_ || offset >= bytes.size()) return nullptr;
    length = static_cast<size_t>(std::min<TPos>(bytes.size() - offset, end_ - pos));
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

} // namespace viewer
