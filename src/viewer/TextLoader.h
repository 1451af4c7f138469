#pragma once
#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

// A file that cannot be shown or a selection that cannot be copied; the message is the one the user sees.
class EViewLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file <path>".
EViewLoadError CannotOpenFile(const std::wstring &path);

// Every line break made CR LF: a lone CR, a lone LF and the pair CR LF each become one such pair.
std::string NormalizeLineBreaks(std::string_view bytes);
std::wstring NormalizeLineBreaks(std::wstring_view text);

// The Unicode reading a file's first block asks for: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark
// (its length goes to bomLength), or, without one, bytes that are valid UTF-8 up to the first zero byte
// and hold at least one sequence beyond ASCII (a sequence cut by the block's end counts as valid unless
// the block is the whole file). CP_UTF8, 1200 (UTF-16 LE), 1201 (UTF-16 BE), or 0 for none.
UINT DetectUnicode(std::string_view first, bool whole, size_t &bomLength);

// The bytes as text through a code page: CP_ACP for the Windows set, CP_OEMCP for the DOS one, CP_UTF8, or
// 1200 and 1201 for UTF-16. Control bytes stay control characters, so line breaks stay line breaks; a byte
// that cannot start a character becomes U+FFFD. With `offsets`, each character's first byte from the start
// of `bytes` (both halves of a surrogate pair name the same byte).
std::wstring DecodeViewBytes(std::string_view bytes, UINT codePage, std::vector<std::uint32_t> *offsets = nullptr);

} // namespace viewer
