#include "fileops/TextLoader.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "ui/Handles.h"
#include "ui/Text.h"

namespace fileops {

namespace {

constexpr DWORD kReadChunk = 1 << 20;

// The number of line breaks and the length of the text once every break is CR LF.
struct BreakCount {
    size_t breaks = 0;
    size_t normalizedSize = 0;
};

BreakCount CountBreaks(std::string_view bytes) {
    BreakCount count;
    const size_t n = bytes.size();
    for (size_t i = 0; i < n; ++i) {
        char c = bytes[i];
        if (c == '\r') {
            if (i + 1 < n && bytes[i + 1] == '\n') ++i;
        } else if (c != '\n') {
            ++count.normalizedSize;
            continue;
        }
        ++count.breaks;
        count.normalizedSize += 2;
    }
    return count;
}

std::string Normalize(std::string_view bytes, size_t normalizedSize) {
    std::string out(normalizedSize, '\0');
    char *to = out.data();
    const size_t n = bytes.size();
    for (size_t i = 0; i < n; ++i) {
        char c = bytes[i];
        if (c == '\r') {
            if (i + 1 < n && bytes[i + 1] == '\n') ++i;
        } else if (c != '\n') {
            *to++ = c;
            continue;
        }
        *to++ = '\r';
        *to++ = '\n';
    }
    return out;
}

std::string ReadUpToZero(HANDLE file, size_t size, const std::wstring &path, const TViewLimits &limits) {
    // The text ends at the first zero byte: reading stops at the chunk that holds it.
    std::string raw(size, '\0');
    size_t got = 0;
    while (got < raw.size()) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(kReadChunk, raw.size() - got)), read = 0;
        if (!ReadFile(file, raw.data() + got, want, &read, nullptr)) throw CannotOpenFile(path);
        if (read == 0) break;
        const void *zero = std::memchr(raw.data() + got, 0, read);
        got += read;
        if (zero) {
            got = static_cast<size_t>(static_cast<const char *>(zero) - raw.data());
            break;
        }
    }
    raw.resize(got);

    BreakCount count = CountBreaks(raw);
    if (count.breaks + 1 > limits.maxLines) throw TextExceedsCapacity();
    if (count.normalizedSize == raw.size()) return raw;
    return Normalize(raw, count.normalizedSize);
}

} // namespace

// Measured on Wine's multi-line edit control in this 32-bit process ("bench_viewer capacity" probes it):
// ordinary text costs the control 2.7 bytes of address space per character (64 MB of it loads, in four
// minutes on Wine), each line break about 44 bytes more. 24 million empty lines took 1.2 GB; at 40 million
// the control ran out of address space and took the process down with it instead of refusing the text.
// 64 MB covers the largest ordinary text files and still leaves room for the file's bytes and the converted
// text beside the control's copy; 8 million lines keep the line table near 350 MB.
TViewLimits ViewLimits() { return {64ull << 20, 8'000'000}; }

EViewLoadError CannotOpenFile(const std::wstring &path) {
    return EViewLoadError(ui::Narrow(L"Cannot open file " + path));
}

EViewLoadError TextExceedsCapacity() { return EViewLoadError("Text exceeds memo capacity"); }

std::string NormalizeLineBreaks(std::string_view bytes) { return Normalize(bytes, CountBreaks(bytes).normalizedSize); }

std::string LoadViewBytes(const std::wstring &path, const TViewLimits &limits) {
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file || file.get() == INVALID_HANDLE_VALUE) throw CannotOpenFile(path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) throw CannotOpenFile(path);
    if (static_cast<unsigned long long>(size.QuadPart) > limits.maxFileSize) throw TextExceedsCapacity();

    try {
        return ReadUpToZero(file.get(), static_cast<size_t>(size.QuadPart), path, limits);
    } catch (const std::bad_alloc &) {
        // Memory the size check did not foresee (a crowded address space): refused whole, like a large file.
        throw TextExceedsCapacity();
    }
}

std::wstring DecodeViewBytes(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), n);
    return text;
}

} // namespace fileops
