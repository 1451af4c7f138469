#pragma once
#include <exception>
#include <string>

namespace ui {

// The words the user is shown for an error. The program's own errors carry their message; an error the
// standard library raised carries the library's internal text ("basic_string::_M_create", "vector::reserve"),
// which is never shown: it is said in the program's words instead (out of memory, too long, not found).
std::wstring ErrorText(const std::exception &error);

} // namespace ui
