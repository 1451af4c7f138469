#pragma once
#include <string>
#include <string_view>

namespace hlpc {

// Converts UTF-8 text to Windows code page 1252, the only text encoding of a help file.
// Throws std::runtime_error for malformed UTF-8 or a character the code page lacks.
std::string Utf8ToCp1252(std::string_view utf8);

} // namespace hlpc
