#include "components/list_view/list_view_library.h"

#include <new>

#include "components/component_type.h"
#include "components/list_view/list_view.h"
#include "runtime/library_entry.h"

namespace comp {
namespace {

// The component named by argument 1; the runtime ends the program when it is not loaded.
ListView* ListViewOf(int32_t argc, const rt::ArgRecord* args) {
  return argc < 1 ? nullptr : CommandComponent<ListView>(ListViewLibraryLink(), args[0]);
}

bool Given(int32_t argc, const rt::ArgRecord* args, int32_t index) {
  return argc > index && !rt::IsOmitted(args[index]);
}

}  // namespace

const rt::ComponentTypeInfo kListViewType = ComponentTypeEntry<ListView>("超级列表框", "ListView", rt::TypeIsControl);

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

const rt::LibraryDescriptor kListViewLibrary = rt::WithCommands(
    rt::WithTypes(rt::ExtensionLibraryEntry("5C2E8A71D94B4F06A3E1B7C0D2F4A689", "扩展界面支持库一", {2, 0, 1},
                                            &ListViewLibraryNotify),
                  kLibraryTypes),
    kListCommands);

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
  int32_t* block =
      rt::NewIntArrayIn([](size_t size) { return ListViewLibraryLink().Alloc(size); }, selected.data(), selected.size());
  if (!block) return;
  result->value = rt::Word(block);
  result->tag = rt::TagInt | rt::ArrayFlag;
}

}  // namespace comp
