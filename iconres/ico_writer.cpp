#include "iconres/ico_writer.h"

#include "iconres/file_replace.h"

namespace iconres {

bool WriteIconFile(const IconImageSet& set, const std::string& path) {
  const std::vector<uint8_t> file = BuildIconFile(set);
  return !file.empty() && ReplaceFileWith(path, file);
}

}  // namespace iconres
