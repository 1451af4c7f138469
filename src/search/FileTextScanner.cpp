#include "search/FileTextScanner.h"

#include "search/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

TFileTextScanner::TFileTextScanner(size_t blockSize) : blockSize_(0) {
    SetBlockSize(blockSize);
}

void TFileTextScanner::SetBlockSize(size_t blockSize) {
    if (blockSize == 0 || blockSize > 0x40000000)
        throw std::invalid_argument("Block size out of range");
    blockSize_ = blockSize;
}

TFileTextScanner::TResult TFileTextScanner::Scan(const std::wstring &path, TTextSearch &search,
                                                 const std::atomic<bool> *stop) {
    UniqueFileHandle file(NullIfInvalid(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    if (!file)
        return TResult::Unreadable;
    const size_t carry = search.PatternLength() > 0 ? static_cast<size_t>(search.PatternLength()) - 1 : 0;
    if (buffer_.size() < blockSize_ + carry)
        buffer_.resize(blockSize_ + carry);

    size_t kept = 0;
    for (;;) {
        if (stop && *stop)
            return TResult::NotFound;
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer_.data() + kept, static_cast<DWORD>(blockSize_), &got, nullptr))
            return TResult::Unreadable;
        if (got == 0)
            return TResult::NotFound;
        const size_t filled = kept + got;
        if (search.Find(std::string_view(buffer_.data(), filled)) > 0)
            return TResult::Found;
        // An occurrence not yet found can begin at most pattern-length-minus-one bytes before the end.
        kept = std::min(carry, filled);
        std::memmove(buffer_.data(), buffer_.data() + filled - kept, kept);
    }
}
