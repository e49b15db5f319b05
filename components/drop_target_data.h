// The DropTarget's stored data without a window: its four accept flags and their
// PropertyBlob.  Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace comp {

struct DropTargetProperties {
  bool acceptText = false;
  bool acceptHtml = false;
  bool acceptUrl = false;
  bool acceptFiles = false;
  // Version 1 (version 0 reads the same); a higher version or a short blob fails.
  bool Read(const uint8_t* blob, size_t size);
  std::vector<uint8_t> Write() const;
};

}  // namespace comp
