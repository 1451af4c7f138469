#pragma once
#include <cstdint>
#include <string_view>

namespace hlpc {

// Context keys are restricted to letters, digits, "." and "_": viewers disagree on how other
// characters hash, so a key outside this set could not be found reliably.
bool IsValidContextKey(std::string_view key);

// The viewer's hash of a context key; letter case does not matter. The key must be valid.
uint32_t ContextHash(std::string_view key);

} // namespace hlpc
