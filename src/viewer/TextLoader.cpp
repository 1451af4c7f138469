#include "viewer/TextLoader.h"

#include <algorithm>

#include "ui/Text.h"

namespace viewer {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The length of the UTF-8 sequence at p and its code point; 0 when the bytes are not a valid sequence, and
// `cut` set when they are its valid beginning cut off by the end of the bytes.
size_t Utf8At(const unsigned char *p, size_t left, char32_t &code, bool &cut) {
    cut = false;
    unsigned char b = p[0];
    if (b < 0x80) {
        code = b;
        return 1;
    }
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) n = 2, code = b & 0x1F;
    else if (b >= 0xE0 && b <= 0xEF) n = 3, code = b & 0x0F, lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
    else if (b >= 0xF0 && b <= 0xF4) n = 4, code = b & 0x07, lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
    else return 0;
    for (size_t i = 1; i < n; ++i) {
        if (i >= left) {
            cut = true;
            return 0;
        }
        unsigned char c = p[i];
        if (c < (i == 1 ? lo : 0x80) || c > (i == 1 ? hi : 0xBF)) return 0;
        code = (code << 6) | (c & 0x3F);
    }
    return n;
}

template <typename Put> void DecodeUtf8(std::string_view bytes, Put put) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        if (p[i] < 0x80) {
            put(static_cast<wchar_t>(p[i]), i);
            ++i;
            continue;
        }
        char32_t code = 0;
        bool cut = false;
        size_t length = Utf8At(p + i, n - i, code, cut);
        if (length == 0) {
            // One byte at a time, so a broken sequence costs one character and the next one is found.
            put(kReplacement, i);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            put(static_cast<wchar_t>(0xD800 + (code >> 10)), i);
            put(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)), i);
        } else {
            put(static_cast<wchar_t>(code), i);
        }
        i += length;
    }
}

} // namespace

EViewLoadError CannotOpenFile(const std::wstring &path) {
    return EViewLoadError(ui::Narrow(L"Cannot open file " + ui::ShownPath(path)));
}

template <typename Text> Text NormalizeBreaks(const Text &in) {
    using Char = typename Text::value_type;
    Text out;
    out.reserve(in.size() + in.size() / 32);
    const size_t n = in.size();
    for (size_t i = 0; i < n; ++i) {
        Char c = in[i];
        if (c == Char('\r')) {
            if (i + 1 < n && in[i + 1] == Char('\n')) ++i;
        } else if (c != Char('\n')) {
            out += c;
            continue;
        }
        out += Char('\r');
        out += Char('\n');
    }
    return out;
}

std::string NormalizeLineBreaks(std::string_view bytes) { return NormalizeBreaks(std::string(bytes)); }

std::wstring NormalizeLineBreaks(std::wstring_view text) { return NormalizeBreaks(std::wstring(text)); }

UINT DetectUnicode(std::string_view first, bool whole, size_t &bomLength) {
    bomLength = 0;
    auto starts = [&](std::string_view mark) { return first.substr(0, mark.size()) == mark; };
    if (starts("\xEF\xBB\xBF")) return bomLength = 3, CP_UTF8;
    if (starts("\xFF\xFE")) return bomLength = 2, 1200;
    if (starts("\xFE\xFF")) return bomLength = 2, 1201;
    const auto *p = reinterpret_cast<const unsigned char *>(first.data());
    size_t n = std::min(first.size(), first.find('\0'));
    if (n < first.size()) whole = true; // the text ends at the zero byte
    bool beyondAscii = false;
    for (size_t i = 0; i < n;) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t code = 0;
        bool cut = false;
        size_t length = Utf8At(p + i, n - i, code, cut);
        if (length == 0) return cut && !whole && beyondAscii ? CP_UTF8 : 0;
        beyondAscii = true;
        i += length;
    }
    return beyondAscii ? CP_UTF8 : 0;
}

std::wstring DecodeViewBytes(std::string_view bytes, UINT codePage, std::vector<std::uint32_t> *offsets) {
    std::wstring text;
    if (offsets) offsets->clear();
    if (bytes.empty()) return text;
    text.reserve(bytes.size());
    if (offsets) offsets->reserve(bytes.size());
    auto put = [&](wchar_t c, size_t at) {
        text += c;
        if (offsets) offsets->push_back(static_cast<std::uint32_t>(at));
    };
    if (codePage == CP_UTF8) {
        DecodeUtf8(bytes, put);
        return text;
    }
    if (codePage == 1200 || codePage == 1201) {
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
        const bool big = codePage == 1201;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            put(static_cast<wchar_t>(big ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8)), i);
        return text;
    }
    CPINFO info{};
    if (GetCPInfo(codePage, &info) && info.MaxCharSize == 1) {
        // One character per byte: converted in one call.
        const int size = static_cast<int>(bytes.size());
        text.resize(static_cast<size_t>(size));
        int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), size);
        text.resize(static_cast<size_t>(std::max(n, 0)), L'?');
        if (n != size) text.resize(bytes.size(), L'?');
        if (offsets)
            for (size_t i = 0; i < bytes.size(); ++i) offsets->push_back(static_cast<std::uint32_t>(i));
        return text;
    }
    // A code page of two-byte characters: one character at a time, so each keeps its offset.
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    for (size_t i = 0; i < bytes.size();) {
        size_t n = IsDBCSLeadByteEx(codePage, p[i]) && i + 1 < bytes.size() ? 2 : 1;
        wchar_t out[2] = {};
        int got = MultiByteToWideChar(codePage, 0, bytes.data() + i, static_cast<int>(n), out, 2);
        if (got <= 0) out[0] = L'?', got = 1;
        for (int k = 0; k < got; ++k) put(out[k], i);
        i += n;
    }
    return text;
}

} // namespace viewer
