#pragma once
#include <string>

namespace fileops {

// Creates every missing level of a directory path, outermost first. A path shorter than three characters,
// an existing directory and a drive root end the climb. True when the directory exists afterwards.
bool MakeDirectories(std::wstring path);

} // namespace fileops
