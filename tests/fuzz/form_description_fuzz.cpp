// Fuzz target "form_description": the form description reader.  A description that
// reads writes back into bytes that read again and write the same bytes; one that is
// refused leaves the window table as it was.  The first input byte chooses between a
// whole description (even) and one element entry read alone (odd).
#include <string>
#include <vector>

#include "formats/records/form_description.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

using fuzz::Require;

constexpr uint32_t kSentinelWindow = 0x7FFFFFFF;

rt::WindowTable TableWithSentinel() {
  rt::WindowTable table;
  rt::WindowTemplate sentinel;
  sentinel.id = kSentinelWindow;
  sentinel.reservedText1 = "sentinel";
  table[kSentinelWindow] = sentinel;
  return table;
}

void Description(const uint8_t* data, size_t size) {
  rt::WindowTable table = TableWithSentinel();
  if (!rt::ReadFormDescription(data, size, table)) {
    Require(table.size() == 1 && table.begin()->first == kSentinelWindow &&
                table.begin()->second.reservedText1 == "sentinel" && table.begin()->second.elements.empty(),
            "a refused description adds nothing");
    return;
  }
  table.erase(kSentinelWindow);  // unless the description replaced it
  for (const auto& entry : table) {
    const rt::WindowTemplate& w = entry.second;
    Require(w.id == entry.first && !w.elements.empty() && w.elements[0].IsWindow(), "element 0 is the window");
  }
  const std::vector<uint8_t> bytes = rt::WriteFormDescription(table);
  rt::WindowTable again;
  Require(rt::ReadFormDescription(bytes.data(), bytes.size(), again), "a written description reads");
  Require(again.size() == table.size(), "same window count");
  Require(rt::WriteFormDescription(again) == bytes, "writing is stable");
  rt::RelocateRoutines(again, 0x401000);
}

// One entry alone; the second input byte picks the layout (window, component, menu item).
void Entry(const uint8_t* data, size_t size) {
  if (size == 0) return;
  static const uint32_t kIds[] = {0x06010000, 0x16010002, 0x26010003};
  rt::ElementTemplate e;
  e.id = kIds[data[0] % 3];
  if (!rt::ReadElementData(data + 1, size - 1, e)) return;
  const std::vector<uint8_t> bytes = rt::WriteElementData(e);
  rt::ElementTemplate again;
  again.id = e.id;
  Require(rt::ReadElementData(bytes.data(), bytes.size(), again), "a written entry reads");
  Require(rt::WriteElementData(again) == bytes, "writing an entry is stable");
}

rt::ElementTemplate Element(uint32_t id, uint32_t type, std::vector<uint8_t> properties) {
  rt::ElementTemplate e;
  e.id = id;
  e.typeId = type;
  e.left = 8;
  e.top = 8;
  e.width = 120;
  e.height = 24;
  e.stateFlags = rt::StateVisible | rt::StateTabStop;
  e.events = {{0, 0x40, 0}, {-7, -1, 0}};
  e.properties = std::move(properties);
  return e;
}

rt::ElementTemplate MenuItem(uint32_t id, int32_t level, const char* caption) {
  rt::ElementTemplate e;
  e.id = id;
  e.typeId = 0x10003;
  e.level = level;
  e.caption = caption;
  e.routineOffset = level == 0 ? -1 : 0x80;
  return e;
}

}  // namespace

// Seeds: a description of a window with a button, a list view with a child list, a
// mouse pointer and a tag, and a menu of three items, and of a window with its window
// element only; and four of its entries alone.
void fuzz::WriteSeeds(const std::string& folder) {
  rt::WindowTable table;
  rt::WindowTemplate main;
  main.id = 0x52010001;
  main.elements = {Element(0x06010000, 0x10001, {6, 0, 0, 0}),    Element(0x16010001, 0x1000B, {1, 0, 0, 0}),
                   MenuItem(0x26010002, 0, "文件(&F)"),            MenuItem(0x26010003, 1, "打开"),
                   MenuItem(0x26010004, 1, "-"),                    Element(0x16010005, 0x20004, {1, 0, 0, 0})};
  main.elements[1].name = "按钮1";
  main.elements[5].children = {0x16010001, 0};
  main.elements[5].mousePointer = {14, 0, 0, 0};
  main.elements[5].tag = "tag";
  table[main.id] = main;
  rt::WindowTemplate small;
  small.id = 0x52010002;
  small.elements = {Element(0x06010000, 0x10001, {})};
  table[small.id] = small;
  std::vector<uint8_t> description = rt::WriteFormDescription(table);
  description.insert(description.begin(), 0);
  WriteSeed(folder, "description", description);
  const uint8_t kinds[] = {0, 1, 1, 2};
  const char* names[] = {"window-entry", "component-entry", "list-entry", "menu-entry"};
  const size_t elements[] = {0, 1, 5, 3};
  for (size_t i = 0; i < 4; ++i) {
    std::vector<uint8_t> entry = rt::WriteElementData(main.elements[elements[i]]);
    entry.insert(entry.begin(), {1, kinds[i]});
    WriteSeed(folder, names[i], entry);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0)
    Description(data + 1, size - 1);
  else
    Entry(data + 1, size - 1);
  return 0;
}
