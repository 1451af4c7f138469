#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace viewer {

// Widths of characters in one font, from a table filled 256 characters at a time. Asking the system to
// measure each line costs about as much as drawing it; adding widths up from a table costs nothing. A
// character is taken from the table only when the system, measuring a string of its whole block, gave it
// the same width it gives the character alone, and only from scripts drawn one character after another
// (no joining, no marks over the letter before, no direction marks): everything else is left to the system.
class TCharWidths {
public:
    // dc: the device context the font is selected into; it must stay so while the table is used.
    explicit TCharWidths(HDC dc) : dc_(dc) {}
    TCharWidths(const TCharWidths &) = delete;
    TCharWidths &operator=(const TCharWidths &) = delete;

    // extents[i]: the width of text[0..i], as GetTextExtentExPointW gives it. False when some character
    // must be measured by the system (extents then hold nothing of use).
    bool Extents(const wchar_t *text, int count, std::vector<int> &extents);

private:
    // Widths of one block of 256 characters; -1 for a character the table cannot answer for.
    using TBlock = std::array<std::int16_t, 256>;
    const TBlock &BlockOf(wchar_t c);
    void Fill(TBlock &block, unsigned first);

    HDC dc_;
    std::array<std::unique_ptr<TBlock>, 256> blocks_{};
};

} // namespace viewer
