#pragma once
#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace fileops {

// How much text the viewer and the quick-view panes take. Both are decided before a file is read, so a
// file too large is refused at once and whole, never shown in part; the figures were measured on the
// multi-line edit control of a 32-bit process (see ViewLimits in TextLoader.cpp).
struct TViewLimits {
    unsigned long long maxFileSize;
    // Lines cost the control memory of their own; a file of nothing but line breaks would exhaust it
    // long before its size limit.
    size_t maxLines;
};
TViewLimits ViewLimits();

// A file that cannot be loaded for viewing; the message is the one the user sees.
class EViewLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file <path>" and "Text exceeds memo capacity".
EViewLoadError CannotOpenFile(const std::wstring &path);
EViewLoadError TextExceedsCapacity();

// Every line break made CR LF: a lone CR, a lone LF and the pair CR LF each become one such pair.
std::string NormalizeLineBreaks(std::string_view bytes);

// The file's bytes as the viewer shows them: the file opened without sharing (so a file another program
// holds open fails), read up to its first zero byte, line breaks made CR LF. Raises EViewLoadError.
std::string LoadViewBytes(const std::wstring &path, const TViewLimits &limits = ViewLimits());

// The bytes as text through a code page: CP_ACP for the Windows set, CP_OEMCP for the DOS one. Control
// bytes stay control characters, so line breaks stay line breaks.
std::wstring DecodeViewBytes(std::string_view bytes, UINT codePage);

} // namespace fileops
