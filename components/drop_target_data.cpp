#include "components/drop_target_data.h"

#include "runtime/byte_reader.h"

namespace comp {
namespace {
constexpr int32_t kBlobVersion = 1;
}  // namespace

bool DropTargetProperties::Read(const uint8_t* blob, size_t size) {
  *this = DropTargetProperties();
  rt::ByteReader r(blob, size);
  const int32_t version = r.i32();
  if (!r.ok() || version > kBlobVersion) return false;
  DropTargetProperties p;
  p.acceptText = r.i32() != 0;
  p.acceptHtml = r.i32() != 0;
  p.acceptUrl = r.i32() != 0;
  p.acceptFiles = r.i32() != 0;
  if (!r.ok()) return false;
  *this = p;
  return true;
}

std::vector<uint8_t> DropTargetProperties::Write() const {
  rt::ByteAppender w;
  w.i32(kBlobVersion);
  for (bool b : {acceptText, acceptHtml, acceptUrl, acceptFiles}) w.i32(b ? 1 : 0);
  return w.take();
}

}  // namespace comp
