// Mixed text for the search benchmarks: words of mixed case, digits, punctuation and line breaks, and never the
// word "zelvor", so a pattern holding it is absent unless planted.
#include <windows.h>

#include <cstdint>
#include <random>
#include <string>

std::string MixedText(size_t bytes, unsigned seed) {
    static const char *const words[] = {
        "the",     "File",  "manager", "shows",   "two",      "panels", "and",  "a",      "command", "line",
        "Copy",    "move",  "RENAME",  "delete",  "of",       "files",  "in",   "folder", "Windows", "size",
        "date",    "12345", "attr",    "needles", "haystack", "search", "TEXT", "with",   "über",    "Zelle",
        "2024-01", "x",     "quick",   "brown",   "fox",      "jumps",  "over", "lazy",   "dog",     "end"};
    const char *const separators[] = {" ", " ", " ", " ", ", ", ". ", "\r\n", "; ", " - ", "\t"};
    std::mt19937 rng(seed);
    std::string text;
    text.reserve(bytes + 32);
    while (text.size() < bytes) {
        const uint32_t r = rng();
        std::string word = words[r % std::size(words)];
        if ((r >> 8) % 7 == 0)
            word[0] = static_cast<char>(word[0] >= 'a' && word[0] <= 'z' ? word[0] - 32 : word[0]);
        text += word;
        text += separators[(r >> 12) % std::size(separators)];
    }
    text.resize(bytes);
    return text;
}

// The ANSI code page's lower-case form of every byte, for the baseline's case-folding comparison.
void AnsiLowerBytes(unsigned char table[256]) {
    for (int b = 0; b < 256; ++b) {
        char c = static_cast<char>(b);
        if (b != 0)
            CharLowerBuffA(&c, 1);
        table[b] = static_cast<unsigned char>(c);
    }
}

