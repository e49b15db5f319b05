#include "components/convert_texts.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace comp {
namespace {

constexpr size_t kFaceOffset = offsetof(LOGFONTA, lfFaceName);
static_assert(sizeof(LOGFONTA) == 60 && kFaceOffset == 28, "stored fonts are 60-byte LOGFONTA records");

}  // namespace

void VisitTexts(rt::TextVisitorFn visitor, void* userData, std::vector<uint8_t>* font,
                std::initializer_list<VisitedText> texts) {
  if (!visitor) return;
  if (font && font->size() == sizeof(LOGFONTA)) {
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, font->data() + kFaceOffset, LF_FACESIZE);
    if (const char* replaced = visitor(face, 1, userData)) {
      const size_t n = std::min<size_t>(std::strlen(replaced), LF_FACESIZE - 1);
      std::memset(font->data() + kFaceOffset, 0, LF_FACESIZE);
      std::memcpy(font->data() + kFaceOffset, replaced, n);
    }
  }
  for (const VisitedText& t : texts) {
    if (const char* replaced = visitor(t.text->c_str(), t.flag, userData)) *t.text = replaced;
  }
}

}  // namespace comp
