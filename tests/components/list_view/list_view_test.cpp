// ListView tests need a display: the fixture's parent window reflects WM_NOTIFY to
// the list as the runtime's window does.
#include "components/list_view/list_view.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/list_view/empty_image_list.h"
#include "components/fake_runtime.h"
#include "components/list_view/image_list_commands.h"
#include "components/list_view/list_view_library.h"
#include "global_bytes.h"
#include "runtime/heap.h"
#include "test_window.h"
#include "tests/suite_labels.h"

namespace {

constexpr uint32_t kWindowId = 0x52010001;
constexpr uint32_t kComponentId = 0x160A0001;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY) {
    LRESULT result = 0;
    if (rt::WindowObject::ReflectToChild(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, msg, wParam, lParam, &result))
      return result;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Pump() {
  MSG msg;
  const DWORD until = GetTickCount() + 200;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(5);
  }
}

class ListViewTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    comp::ListViewLibraryNotify(1, fake::ServiceWord(), 0);
    comp::ImageListLibraryNotify(1, fake::ServiceWord(), 0);
    parent_ =
        testing_support::CreateTestWindow("ListViewTestParent", ParentProc, WS_OVERLAPPEDWINDOW, 400, 300, "list");
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent_);  // destroys the list with it
    fake::Runtime().componentObject = nullptr;
  }

  comp::ListView* Create(const comp::ListViewData& props) {
    std::vector<uint8_t> blob = props.Write();
    auto create = reinterpret_cast<rt::CreateComponentFn>(comp::kListViewType.getInterface(rt::SlotCreateComponent));
    void* object = create(blob.data(), static_cast<int32_t>(blob.size()), WS_VISIBLE, parent_, 100, nullptr, 0, 0,
                          380, 260, kWindowId, kComponentId, nullptr, 0);
    auto* view = object ? dynamic_cast<comp::ListView*>(static_cast<rt::WindowObject*>(object)) : nullptr;
    fake::Runtime().componentObject = object;
    return view;
  }

  rt::ArgRecord Ref() const { return rt::ArgRecord{kWindowId, kComponentId, rt::TypeListView}; }

  int32_t InsertItem(rt::ArgRecord position, const char* text) {
    rt::ArgRecord args[7] = {Ref(), position, rt::TextArg(text), rt::OmittedArg(), rt::OmittedArg(),
                             rt::OmittedArg(), rt::OmittedArg()};
    rt::ResultRecord result = {};
    comp::InsertItemCommand(&result, 7, args);
    EXPECT_EQ(result.tag, rt::TagInt);
    return static_cast<int32_t>(result.value);
  }
  int32_t ItemCount() {
    rt::ArgRecord ref = Ref();
    rt::ResultRecord result = {};
    comp::GetItemCountCommand(&result, 1, &ref);
    return static_cast<int32_t>(result.value);
  }
  std::vector<int32_t> SelectedItems() {
    rt::ArgRecord ref = Ref();
    rt::ResultRecord result = {};
    comp::GetSelectedItemsCommand(&result, 1, &ref);
    EXPECT_EQ(result.tag, rt::TagInt | rt::ArrayFlag);
    auto* block = static_cast<int32_t*>(rt::LibraryLink::Pointer(static_cast<int32_t>(result.value)));
    if (!block) return {};
    EXPECT_EQ(block[0], 1);
    std::vector<int32_t> items(block + 2, block + 2 + block[1]);
    rt::FreeMemory(block);
    return items;
  }
  static int32_t Change(comp::ListView* view, int32_t index, uint32_t value, uint32_t high = 0) {
    rt::PropertyData data = {value, high};
    auto changed = reinterpret_cast<rt::PropertyChangedFn>(comp::kListViewType.getInterface(rt::SlotPropertyChanged));
    return changed(static_cast<rt::WindowObject*>(view), index, &data, nullptr);
  }
  static rt::PropertyData Read(comp::ListView* view, int32_t index) {
    rt::PropertyData data = {0xdeadbeef, 0xdeadbeef};
    auto get = reinterpret_cast<rt::GetPropertyFn>(comp::kListViewType.getInterface(rt::SlotGetProperty));
    EXPECT_NE(get(static_cast<rt::WindowObject*>(view), index, &data), 0);
    return data;
  }
  // Image-list data with n icons of shell32.dll.
  static std::vector<uint8_t> IconListData(int n) {
    char dir[MAX_PATH];
    GetSystemDirectoryA(dir, MAX_PATH);
    const std::string path = std::string(dir) + "\\shell32.dll";
    void* variable = rt::NewByteSet(comp::kEmptyImageList, comp::kEmptyImageListSize);
    for (int i = 0; i < n; ++i) {
      rt::ArgRecord args[3] = {rt::RefArg(&variable, rt::TagBytes), rt::TextArg(path.c_str()), rt::IntArg(i)};
      rt::ResultRecord result = {};
      comp::AddFileIconCommand(&result, 3, args);
      EXPECT_EQ(static_cast<int32_t>(result.value), i);
    }
    std::vector<uint8_t> data(rt::ByteSetBytes(variable), rt::ByteSetBytes(variable) + rt::ByteSetLength(variable));
    rt::FreeMemory(variable);
    return data;
  }

  HWND parent_ = nullptr;
};

