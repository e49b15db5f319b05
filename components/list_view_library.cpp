#include "components/list_view_library.h"

#include <new>

#include "components/list_view.h"

namespace comp {
namespace {

using rt::PropertyInfo;
constexpr uint16_t kCommonFlags = 0xE000;

const PropertyInfo kListViewProperties[8 + LvPropertyCount] = {
    {nullptr, nullptr, nullptr, rt::KindInteger, kCommonFlags, nullptr},   // left
    {nullptr, nullptr, nullptr, rt::KindInteger, kCommonFlags, nullptr},   // top
    {nullptr, nullptr, nullptr, rt::KindInteger, kCommonFlags, nullptr},   // width
    {nullptr, nullptr, nullptr, rt::KindInteger, kCommonFlags, nullptr},   // height
    {nullptr, nullptr, nullptr, rt::KindText, kCommonFlags, nullptr},      // tag
    {nullptr, nullptr, nullptr, rt::KindLogical, kCommonFlags, nullptr},   // visible
    {nullptr, nullptr, nullptr, rt::KindLogical, kCommonFlags, nullptr},   // disabled
    {nullptr, nullptr, nullptr, rt::KindCursor, kCommonFlags, nullptr},    // mouse pointer
    {nullptr, nullptr, nullptr, rt::KindChoice, 0, nullptr},               // Border
    {nullptr, nullptr, nullptr, rt::KindTextColor, 0, nullptr},            // TextColor
    {nullptr, nullptr, nullptr, rt::KindColor, 0, nullptr},                // TextBackColor
    {nullptr, nullptr, nullptr, rt::KindBackColor, 0, nullptr},            // BackColor
    {nullptr, nullptr, nullptr, rt::KindFont, 0, nullptr},                 // Font
    {nullptr, nullptr, nullptr, rt::KindChoice, 0, nullptr},               // ViewType
    {nullptr, nullptr, nullptr, rt::KindChoice, 0, nullptr},               // Alignment
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // AutoArrange
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // WrapLabels
    {nullptr, nullptr, nullptr, rt::KindCustomData, 1, nullptr},           // Columns
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // HideColumnHeader
    {nullptr, nullptr, nullptr, rt::KindImageList, 0, nullptr},            // HeaderImages
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // SortableHeader
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // FullRowSelect
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // GridLines
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // DragColumns
    {nullptr, nullptr, nullptr, rt::KindImageList, 0, nullptr},            // Images
    {nullptr, nullptr, nullptr, rt::KindImageList, 0, nullptr},            // StateImages
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // HotTracking
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // HandCursor
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // UnderlineHot
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // UnderlineCold
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // EditLabels
    {nullptr, nullptr, nullptr, rt::KindChoice, 0, nullptr},               // SortOrder
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // CheckBoxes
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // FlatScrollBars
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // SingleSelection
    {nullptr, nullptr, nullptr, rt::KindInteger, 0, nullptr},              // SelectedItem
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},              // AlwaysShowSelection
    {nullptr, nullptr, nullptr, rt::KindCustomData, 1, nullptr},           // Items
    {nullptr, nullptr, nullptr, rt::KindText, 4, nullptr},                 // EditedText (read only)
};
static_assert(sizeof(kListViewProperties) / sizeof(PropertyInfo) == 39, "ListView has 39 properties");

ListView* FromObject(void* object) {
  return object ? dynamic_cast<ListView*>(static_cast<rt::WindowObject*>(object)) : nullptr;
}

void* __stdcall CreateListView(const uint8_t* blob, int32_t blobSize, uint32_t style, HWND parent, int32_t controlId,
                               HMENU, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId,
                               uint32_t componentId, HWND, int32_t) {
  try {
    ListView* view = ListView::Create(blob, blobSize, style, parent, controlId, left, top, width, height, windowId,
                                      componentId);
    return view ? static_cast<rt::WindowObject*>(view) : nullptr;
  } catch (...) {
    return nullptr;
  }
}

int32_t __stdcall ListViewPropertyChanged(void* object, int32_t index, rt::PropertyData* data, const char**) {
  ListView* view = FromObject(object);
  if (!view || !data) return 0;
  try {
    return view->PropertyChanged(index, *data);
  } catch (...) {
    return 0;
  }
}

HGLOBAL __stdcall ListViewGetAllProperties(void* object) {
  ListView* view = FromObject(object);
  try {
    return view ? view->GetAllProperties() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

int32_t __stdcall ListViewGetProperty(void* object, int32_t index, rt::PropertyData* data) {
  ListView* view = FromObject(object);
  return view && data && view->GetProperty(index, data) ? 1 : 0;
}

void* __stdcall ListViewGetInterface(int32_t slot) {
  switch (slot) {
    case rt::SlotCreateComponent: return reinterpret_cast<void*>(&CreateListView);
    case rt::SlotPropertyChanged: return reinterpret_cast<void*>(&ListViewPropertyChanged);
    case rt::SlotGetAllProperties: return reinterpret_cast<void*>(&ListViewGetAllProperties);
    case rt::SlotGetProperty: return reinterpret_cast<void*>(&ListViewGetProperty);
    default: return nullptr;
  }
}

// The component named by argument 1; the runtime ends the program when it is not loaded.
ListView* ListViewOf(int32_t argc, const rt::ArgRecord* args) {
  if (argc < 1) return nullptr;
  void* object = ListViewLibraryLink().Pointer(ListViewLibraryLink().Call(
      rt::SvcComponentObjectOrFail, static_cast<int32_t>(args[0].value), static_cast<int32_t>(args[0].high)));
  return FromObject(object);
}

bool Given(int32_t argc, const rt::ArgRecord* args, int32_t index) {
  return argc > index && !rt::IsOmitted(args[index]);
}

}  // namespace

const rt::ComponentTypeInfo kListViewType = {
    "超级列表框", "ListView", nullptr, 0, nullptr, rt::TypeIsControl, 0, 0, nullptr,
    39, kListViewProperties, &ListViewGetInterface, 0, nullptr,
};

namespace {
// Types 1 to 5 of the library; only ListView (4) is used by the program.
const rt::ComponentTypeInfo kLibraryTypes[5] = {{}, {}, {}, kListViewType, {}};
const void* const kListCommands[] = {
    reinterpret_cast<const void*>(&GetItemCountCommand),
    reinterpret_cast<const void*>(&DeleteAllItemsCommand),
    reinterpret_cast<const void*>(&InsertItemCommand),
    reinterpret_cast<const void*>(&GetSelectedItemsCommand),
};
}  // namespace

const rt::LibraryDescriptor kListViewLibrary = {
    rt::kLibraryFormatMark,
    "5C2E8A71D94B4F06A3E1B7C0D2F4A689",
    2, 0, 1,
    3, 0, 3, 0,
    "扩展界面支持库一",
    1,
    nullptr,
    0,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    5, kLibraryTypes,
    0, nullptr,
    4, nullptr, kListCommands,
    nullptr, nullptr,
    &ListViewLibraryNotify,
    nullptr, nullptr,
    0, nullptr,
    nullptr,
};

rt::LibraryLink& ListViewLibraryLink() {
  static rt::LibraryLink link;
  return link;
}

int32_t __stdcall ListViewLibraryNotify(int32_t code, int32_t arg1, int32_t arg2) {
  return ListViewLibraryLink().Notify(code, arg1, arg2);
}

void __cdecl GetItemCountCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  rt::SetIntResult(result, 0);
  if (ListView* view = ListViewOf(argc, args)) rt::SetIntResult(result, view->ItemCount());
}

void __cdecl DeleteAllItemsCommand(rt::ResultRecord*, int32_t argc, rt::ArgRecord* args) {
  if (ListView* view = ListViewOf(argc, args)) view->DeleteAllItems();
}

void __cdecl InsertItemCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  rt::SetIntResult(result, -1);
  ListView* view = ListViewOf(argc, args);
  if (!view) return;
  auto intArg = [&](int32_t i, int32_t absent) {
    return Given(argc, args, i) ? static_cast<int32_t>(args[i].value) : absent;
  };
  const char* text = Given(argc, args, 2) ? rt::TextOf(args[2]) : "";
  try {
    rt::SetIntResult(result, view->InsertItem(intArg(1, -1), text, intArg(3, -1), Given(argc, args, 4), intArg(4, -1),
                                    intArg(5, 0), intArg(6, 0)));
  } catch (...) {
  }
}

void __cdecl GetSelectedItemsCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  std::vector<int32_t> selected;
  ListView* view = ListViewOf(argc, args);
  try {
    if (view) selected = view->SelectedItems();
  } catch (...) {
    selected.clear();
  }
  // {1, n, elements}: the caller owns the block.
  auto* block = static_cast<int32_t*>(ListViewLibraryLink().Alloc((2 + selected.size()) * sizeof(int32_t)));
  if (!block) return;
  block[0] = 1;
  block[1] = static_cast<int32_t>(selected.size());
  for (size_t i = 0; i < selected.size(); ++i) block[2 + i] = selected[i];
  result->value = static_cast<uint32_t>(rt::LibraryLink::Word(block));
  result->tag = rt::TagInt | rt::ArrayFlag;
}

}  // namespace comp
