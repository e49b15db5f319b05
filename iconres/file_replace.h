// Writing a whole file so that readers see either the old file or the complete new
// one: a new file is created unshared and deleted if a write fails; an existing one is
// replaced by a temporary file in the target's folder only after every write succeeded.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace iconres {

// True when path now holds exactly bytes.  On failure no new or temporary file remains
// and an existing file at path is untouched.
bool ReplaceFileWith(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace iconres
