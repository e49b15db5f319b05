// The NE header gives the offsets, from itself, of the resource table (word at 0x24)
// and of the resident-name table that follows it (word at 0x26).  The resource table
// is an alignment shift, then type blocks until a type id of 0: type id, resource
// count, 4 reserved bytes, and per resource 12 bytes: offset and length (both in units
// of 1 << shift), flags, id, 4 reserved bytes.  An id or type id with the high bit set
// is a number; otherwise it is the offset, from the table's start, of a name of one
// length byte and that many bytes.
#include "formats/icons/ne_resources.h"

#include <algorithm>

#include "formats/byte_reader.h"

namespace iconres {
namespace {

constexpr uint16_t kNumbered = 0x8000;
constexpr uint16_t kTypeIcon = 0x8003;
constexpr uint16_t kTypeGroupIcon = 0x800E;
constexpr uint16_t kLargestShift = 24;

struct NeResource {
  uint16_t type = 0;
  uint16_t id = 0;
  uint64_t offset = 0;
  uint64_t length = 0;  // padded to the alignment
};

// The name of a resource whose id is not a number, from the table's bytes.
std::optional<std::u16string> NameAt(const std::vector<uint8_t>& table, uint16_t at) {
  rt::ByteReader r(table.data(), table.size());
  r.seek(at);
  const uint8_t length = r.u8();
  std::vector<uint8_t> bytes = r.bytes(length);
  if (!r.ok()) return std::nullopt;
  return std::u16string(bytes.begin(), bytes.end());
}

// Copies a resource's bytes (at most `length`) into the result, once per place.
bool CopyResource(BlockReader& file, uint64_t offset, uint64_t length, IconsBuilder& out, ByteRange* range,
                  bool* full) {
  if (offset >= file.size()) return false;
  length = std::min(length, file.size() - offset);  // the last resource's padding may pass the end
  if (length > kMaxModuleIconBytes) {
    *full = true;
    return false;
  }
  if (std::optional<ByteRange> stored = out.Stored(offset, static_cast<uint32_t>(length))) {
    *range = *stored;
    return true;
  }
  std::optional<std::vector<uint8_t>> data = file.Read(offset, static_cast<size_t>(length));
  if (!data) return false;
  if (!out.Store(offset, *data, range)) {
    *full = true;
    return false;
  }
  return true;
}

}  // namespace

std::optional<ModuleIcons> ReadNeIcons(BlockReader& file, uint32_t header, size_t groupLimit) {
  std::optional<std::vector<uint8_t>> fields = file.Read(uint64_t(header) + 0x24, 4);
  if (!fields) return std::nullopt;
  rt::ByteReader f(fields->data(), fields->size());
  const uint16_t tableAt = f.u16();
  const uint16_t tableEnd = f.u16();
  IconsBuilder out(ModuleFormat::Ne, file.size());
  if (tableEnd <= tableAt) return out.Finish();  // no resource table: no icon groups
  std::optional<std::vector<uint8_t>> table = file.Read(uint64_t(header) + tableAt, tableEnd - tableAt);
  if (!table) return std::nullopt;

  rt::ByteReader r(table->data(), table->size());
  const uint16_t shift = r.u16();
  if (!r.ok() || shift > kLargestShift) return std::nullopt;
  std::vector<NeResource> resources;
  std::vector<std::u16string> names;  // for the groups, in table order
  for (;;) {
    const uint16_t type = r.u16();
    if (!r.ok()) return std::nullopt;
    if (type == 0) break;
    const uint16_t count = r.u16();
    r.skip(4);
    for (uint16_t i = 0; i < count && r.ok(); ++i) {
      NeResource res;
      res.type = type;
      res.offset = uint64_t(r.u16()) << shift;
      res.length = uint64_t(r.u16()) << shift;
      r.skip(2);  // flags
      res.id = r.u16();
      r.skip(4);
      if (!r.ok()) return std::nullopt;
      if (type != kTypeIcon && type != kTypeGroupIcon) continue;
      resources.push_back(res);
    }
  }

  // Groups in table order first, so that the images they name are known.
  bool full = false;
  for (const NeResource& res : resources) {
    if (res.type != kTypeGroupIcon) continue;
    if (out.icons().groups.size() == groupLimit) break;
    ModuleIconGroup group;
    if (res.id & kNumbered) {
      group.name.id = static_cast<uint16_t>(res.id & ~kNumbered);
    } else {
      std::optional<std::u16string> text = NameAt(*table, res.id);
      if (!text) return std::nullopt;
      group.name.isId = false;
      group.name.text = std::move(*text);
    }
    // A group whose data lies outside the file keeps its number and loads as nothing.
    if (!CopyResource(file, res.offset, res.length, out, &group.directory, &full) && full) return std::nullopt;
    out.icons().groups.push_back(std::move(group));
  }
  const std::vector<uint16_t> wanted = NamedImageIds(out.icons());
  for (const NeResource& res : resources) {
    if (res.type != kTypeIcon || !(res.id & kNumbered)) continue;
    const uint16_t id = static_cast<uint16_t>(res.id & ~kNumbered);
    if (!std::binary_search(wanted.begin(), wanted.end(), id)) continue;
    ModuleIconImage image;
    image.id = id;
    if (CopyResource(file, res.offset, res.length, out, &image.data, &full))
      out.icons().images.push_back(image);
    else if (full)
      return std::nullopt;
  }
  return out.Finish();
}

}  // namespace iconres
