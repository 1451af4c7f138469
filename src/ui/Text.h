#pragma once
#include <string>
#include <stdexcept>
#include <string_view>

namespace ui {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view text);
// The error type of handlers: the message is shown by the application's error handler.
std::runtime_error Error(std::wstring_view message);
// The system's own words for an error code, without the closing line break; "Error <code>." when the
// system has none.
std::wstring SystemErrorText(unsigned long code);
// A path as a person reads it: without the "\\?\" that makes the system take it exactly ("\\?\UNC\"
// becomes "\\"). Captions and messages show this form; calls keep the exact one.
std::wstring ShownPath(const std::wstring &path);

} // namespace ui
