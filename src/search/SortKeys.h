#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace search {

// The user's locale's sort keys (LCMapStringW with LCMAP_SORTKEY): comparing two keys byte by byte orders
// their texts as the locale does. Asking the system costs about a microsecond a text under Wine, the most
// of a search's own work over 100,000 names; so once many keys have been asked for, the weights of each
// plain ASCII character are read from the system's own keys, and a text made only of such characters is
// keyed from them. That is done only when the keys so made are, byte for byte, the system's own for every
// such character, every pair of them and a set of longer texts: a locale that joins letters (as "ch" in
// Czech), and any system whose keys are laid out otherwise, keep asking the system for every text.
class TSortKeys {
public:
    // Appends the key of the text to `keys`, its final zero byte included; returns its length (0 when the
    // system has none).
    size_t Append(const std::wstring &text, std::vector<char> &keys);
    std::string Key(const std::wstring &text);

    // Asked for by the tests: whether texts of plain characters are keyed here, deciding it now.
    bool KeysPlainTextsItself();

private:
    struct TWeights {
        uint8_t primary[4];
        uint8_t primaryLength = 0;
        uint8_t diacritic = 2, caseWeight = 2;
    };
    static size_t SystemKey(const wchar_t *text, int length, std::vector<char> &keys);
    bool Prepare();
    bool Made(const wchar_t *text, size_t length, std::vector<char> &keys) const;

    enum class TState { Unknown, Own, System } state_ = TState::Unknown;
    LCID locale_ = 0;
    size_t asked_ = 0; // keys asked of the system since the last decision
    int sections_ = 0; // the 0x01-separated sections after the primary weights
    std::array<TWeights, 128> weights_{};
    std::array<bool, 128> plain_{};
};

} // namespace search
