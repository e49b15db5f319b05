#include "components/drop_target/drop_target.h"

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "components/drop_target/drop_target_library.h"
#include "components/fake_runtime.h"
#include "tests/suite_labels.h"

namespace {

HGLOBAL GlobalOf(const std::string& bytes) {
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(g), bytes.data(), bytes.size());
  GlobalUnlock(g);
  return g;
}

// CF_HDROP data: a DROPFILES header, then the paths, each NUL-terminated, then a NUL.
std::string FileList(const std::vector<std::string>& paths) {
  DROPFILES header = {};
  header.pFiles = sizeof header;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  for (const auto& p : paths) bytes += p + '\0';
  bytes += '\0';
  if (paths.empty()) bytes += '\0';
  return bytes;
}

// A data object that offers fixed global-memory formats.
class TestData final : public IDataObject {
 public:
  void Offer(CLIPFORMAT format, const std::string& bytes) { formats_[format] = bytes; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* medium) override {
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = GlobalOf(formats_[f->cfFormat]);
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
    return f && (f->tymed & TYMED_HGLOBAL) && formats_.count(f->cfFormat) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  std::map<CLIPFORMAT, std::string> formats_;
  ULONG references_ = 1;
};

const CLIPFORMAT kHtml = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format"));
const CLIPFORMAT kUrl = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("UniformResourceLocator"));

class DropTargetTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    fake::Reset();
    comp::DropTargetLibraryNotify(1, fake::ServiceWord(), 0);
    parent_ = CreateWindowExA(0, "STATIC", "drop", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent_);
    OleUninitialize();
  }
  comp::DropTarget* Create(const comp::DropTargetData& props) {
    const std::vector<uint8_t> blob = props.Write();
    auto create = reinterpret_cast<rt::CreateComponentFn>(comp::kDropTargetType.getInterface(rt::SlotCreateComponent));
    void* object = create(blob.data(), static_cast<int32_t>(blob.size()), 0, parent_, 120, nullptr, 0, 0, 10, 10, 5,
                          6, nullptr, 0);
    fake::Runtime().componentObject = object;
    return object ? dynamic_cast<comp::DropTarget*>(static_cast<rt::WindowObject*>(object)) : nullptr;
  }
  // DragEnter then Drop with the keys and allowed effects; returns the dropped effect.
  DWORD DragAndDrop(comp::DropTarget* target, TestData* data, DWORD keys, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
    DWORD effect = allowed;
    EXPECT_EQ(target->target()->DragEnter(data, keys, POINTL{5, 5}, &effect), S_OK);
    const DWORD entered = effect;
    effect = allowed;
    EXPECT_EQ(target->target()->Drop(data, keys, POINTL{5, 5}, &effect), E_FAIL) << "the source always hears E_FAIL";
    EXPECT_EQ(effect, entered);
    return effect;
  }
  comp::DropTargetData Files() {
    comp::DropTargetData p;
    p.acceptFiles = true;
    return p;
  }

  HWND parent_ = nullptr;
};

PURE_SUITE(DropEffect);

TEST(DropEffect, ModifiersAndAllowedEffects) {
  const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  EXPECT_EQ(comp::DropEffectFor(false, 0, all), DROPEFFECT_NONE);
  EXPECT_EQ(comp::DropEffectFor(true, MK_CONTROL | MK_SHIFT, all), DROPEFFECT_NONE);
  EXPECT_EQ(comp::DropEffectFor(true, MK_CONTROL, all), DROPEFFECT_COPY);
  EXPECT_EQ(comp::DropEffectFor(true, MK_CONTROL, DROPEFFECT_MOVE), DROPEFFECT_NONE);
  EXPECT_EQ(comp::DropEffectFor(true, MK_SHIFT, all), DROPEFFECT_MOVE);
  EXPECT_EQ(comp::DropEffectFor(true, MK_SHIFT, DROPEFFECT_COPY), DROPEFFECT_NONE);
  EXPECT_EQ(comp::DropEffectFor(true, 0, all), DROPEFFECT_COPY);
  EXPECT_EQ(comp::DropEffectFor(true, 0, DROPEFFECT_MOVE | DROPEFFECT_LINK), DROPEFFECT_MOVE);
  EXPECT_EQ(comp::DropEffectFor(true, 0, DROPEFFECT_LINK), DROPEFFECT_LINK);
  EXPECT_EQ(comp::DropEffectFor(true, 0, DROPEFFECT_NONE), DROPEFFECT_NONE);
}

PURE_SUITE(DroppedText);

TEST(DroppedText, PathsAndHtml) {
  EXPECT_EQ(comp::JoinDroppedPaths({"C:\\a.dll"}), "C:\\a.dll");
  EXPECT_EQ(comp::JoinDroppedPaths({"C:\\a.dll", "C:\\b.dll"}), "C:\\a.dll\r\nC:\\b.dll\r\n");
  const std::string utf8 = "a\xC2\xA0\xE4\xB8\xAD";  // "a", no-break space, U+4E2D
  EXPECT_EQ(comp::HtmlToAnsi(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size()), "a 中");
}

