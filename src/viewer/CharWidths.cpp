#include "viewer/CharWidths.h"

namespace viewer {

namespace {

// Characters drawn one after another at their own widths: Latin, Greek, Cyrillic and Armenian letters,
// punctuation, symbols and box drawing, and the CJK and Hangul ideographs. Control characters, combining
// marks, the joining and Indic scripts, direction and width controls and surrogate halves are not.
bool PlainCharacter(unsigned c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return false;
    if (c >= 0x0300 && c < 0x0370) return false;
    if (c < 0x0590) return true;
    if (c >= 0x1E00 && c < 0x2000) return true;
    if (c >= 0x2000 && c < 0x2C00)
        return !(c < 0x2010 || (c >= 0x2028 && c < 0x2030) || (c >= 0x205F && c < 0x2070) ||
                 (c >= 0x20D0 && c < 0x2100));
    if (c >= 0x3000 && c < 0xA000) return true;
    if (c >= 0xAC00 && c < 0xD7A4) return true;
    if (c >= 0xF900 && c < 0xFB00) return true;
    if (c >= 0xFF00 && c < 0xFFF0) return true;
    return false;
}

} // namespace

void TCharWidths::Fill(TBlock &block, unsigned first) {
    block.fill(-1);
    wchar_t chars[256];
    int count = 0;
    for (unsigned i = 0; i < 256; ++i)
        if (PlainCharacter(first + i)) chars[count++] = static_cast<wchar_t>(first + i);
    if (count == 0) return;
    // Each alone, then all in one string: a character whose width differs between the two (a substituted
    // font, a pair drawn closer) is measured with its line.
    int extents[256];
    INT alone[256];
    SIZE size{};
    if (!GetTextExtentExPointW(dc_, chars, count, 0, nullptr, extents, &size) ||
        !GetCharWidth32W(dc_, first, first + 255, alone))
        return;
    for (int i = 0; i < count; ++i) {
        int width = alone[chars[i] - first];
        int inString = extents[i] - (i > 0 ? extents[i - 1] : 0);
        if (width == inString && width >= 0 && width < 0x7FFF)
            block[chars[i] - first] = static_cast<std::int16_t>(width);
    }
}

const TCharWidths::TBlock &TCharWidths::BlockOf(wchar_t c) {
    std::unique_ptr<TBlock> &block = blocks_[static_cast<unsigned>(c) >> 8];
    if (!block) {
        block = std::make_unique<TBlock>();
        Fill(*block, static_cast<unsigned>(c) & ~0xFFu);
    }
    return *block;
}

bool TCharWidths::Extents(const wchar_t *text, int count, std::vector<int> &extents) {
    extents.resize(static_cast<size_t>(count));
    int x = 0;
    for (int i = 0; i < count; ++i) {
        int width = BlockOf(text[i])[static_cast<unsigned>(text[i]) & 0xFF];
        if (width < 0) return false;
        x += width;
        extents[static_cast<size_t>(i)] = x;
    }
    return true;
}

} // namespace viewer
