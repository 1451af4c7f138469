#pragma once
#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

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

// The bytes as text through a code page: CP_ACP for the Windows set, CP_OEMCP for the DOS one. Control
// bytes stay control characters, so line breaks stay line breaks.
std::wstring DecodeViewBytes(std::string_view bytes, UINT codePage);

} // namespace viewer