TEST_F(ListViewTest, InsertItemAtANegativePositionAppends) {
  comp::ListView* view = Create(comp::ListViewData());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(InsertItem(rt::OmittedArg(), "1"), 0);
  EXPECT_EQ(InsertItem(rt::OmittedArg(), "2"), 1);
  EXPECT_EQ(InsertItem(rt::IntArg(0), "0"), 0);
  EXPECT_EQ(InsertItem(rt::IntArg(-5), "last"), 3);
  EXPECT_EQ(ItemCount(), 4);
  char text[32] = {};
  LVITEMA item = {};
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(view->hwnd(), LVM_GETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "last");

  rt::ArgRecord ref = Ref();
  rt::ResultRecord none = {};
  comp::DeleteAllItemsCommand(&none, 1, &ref);
  EXPECT_EQ(ItemCount(), 0);
}

TEST_F(ListViewTest, SelectedItemsComeInAscendingOrder) {
  comp::ListViewData props;
  props.singleSelection = false;
  comp::ListView* view = Create(props);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(SelectedItems().empty());
  for (int i = 0; i < 6; ++i) InsertItem(rt::OmittedArg(), "x");
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  SendMessageA(view->hwnd(), LVM_SETITEMSTATE, 4, reinterpret_cast<LPARAM>(&state));
  SendMessageA(view->hwnd(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(SelectedItems(), (std::vector<int32_t>{1, 4}));
  EXPECT_EQ(static_cast<int32_t>(Read(view, comp::ListView::PSelectedItem).value), 1);

  EXPECT_EQ(Change(view, comp::ListView::PSelectedItem, static_cast<uint32_t>(-9)), 0);  // -1: clears the first
  EXPECT_EQ(SelectedItems(), (std::vector<int32_t>{4}));
}

TEST_F(ListViewTest, ViewTypeSevenClampsToReportAndAsksForRecreation) {
  comp::ListView* view = Create(comp::ListViewData());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(GetWindowLongA(view->hwnd(), GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);
  EXPECT_EQ(Change(view, comp::ListView::PViewType, 7), 1);
  EXPECT_EQ(Read(view, comp::ListView::PViewType).value, 3u);
  EXPECT_EQ(Change(view, comp::ListView::PBackColor, 0x0000FF), 0);
  EXPECT_EQ(Read(view, comp::ListView::PBackColor).value, 0x0000FFu);

  // The runtime re-creates the list from its serialised properties.
  auto getAll = reinterpret_cast<rt::GetAllPropertiesFn>(comp::kListViewType.getInterface(rt::SlotGetAllProperties));
  HGLOBAL blob = getAll(static_cast<rt::WindowObject*>(view));
  ASSERT_NE(blob, nullptr);
  comp::ListViewData reread;
  const std::vector<uint8_t> bytes = testing_support::GlobalBytes(blob);
  ASSERT_TRUE(reread.Read(bytes.data(), bytes.size()));
  EXPECT_EQ(reread.viewType, 3);
  DestroyWindow(view->hwnd());
  ASSERT_EQ(fake::Runtime().destroyed.size(), 1u);
  EXPECT_EQ(fake::Runtime().destroyed[0], std::make_pair(static_cast<int32_t>(kWindowId), static_cast<int32_t>(kComponentId)));
  comp::ListView* recreated = Create(reread);
  ASSERT_NE(recreated, nullptr);
  EXPECT_EQ(GetWindowLongA(recreated->hwnd(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(SendMessageA(recreated->hwnd(), LVM_GETBKCOLOR, 0, 0), 0x0000FF);
}

TEST_F(ListViewTest, RecreationRulesDependOnTheView) {
  comp::ListView* view = Create(comp::ListViewData());  // large icons
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Change(view, comp::ListView::PAutoArrange, 0), 1);
  EXPECT_EQ(Change(view, comp::ListView::PGridLines, 1), 0);      // report view only
  EXPECT_EQ(Change(view, comp::ListView::PHandCursor, 0), 0);     // only with HotTracking
  EXPECT_EQ(Change(view, comp::ListView::PCheckBoxes, 1), 1);
  EXPECT_EQ(Change(view, comp::ListView::PWrapLabels, 0), 0);     // applied at once
  EXPECT_NE(GetWindowLongA(view->hwnd(), GWL_STYLE) & LVS_NOLABELWRAP, 0);
  EXPECT_EQ(Change(view, comp::ListView::PSortOrder, 9), 1);
  EXPECT_EQ(Read(view, comp::ListView::PSortOrder).value, 2u);
}

TEST_F(ListViewTest, ImagesGoToTheNormalListInLargeIconsAndToTheSmallListOtherwise) {
  const std::vector<uint8_t> data = IconListData(2);
  comp::ListView* large = Create(comp::ListViewData());
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(Change(large, comp::ListView::PImages, static_cast<uint32_t>(rt::LibraryLink::Word(data.data())),
                   static_cast<uint32_t>(data.size())), 0);
  HIMAGELIST normal = reinterpret_cast<HIMAGELIST>(SendMessageA(large->hwnd(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
  ASSERT_NE(normal, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(normal), 2);
  EXPECT_EQ(SendMessageA(large->hwnd(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
  EXPECT_EQ(Read(large, comp::ListView::PImages).high, data.size());
  DestroyWindow(large->hwnd());

  comp::ListViewData listView;
  listView.viewType = 2;
  comp::ListView* list = Create(listView);
  ASSERT_NE(list, nullptr);
  Change(list, comp::ListView::PImages, static_cast<uint32_t>(rt::LibraryLink::Word(data.data())),
         static_cast<uint32_t>(data.size()));
  EXPECT_NE(SendMessageA(list->hwnd(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
  EXPECT_EQ(SendMessageA(list->hwnd(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0), 0);

  // Data that is no image list removes the list.
  const uint8_t junk[12] = {'J', 'U', 'N', 'K'};
  Change(list, comp::ListView::PImages, static_cast<uint32_t>(rt::LibraryLink::Word(junk)), sizeof junk);
  EXPECT_EQ(SendMessageA(list->hwnd(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
}

TEST_F(ListViewTest, RightClickRaisesEventFiveAndNotificationsMapToEvents) {
  comp::ListView* view = Create(comp::ListViewData());
  ASSERT_NE(view, nullptr);
  InsertItem(rt::OmittedArg(), "1");
  NMITEMACTIVATE click = {};
  click.hdr.hwndFrom = view->hwnd();
  click.hdr.idFrom = 100;
  click.hdr.code = NM_RCLICK;
  click.iItem = -1;
  SendMessageA(parent_, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&click));
  click.hdr.code = NM_CLICK;
  SendMessageA(parent_, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&click));
  NMLISTVIEW column = {};
  column.hdr = click.hdr;
  column.hdr.code = LVN_COLUMNCLICK;
  column.iSubItem = 2;
  SendMessageA(parent_, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&column));

  const auto& events = fake::Runtime().events;
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].code, rt::SvcFireEvent);
  EXPECT_EQ(events[0].windowId, kWindowId);
  EXPECT_EQ(events[0].elementId, kComponentId);
  EXPECT_EQ(events[0].eventIndex, 5);
  EXPECT_TRUE(events[0].args.empty());
  EXPECT_EQ(events[1].eventIndex, 4);
  EXPECT_EQ(events[2].eventIndex, 2);
  EXPECT_EQ(events[2].args, std::vector<int32_t>{2});
}

TEST_F(ListViewTest, RealRightClickOnTheListRaisesEventFive) {
  comp::ListView* view = Create(comp::ListViewData());
  ASSERT_NE(view, nullptr);
  ShowWindow(parent_, SW_SHOW);
  UpdateWindow(parent_);
  // The control tracks the button until it is released: queue the release first.
  PostMessageA(view->hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(200, 200));
  SendMessageA(view->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 200));
  Pump();
  bool rightClicked = false;
  for (const auto& e : fake::Runtime().events) rightClicked |= e.eventIndex == 5;
  EXPECT_TRUE(rightClicked);
}

TEST_F(ListViewTest, LabelEditStartingCanBeCancelledByTheRoutine) {
  comp::ListViewData props;
  props.editLabels = true;
  comp::ListView* view = Create(props);
  ASSERT_NE(view, nullptr);
  NMLVDISPINFOA info = {};
  info.hdr.hwndFrom = view->hwnd();
  info.hdr.code = LVN_BEGINLABELEDITA;
  info.item.iItem = 0;
  fake::Runtime().answer = true;
  fake::Runtime().result = 0;
  EXPECT_EQ(SendMessageA(parent_, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&info)), TRUE);
  fake::Runtime().result = 1;
  EXPECT_EQ(SendMessageA(parent_, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&info)), FALSE);
  fake::Runtime().answer = false;
  EXPECT_EQ(SendMessageA(parent_, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&info)), FALSE);
  ASSERT_EQ(fake::Runtime().events.size(), 3u);
  EXPECT_EQ(fake::Runtime().events[0].eventIndex, 6);
  EXPECT_EQ(fake::Runtime().events[0].args, std::vector<int32_t>{0});
}

TEST_F(ListViewTest, ItemTableGivesItemsColumnsTipsAndCheckedImages) {
  comp::ListViewData props;
  props.viewType = 3;
  props.checkBoxes = true;
  props.images = IconListData(1);
  props.columns = comp::WriteColumnTable({{false, -1, 0, 80, "名称"}, {false, -1, 2, 60, "Size"}});
  props.items = comp::WriteItemTable({{false, 0, -1, 0, 7, "first", "tip one"},
                                      {true, 5, -1, 0, 0, "1 KB", "ignored"},
                                      {false, 3, -1, 0, 8, "second", "tip two"}});
  comp::ListView* view = Create(props);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(ItemCount(), 2);
  HWND header = reinterpret_cast<HWND>(SendMessageA(view->hwnd(), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);

  char text[64] = {};
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  item.iItem = 0;
  item.iSubItem = 1;
  ASSERT_TRUE(SendMessageA(view->hwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(text, "1 KB");
  item.iItem = 1;
  item.iSubItem = 0;
  ASSERT_TRUE(SendMessageA(view->hwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(text, "second");
  EXPECT_EQ(item.iImage, -1) << "image 3 is beyond the list's one image";
  EXPECT_EQ(item.lParam, 8);

  char tip[5] = {};
  NMLVGETINFOTIPA info = {};
  info.hdr.hwndFrom = view->hwnd();
  info.hdr.code = LVN_GETINFOTIPA;
  info.pszText = tip;
  info.cchTextMax = sizeof tip;
  info.iItem = 1;
  SendMessageA(parent_, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(tip, "tip ") << "cut to the buffer";

  // Check state: the posted message reads the state image (2 = checked) and fires 8.
  ListView_SetCheckState(view->hwnd(), 1, TRUE);
  PostMessageA(view->hwnd(), comp::ListView::kCheckChangedMessage, 1, 0);
  Pump();
  ASSERT_FALSE(fake::Runtime().events.empty());
  const fake::FiredEvent& last = fake::Runtime().events.back();
  EXPECT_EQ(last.eventIndex, 8);
  EXPECT_EQ(last.args, (std::vector<int32_t>{1, 1}));
}

PURE_SUITE(ListViewBlob);

TEST(ListViewBlob, RoundTripAndRejectedBlobs) {
  comp::ListViewData props;
  props.border = 4;
  props.textColor = 0x123456;
  props.viewType = 2;
  props.hotTracking = true;
  props.singleSelection = false;
  props.selectedItem = 3;
  props.images = {'M', 'I', 'T', 'L', 1, 2, 3, 4, 5};
  props.items = comp::WriteItemTable({{false, 1, 2, 3, 4, "text", "tip"}});
  const std::vector<uint8_t> blob = props.Write();
  comp::ListViewData back;
  ASSERT_TRUE(back.Read(blob.data(), blob.size()));
  EXPECT_EQ(back.Write(), blob);
  EXPECT_EQ(back.border, 4);
  EXPECT_EQ(back.textColor, 0x123456u);
  EXPECT_FALSE(back.singleSelection);
  std::vector<comp::ListItemRecord> items;
  ASSERT_TRUE(comp::ParseItemTable(back.items, &items));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].tip, "tip");

  std::vector<uint8_t> newer = blob;
  newer[0] = 2;
  EXPECT_FALSE(back.Read(newer.data(), newer.size()));
  EXPECT_EQ(back.border, 1) << "a failed read leaves the defaults";
  EXPECT_FALSE(back.Read(blob.data(), blob.size() - 1));

  std::vector<uint8_t> cut = comp::WriteColumnTable({{true, 1, 1, 50, "abc"}});
  cut.pop_back();  // no terminating NUL
  std::vector<comp::ListColumn> columns;
  EXPECT_FALSE(comp::ParseColumnTable(cut, &columns));
  EXPECT_TRUE(columns.empty());
}

}  // namespace