TEST_F(DropTargetTest, OneFileIsDeliveredAloneAndTwoEachWithALineBreak) {
  comp::DropTarget* target = Create(Files());
  ASSERT_NE(target, nullptr);
  TestData one;
  one.Offer(CF_HDROP, FileList({"C:\\windows\\one.dll"}));
  EXPECT_EQ(DragAndDrop(target, &one, 0), static_cast<DWORD>(DROPEFFECT_COPY));
  TestData two;
  two.Offer(CF_HDROP, FileList({"C:\\a\\shell32.dll", "C:\\b\\图标.exe"}));
  DragAndDrop(target, &two, MK_SHIFT);

  const auto& events = fake::Runtime().events;
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].code, rt::SvcFireTypedEvent);
  EXPECT_EQ(events[0].windowId, 5u);
  EXPECT_EQ(events[0].elementId, 6u);
  EXPECT_EQ(events[0].eventIndex, 3);
  EXPECT_EQ(events[0].args, std::vector<int32_t>{static_cast<int32_t>(rt::TagText)});
  EXPECT_EQ(events[0].text, "C:\\windows\\one.dll");
  EXPECT_EQ(events[1].text, "C:\\a\\shell32.dll\r\nC:\\b\\图标.exe\r\n");
}

TEST_F(DropTargetTest, NothingAcceptedGivesNoEffectAndNoEvent) {
  comp::DropTarget* target = Create(comp::DropTargetData());
  ASSERT_NE(target, nullptr);
  TestData data;
  data.Offer(CF_HDROP, FileList({"C:\\a.dll"}));
  data.Offer(CF_TEXT, std::string("text", 5));
  EXPECT_EQ(DragAndDrop(target, &data, 0), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_FALSE(target->target()->acceptable());
  EXPECT_TRUE(fake::Runtime().events.empty());
}

TEST_F(DropTargetTest, CtrlShiftGivesNoEffectAndNoEvent) {
  comp::DropTarget* target = Create(Files());
  TestData data;
  data.Offer(CF_HDROP, FileList({"C:\\a.dll"}));
  EXPECT_EQ(DragAndDrop(target, &data, MK_CONTROL | MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_LINK),
            static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_TRUE(fake::Runtime().events.empty());
}

TEST_F(DropTargetTest, EmptyFileListFiresNothing) {
  comp::DropTarget* target = Create(Files());
  TestData data;
  data.Offer(CF_HDROP, FileList({}));
  DragAndDrop(target, &data, 0);
  EXPECT_TRUE(fake::Runtime().events.empty());
}

TEST_F(DropTargetTest, TextWithHtmlNeverFiresTheTextEvent) {
  comp::DropTargetData props;
  props.acceptText = true;
  comp::DropTarget* target = Create(props);
  TestData data;
  data.Offer(CF_TEXT, std::string("plain", 6));
  data.Offer(kHtml, std::string("<b>x\xC2\xA0y</b>", 12));
  DragAndDrop(target, &data, 0);
  EXPECT_TRUE(fake::Runtime().events.empty());

  rt::PropertyData on = {1, 0};
  EXPECT_EQ(target->PropertyChanged(comp::DropTarget::PAcceptHtml, on), 0);
  DragAndDrop(target, &data, 0);
  ASSERT_EQ(fake::Runtime().events.size(), 1u);
  EXPECT_EQ(fake::Runtime().events[0].eventIndex, 1);
  EXPECT_EQ(fake::Runtime().events[0].text, "<b>x y</b>");

  // Text alone, and a URL.
  TestData text;
  text.Offer(CF_TEXT, std::string("plain", 6));
  text.Offer(kUrl, std::string("http://example.invalid/", 24));
  EXPECT_EQ(target->PropertyChanged(comp::DropTarget::PAcceptUrl, on), 0);
  DragAndDrop(target, &text, 0);
  ASSERT_EQ(fake::Runtime().events.size(), 3u);
  EXPECT_EQ(fake::Runtime().events[1].eventIndex, 0);
  EXPECT_EQ(fake::Runtime().events[1].text, "plain");
  EXPECT_EQ(fake::Runtime().events[2].eventIndex, 2);
  EXPECT_EQ(fake::Runtime().events[2].text, "http://example.invalid/");
}

TEST_F(DropTargetTest, RegisterOnceAndRevokeOnDestruction) {
  comp::DropTarget* target = Create(Files());
  ASSERT_NE(target, nullptr);
  HWND list = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 50, 50, parent_, nullptr, GetModuleHandleA(nullptr), nullptr);
  rt::ArgRecord args[2] = {{5, 6, rt::TypeDropTarget}, rt::IntArg(static_cast<int32_t>(reinterpret_cast<uintptr_t>(list)))};
  rt::ResultRecord result = {};
  comp::RegisterCommand(&result, 2, args);
  EXPECT_EQ(result.tag, rt::TagBool);
  EXPECT_EQ(result.value, 1u);
  result = {};
  comp::RegisterCommand(&result, 2, args);
  EXPECT_EQ(result.value, 0u) << "a second call answers false";

  comp::DropTargetObject* object = target->target();
  object->AddRef();
  EXPECT_EQ(object->Release(), 2u) << "the component's and OLE's references";
  DestroyWindow(target->hwnd());
  ASSERT_EQ(fake::Runtime().destroyed.size(), 1u);
  // The registration is gone: the window can take another target.
  comp::DropTargetObject* other = new comp::DropTargetObject(Files());
  EXPECT_EQ(RegisterDragDrop(list, other), S_OK);
  RevokeDragDrop(list);
  EXPECT_EQ(other->Release(), 0u);
}

}  // namespace
