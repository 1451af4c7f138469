#pragma once

#include "search/TextSrch.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

// Tells whether a file contains the pattern of a TTextSearch. The file is read block by block with the last
// pattern-length-minus-one bytes of each block carried into the next, so an occurrence that spans two blocks
// is still found, and memory stays bounded by the block size however large the file is.
class TFileTextScanner {
public:
    enum class TResult { Found, NotFound, Unreadable };

    static constexpr size_t DefaultBlockSize = 1 << 20;

    explicit TFileTextScanner(size_t blockSize = DefaultBlockSize);

    // Opens the file for reading only and lets others read and write it meanwhile; nothing is written,
    // so the file's times and attributes stay as they were.
    // A set `stop` ends the reading between two blocks (the file then counts as not containing the text).
    TResult Scan(const std::wstring &path, TTextSearch &search, const std::atomic<bool> *stop = nullptr);

    size_t BlockSize() const { return blockSize_; }
    void SetBlockSize(size_t blockSize);

private:
    size_t blockSize_;
    std::vector<char> buffer_; // reused from file to file
};
