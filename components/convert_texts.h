// ConvertTexts (GetInterface slot 9) of the kernel component types: the texts of a
// property blob are offered to the caller's visitor, which may rewrite them, and the
// blob is written again.  The face name of a stored font goes first (flag 1), then
// the type's texts (flag 0).
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "components/component.h"
#include "runtime/program_image.h"

namespace comp {

struct VisitedText {
  std::string* text;
  int32_t flag;  // 1 for a font face name
};

// `font` holds a LOGFONTA (60 bytes) or nothing (the default font: no face name to
// offer).  A replacement face name keeps at most 31 bytes.
void VisitTexts(rt::TextVisitorFn visitor, void* userData, std::vector<uint8_t>* font,
                std::initializer_list<VisitedText> texts);

// Reads the blob into Data (null when it cannot be read), lets `visit` offer its
// texts, and returns the blob written again in a new global memory block.
template <typename Data, typename Visit>
HGLOBAL ConvertBlobTexts(const uint8_t* blob, int32_t size, Visit visit) {
  try {
    Data data;
    if (!blob || size < 0 || !data.Read(blob, static_cast<size_t>(size))) return nullptr;
    visit(data);
    std::vector<uint8_t> out = data.Write();
    return BlobToGlobal(out.data(), out.size());
  } catch (...) {  // out of memory: no blob, and nothing crosses the slot
    return nullptr;
  }
}

}  // namespace comp
