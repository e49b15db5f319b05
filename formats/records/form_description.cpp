#include "formats/records/form_description.h"

#include <set>

#include "formats/byte_reader.h"

namespace rt {
namespace {

// Largest element count a window may claim; far above any real form, it only keeps a
// corrupt count from driving a huge allocation.
constexpr uint32_t kMaxElements = 65536;

bool ReadWords(ByteReader& r, uint32_t count, std::vector<uint32_t>& out) {
  if (count > r.remaining() / 4) { r.fail(); return false; }
  out.resize(count);
  for (uint32_t& w : out) w = r.u32();
  return r.ok();
}

bool ReadElementBlock(const std::vector<uint8_t>& block, uint32_t count, WindowTemplate& window) {
  if (count == 0 || count > kMaxElements) return false;
  ByteReader r(block.data(), block.size());
  std::vector<uint32_t> ids, offsets;
  if (!ReadWords(r, count, ids) || !ReadWords(r, count, offsets)) return false;
  const size_t base = r.pos();
  std::set<uint32_t> seen;
  window.elements.assign(count, ElementTemplate());
  for (uint32_t i = 0; i < count; ++i) {
    if (!seen.insert(ids[i]).second) return false;  // duplicate element id
    ElementTemplate& e = window.elements[i];
    e.id = ids[i];
    if ((i == 0) != e.IsWindow()) return false;  // element 0 and only it is the window
    if (offsets[i] > block.size() - base) return false;
    if (!r.seek(base + offsets[i])) return false;
    std::vector<uint8_t> data = r.counted();
    if (!r.ok() || !ReadElementData(data.data(), data.size(), e)) return false;
  }
  return true;
}

void WriteWindowRecord(ByteAppender& out, const WindowTemplate& w) {
  out.u32(w.reserved1);
  out.u32(w.reserved2);
  out.countedText(w.reservedText1);
  out.countedText(w.reservedText2);
  out.u32(static_cast<uint32_t>(w.elements.size()));
  ByteAppender block;
  for (const ElementTemplate& e : w.elements) block.u32(e.id);
  std::vector<std::vector<uint8_t>> entries;
  uint32_t offset = 0;
  for (const ElementTemplate& e : w.elements) {
    entries.push_back(WriteElementData(e));
    block.u32(offset);
    offset += 4 + static_cast<uint32_t>(entries.back().size());
  }
  // Entries follow one another, so each element's data is followed by the next
  // element's length word (the menu builder walks menu items that way).
  for (const auto& data : entries) block.counted(data);
  out.counted(block.data());
}

}  // namespace

bool ReadElementData(const uint8_t* data, size_t length, ElementTemplate& e) {
  ByteReader r(data, length);
  e.typeId = r.u32();
  e.eventSource = r.u32();
  for (uint32_t& w : e.headReserved) w = r.u32();
  e.name = r.zeroText();
  e.comment = r.zeroText();
  if (e.IsMenuItem()) {
    e.shortcut = r.i32();
    e.level = r.i32();
    e.itemFlags = r.u32();
    e.caption = r.zeroText();
    e.routineOffset = r.i32();
    r.u32();  // popup slot: run-time only
    for (uint32_t& w : e.menuReserved) w = r.u32();
    return r.ok() && r.remaining() == 0;
  }
  r.u32();  // object slot: run-time only
  e.left = r.i32();
  e.top = r.i32();
  e.width = r.i32();
  e.height = r.i32();
  r.u32();  // cursor slot: run-time only
  e.parentId = r.u32();
  if (!ReadWords(r, r.u32(), e.children)) return false;
  e.mousePointer = r.counted();
  e.tag = r.zeroText();
  e.reservedAfterTag = r.u32();
  e.stateFlags = r.u32();
  e.tabOrder = r.i32();
  uint32_t bindings = r.u32();
  if (!r.ok() || bindings > r.remaining() / 8) return false;
  e.events.resize(bindings);
  for (EventBinding& b : e.events) {
    b.eventIndex = r.i32();
    b.routineOffset = r.i32();
    b.routine = 0;
  }
  for (uint32_t& w : e.reservedAfterEvents) w = r.u32();
  if (!r.ok()) return false;
  e.properties.assign(r.here(), r.here() + r.remaining());
  return true;
}

std::vector<uint8_t> WriteElementData(const ElementTemplate& e) {
  ByteAppender out;
  out.u32(e.typeId);
  out.u32(e.eventSource);
  for (uint32_t w : e.headReserved) out.u32(w);
  out.zeroText(e.name);
  out.zeroText(e.comment);
  if (e.IsMenuItem()) {
    out.i32(e.shortcut);
    out.i32(e.level);
    out.u32(e.itemFlags);
    out.zeroText(e.caption);
    out.i32(e.routineOffset);
    out.u32(0);
    for (uint32_t w : e.menuReserved) out.u32(w);
    return out.take();
  }
  out.u32(0);
  out.i32(e.left);
  out.i32(e.top);
  out.i32(e.width);
  out.i32(e.height);
  out.u32(0);
  out.u32(e.parentId);
  out.u32(static_cast<uint32_t>(e.children.size()));
  for (uint32_t c : e.children) out.u32(c);
  out.counted(e.mousePointer);
  out.zeroText(e.tag);
  out.u32(e.reservedAfterTag);
  out.u32(e.stateFlags);
  out.i32(e.tabOrder);
  out.u32(static_cast<uint32_t>(e.events.size()));
  for (const EventBinding& b : e.events) {
    out.i32(b.eventIndex);
    out.i32(b.routineOffset);
  }
  for (uint32_t w : e.reservedAfterEvents) out.u32(w);
  out.bytes(e.properties);
  return out.take();
}

bool ReadFormDescription(const uint8_t* data, size_t length, WindowTable& table) {
  ByteReader r(data, length);
  uint32_t keyLength = r.u32();
  if (!r.ok() || keyLength % 8 != 0 || keyLength > r.remaining()) return false;
  const uint32_t count = keyLength / 8;
  std::vector<uint32_t> ids, slots;
  if (!ReadWords(r, count, ids) || !ReadWords(r, count, slots)) return false;
  WindowTable read;
  for (uint32_t id : ids) {
    WindowTemplate w;
    w.id = id;
    w.reserved1 = r.u32();
    w.reserved2 = r.u32();
    w.reservedText1 = r.countedText();
    w.reservedText2 = r.countedText();
    uint32_t elements = r.u32();
    std::vector<uint8_t> block = r.counted();
    if (!r.ok() || !ReadElementBlock(block, elements, w)) return false;
    if (!read.emplace(id, std::move(w)).second) return false;  // duplicate window id
  }
  // Nothing is added unless the whole description was read.
  for (auto& entry : read) table[entry.first] = std::move(entry.second);
  return true;
}

std::vector<uint8_t> WriteFormDescription(const WindowTable& table) {
  ByteAppender out;
  out.u32(static_cast<uint32_t>(table.size() * 8));
  for (const auto& entry : table) out.u32(entry.first);
  for (size_t i = 0; i < table.size(); ++i) out.u32(0);
  for (const auto& entry : table) WriteWindowRecord(out, entry.second);
  return out.take();
}

void RelocateRoutines(WindowTable& table, uint32_t codeBase) {
  auto relocate = [codeBase](int32_t offset) -> RoutineAddress {
    return offset == kNoRoutineOffset ? 0 : codeBase + static_cast<uint32_t>(offset);
  };
  for (auto& entry : table) {
    for (ElementTemplate& e : entry.second.elements) {
      for (EventBinding& b : e.events) b.routine = relocate(b.routineOffset);
      if (e.IsMenuItem()) e.routine = relocate(e.routineOffset);
    }
  }
}

}  // namespace rt
