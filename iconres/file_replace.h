// Writing a whole file so that readers see either the old file or the complete new
// one, and so that an interrupted write (a crash, a kill, a failed write) leaves
// nothing behind: the file is marked for deletion as soon as it is created, and the
// mark is cleared only once every byte is written and flushed.  A new file is written
// under its own name; an existing one is replaced by a temporary file in its folder,
// renamed over it when complete.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "formats/byte_sink.h"

namespace iconres {

// True when path now holds what write produced.  On failure no new or temporary file
// remains, an existing file at path is untouched, and *error (when given) holds the
// platform's error code of the first step that failed, read before anything is
// cleaned up.
bool ReplaceFileWith(const std::string& path, const ContentWriter& write, uint32_t* error = nullptr);
bool ReplaceFileWith(const std::string& path, const std::vector<uint8_t>& bytes, uint32_t* error = nullptr);

}  // namespace iconres
