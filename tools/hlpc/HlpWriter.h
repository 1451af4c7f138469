#pragma once
#include <cstdint>
#include <vector>

#include "HelpSource.h"

namespace hlpc {

// Builds the whole .hlp image of a project. Throws std::runtime_error when the project is not
// sound: an invalid context key, two keys with one hash, two topics with one id, or a link to
// a key that no topic defines.
std::vector<uint8_t> CompileHelp(const HelpProject &project);

} // namespace hlpc
