#include "iconres/ico_writer.h"

#include "iconres/file_replace.h"

namespace iconres {

bool WriteIconFile(const IconImageSet& set, const std::string& path) {
  if (IconFileSize(set) > kMaxIconFileSize) return false;
  return ReplaceFileWith(path, [&set](ByteSink& out) { return StreamIconFile(set, out); });
}

}  // namespace iconres
