// The NE header gives the offsets, from itself, of the resource table (word at 0x24)
// and of the resident-name table that follows it (word at 0x26).  The resource table
// is an alignment shift, then type blocks until a type id of 0: type id, resource
// count, 4 reserved bytes, and per resource 12 bytes: offset and length (both in units
// of 1 << shift), flags, id, 4 reserved bytes.  An id or type id with the high bit set
// is a number; otherwise it is the offset, from the table's start, of a name of one
// length byte and that many bytes.
#include "formats/icons/ne_resources.h"

#include <algorithm>
#include <string>

#include "formats/byte_reader.h"

namespace iconres {
namespace {

constexpr uint16_t kNumbered = 0x8000;
constexpr uint16_t kTypeIcon = kNumbered | kResourceTypeIcon;
constexpr uint16_t kTypeGroupIcon = kNumbered | kResourceTypeGroupIcon;
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

using Copy = IconsBuilder::Copy;

// Copies a resource's bytes (at most `length`) into the result (IconsBuilder::CopyIn).
// A resource that starts outside the file is Outside.
Copy CopyResource(BlockReader& file, uint64_t offset, uint64_t length, IconsBuilder& out, ByteRange* range) {
  if (offset >= file.size()) return Copy::Outside;
  length = std::min(length, file.size() - offset);  // the last resource's padding may pass the end
  return out.CopyIn(offset, length, [&] { return file.Read(offset, static_cast<size_t>(length)); }, range);
}

}  // namespace

std::optional<ModuleIcons> ReadNeIcons(BlockReader& file, uint32_t header, std::string* damage, size_t groupLimit) {
  auto damaged = [damage](std::string what) {
    *damage = std::move(what);
    return std::nullopt;
  };
  std::optional<std::vector<uint8_t>> fields = file.Read(uint64_t(header) + 0x24, 4);
  if (!fields) return damaged("NE header cut short");
  rt::ByteReader f(fields->data(), fields->size());
  const uint16_t tableAt = f.u16();
  const uint16_t tableEnd = f.u16();
  IconsBuilder out(ModuleFormat::Ne, file.size());
  if (tableEnd <= tableAt) return out.Finish();  // no resource table: no icon groups
  std::optional<std::vector<uint8_t>> table = file.Read(uint64_t(header) + tableAt, tableEnd - tableAt);
  if (!table) return damaged("resource table outside the file");

  rt::ByteReader r(table->data(), table->size());
  const uint16_t shift = r.u16();
  if (!r.ok()) return damaged("resource table cut short");
  if (shift > kLargestShift) return damaged("resource alignment shift " + std::to_string(shift) + " over " +
                                            std::to_string(kLargestShift));
  std::vector<NeResource> resources;
  std::vector<std::u16string> names;  // for the groups, in table order
  for (;;) {
    const uint16_t type = r.u16();
    if (!r.ok()) return damaged("resource table cut short");
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
      if (!r.ok()) return damaged("resource table cut short");
      if (type != kTypeIcon && type != kTypeGroupIcon) continue;
      resources.push_back(res);
    }
  }

  // Groups in table order first, so that the images they name are known.  A group
  // whose name or data cannot be read keeps its number and fails alone.
  for (const NeResource& res : resources) {
    if (res.type != kTypeGroupIcon) continue;
    if (out.icons().groups.size() == groupLimit) break;
    ModuleIconGroup group;
    switch (CopyResource(file, res.offset, res.length, out, &group.directory)) {
      case Copy::Done: break;
      case Copy::Outside: group.damage = "group data outside the file"; break;
      case Copy::Full: return damaged(out.FullReason());
    }
    if (res.id & kNumbered) {
      group.name.id = static_cast<uint16_t>(res.id & ~kNumbered);
    } else {
      group.name.isId = false;
      if (std::optional<std::u16string> text = NameAt(*table, res.id))
        group.name.text = std::move(*text);
      else
        group.damage = "group name outside the resource table";
    }
    out.icons().groups.push_back(std::move(group));
  }
  const std::vector<uint16_t> wanted = NamedImageIds(out.icons());
  for (const NeResource& res : resources) {
    if (res.type != kTypeIcon || !(res.id & kNumbered)) continue;
    const uint16_t id = static_cast<uint16_t>(res.id & ~kNumbered);
    if (!std::binary_search(wanted.begin(), wanted.end(), id)) continue;
    ModuleIconImage image;
    image.id = id;
    switch (CopyResource(file, res.offset, res.length, out, &image.data)) {
      case Copy::Done: break;
      case Copy::Outside: image.damage = "lies outside the file"; break;
      case Copy::Full: return damaged(out.FullReason());
    }
    out.icons().images.push_back(image);
  }
  return out.Finish();
}

}  // namespace iconres
