// The window component's own services: text conversion of its property data, the
// tray-icon callback, help closing, resource release and the background picture.
#include "components/window/window_component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/common_dialog/common_dialog.h"
#include "components/kernel_library.h"
#include "formats/records/window_data.h"
#include "components/form_fixture.h"
#include "global_bytes.h"
#include "runtime/component_properties.h"
#include "runtime/heap.h"
#include "test_window.h"

namespace {

struct Visit {
  std::string text;
  int32_t flag;
};
std::vector<Visit> g_visits;

const char* __stdcall RenameCaption(const char* text, int32_t flag, void* userData) {
  g_visits.push_back({text, flag});
  // The caption is replaced; every other text is kept.
  return g_visits.size() == 1 ? static_cast<const char*>(userData) : nullptr;
}

HGLOBAL Convert(const std::vector<uint8_t>& blob, rt::TextVisitorFn visitor, void* userData) {
  auto convert = reinterpret_cast<rt::ConvertTextsFn>(comp::kWindowType.getInterface(rt::SlotConvertTexts));
  EXPECT_NE(convert, nullptr);
  return convert ? convert(blob.data(), static_cast<int32_t>(blob.size()), visitor, userData) : nullptr;
}

using testing_support::GlobalBytes;

TEST(WindowConvertTexts, VisitsCaptionThenHelpFileAndStoresTheRewrittenTexts) {
  comp::WindowData props;
  props.caption = "图标提取";
  props.helpFile = "C:\\help\\tool.hlp";
  props.className = "KeptClass";
  props.icon = {1, 2, 3};
  props.border = comp::BorderResizable;
  g_visits.clear();
  char replacement[] = "新标题";
  HGLOBAL out = Convert(props.Write(), &RenameCaption, replacement);
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(g_visits.size(), 2u) << "caption and help file only (the class name is no display text)";
  EXPECT_EQ(g_visits[0].text, "图标提取");
  EXPECT_EQ(g_visits[1].text, "C:\\help\\tool.hlp");
  EXPECT_EQ(g_visits[0].flag, 0);
  EXPECT_EQ(g_visits[1].flag, 0);

  std::vector<uint8_t> bytes = GlobalBytes(out);
  comp::WindowData back;
  ASSERT_TRUE(back.Read(bytes.data(), bytes.size()));
  EXPECT_EQ(back.caption, "新标题");
  EXPECT_EQ(back.helpFile, "C:\\help\\tool.hlp");
  EXPECT_EQ(back.className, "KeptClass");
  EXPECT_EQ(back.icon, props.icon);
  EXPECT_EQ(back.border, comp::BorderResizable);
}

TEST(WindowConvertTexts, UnreadableDataGivesNoBlobAndNoVisitorKeepsEverything) {
  comp::WindowData props;
  props.caption = "x";
  std::vector<uint8_t> blob = props.Write();
  std::vector<uint8_t> newer = blob;
  newer[0] = 7;  // version above 6
  g_visits.clear();
  EXPECT_EQ(Convert(newer, &RenameCaption, nullptr), nullptr);
  std::vector<uint8_t> truncated(blob.begin(), blob.end() - 1);
  EXPECT_EQ(Convert(truncated, &RenameCaption, nullptr), nullptr);
  EXPECT_TRUE(g_visits.empty()) << "nothing visited for a blob that cannot be read";
  HGLOBAL same = Convert(blob, nullptr, nullptr);
  ASSERT_NE(same, nullptr);
  EXPECT_EQ(GlobalBytes(same), blob);
}

}  // namespace

namespace formtest {
namespace {

constexpr uint32_t kDialog = 0x16010002;

std::vector<int32_t> g_trayButtons;
uint64_t __stdcall TrayRoutine(int32_t button) {
  g_trayButtons.push_back(button);
  return 0;
}

rt::WindowTemplate PlainForm(comp::WindowData props = {}) {
  rt::WindowTemplate w;
  w.id = kWindowId;
  rt::ElementTemplate window = WindowElement(props, 200, 150);
  window.events = {{9, Offset(reinterpret_cast<void*>(&TrayRoutine)), 0},
                   {2, Offset(reinterpret_cast<void*>(&Destroyed)), 0}};
  w.elements = {window};
  return w;
}

TEST_F(FormTest, TrayIconCallbackFiresEventNineWithTheButtonNumber) {
  Install({PlainForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  g_trayButtons.clear();
  for (UINT mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU, WM_MOUSEMOVE, WM_LBUTTONDOWN,
                     WM_RBUTTONDOWN, WM_MBUTTONUP})
    SendMessageA(Hwnd(), 0x8064, 0, static_cast<LPARAM>(mouse));
  EXPECT_EQ(g_trayButtons, (std::vector<int32_t>{1, 2, 3, 3})) << "moves and presses fire nothing";
}

TEST_F(FormTest, DestroyReleasesResourcesOfFlaggedTypesBeforeTheDestroyedEvent) {
  rt::WindowTemplate w = PlainForm();
  w.elements.push_back(BoxElement(0x16010001, kBoxType, 10, 10));
  w.elements.push_back(BoxElement(0x16010003, kReleasingType, 10, 50));
  Install({w});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  g_calls.clear();
  DestroyWindow(Hwnd());
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[0].what, "released");
  EXPECT_EQ(g_calls[0].args, (std::vector<int32_t>{0x16010003, 1})) << "only the flagged type, window still alive";
  EXPECT_EQ(g_calls[1].what, "destroyed");
}

// A stand-in for the help viewer: WinHelpA hands its requests to the window of class
// MS_WINHELP (as WM_COPYDATA carrying {size, command, data, ...}) when one exists.
std::vector<int32_t> g_helpCommands;
LRESULT CALLBACK HelpViewerProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (copy && copy->lpData && copy->cbData >= 4)
      g_helpCommands.push_back(static_cast<const uint16_t*>(copy->lpData)[1]);
    else
      g_helpCommands.push_back(-1);
    return TRUE;
  }
  if (msg == 0x38) {  // WM_WINHELP
    g_helpCommands.push_back(-2);
    return TRUE;
  }
  return DefWindowProcA(h, msg, wParam, lParam);
}

class HelpFormTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    comp::CommonDlgLink().Notify(1, static_cast<int32_t>(reinterpret_cast<uintptr_t>(&rt::RuntimeService)), 0);
    viewer_ = testing_support::CreateTestWindow("MS_WINHELP", &HelpViewerProc, WS_POPUP, 10, 10, "help viewer");
    ASSERT_NE(viewer_, nullptr);
    g_helpCommands.clear();
  }
  void TearDown() override {
    FormTest::TearDown();
    DestroyWindow(viewer_);
  }
  // A window holding a CommonDlg set to help command `command` on an existing file.
  void LoadHelpForm(int32_t command) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    comp::CommonDialogData dialog;
    dialog.dialogType = comp::DialogHelp;
    dialog.helpCommand = command;
    dialog.helpFile = self;
    rt::WindowTemplate w = PlainForm();
    rt::ElementTemplate e = BoxElement(kDialog, rt::TypeCommonDlg, 0, 0, 0);
    e.properties = dialog.Write();
    w.elements.push_back(e);
    Install({w});
    ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  }
  bool Open() {
    rt::ArgRecord ref = {kWindowId, kDialog, rt::TypeCommonDlg};
    rt::ResultRecord result = {0xdeadbeef, 0, 0};
    comp::OpenCommand(&result, 1, &ref);
    return result.value != 0;
  }
  // The viewer's second request, after the one that showed help, closed it.
  static void ExpectHelpClosed(const char* when = "") {
    ASSERT_EQ(g_helpCommands.size(), 2u) << when;
    EXPECT_EQ(g_helpCommands[1], HELP_QUIT) << when;
  }
  HWND viewer_ = nullptr;
};

TEST_F(HelpFormTest, HelpOpenedThroughCommonDlgIsClosedWhenItsWindowIsDestroyed) {
  LoadHelpForm(3);
  ASSERT_TRUE(Open());
  ASSERT_EQ(g_helpCommands.size(), 1u) << "the viewer got the request";
  EXPECT_EQ(g_helpCommands[0], HELP_FORCEFILE);
  DestroyWindow(Hwnd());
  ExpectHelpClosed();
}

TEST_F(HelpFormTest, HelpClosedByCommandFiveOrNeverShownIsNotClosedAgain) {
  LoadHelpForm(3);
  ASSERT_TRUE(Open());
  rt::SetComponentProperty(kWindowId, kDialog, 8 + comp::CommonDialog::PHelpCommand, -1, 5, 0);
  ASSERT_TRUE(Open());
  ExpectHelpClosed();
  DestroyWindow(Hwnd());
  EXPECT_EQ(g_helpCommands.size(), 2u) << "help was closed already";

  g_helpCommands.clear();
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  DestroyWindow(Hwnd());
  EXPECT_TRUE(g_helpCommands.empty()) << "no help shown, nothing to close";
}

TEST_F(HelpFormTest, HelpOpenedWithF1IsClosedWhenTheWindowIsDestroyed) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  comp::WindowData props;
  props.f1Help = true;
  props.helpFile = self;
  Install({PlainForm(props)});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  MSG f1 = {Hwnd(), WM_KEYDOWN, VK_F1, 0, 0, {0, 0}};
  EXPECT_TRUE(rt::PreTranslateWindowMessage(&f1));
  ASSERT_EQ(g_helpCommands.size(), 1u);
  EXPECT_EQ(g_helpCommands[0], HELP_FINDER);
  DestroyWindow(Hwnd());
  ExpectHelpClosed();
}

TEST_F(HelpFormTest, UnloadingAtShutdownOrAfterAFailedLoadRunsTheWindowsDestroyHandling) {
  LoadHelpForm(3);
  ASSERT_TRUE(Open());
  rt::UnloadAllWindows();
  ExpectHelpClosed("help closed at shutdown");

  // Creation runs from the last element down: the releasing box exists when the failing one fails.
  rt::WindowTemplate w = PlainForm();
  w.elements.push_back(BoxElement(0x16010001, kFailingType, 10, 10));
  w.elements.push_back(BoxElement(0x16010003, kReleasingType, 10, 50));
  Install({w});
  g_calls.clear();
  EXPECT_FALSE(rt::LoadWindow(kWindowId, nullptr, false));
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].what, "released");
  EXPECT_EQ(g_calls[0].args, (std::vector<int32_t>{0x16010003, 1})) << "released while its window lives";
  EXPECT_FALSE(rt::AnyLiveWindow());
}

TEST(BackgroundPictureRect, NaturalCentredShrunkAndStretchedPlaces) {
  auto same = [](RECT a, RECT b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  };
  EXPECT_TRUE(same(comp::BackgroundPictureRect(0, 20, 10, 100, 50), RECT{0, 0, 20, 10}));
  EXPECT_TRUE(same(comp::BackgroundPictureRect(1, 20, 10, 100, 50), RECT{0, 0, 20, 10})) << "first tile";
  EXPECT_TRUE(same(comp::BackgroundPictureRect(9, 500, 10, 100, 50), RECT{0, 0, 500, 10})) << "unknown as 0";
  EXPECT_TRUE(same(comp::BackgroundPictureRect(3, 20, 10, 100, 50), RECT{0, 0, 100, 50}));
  // Centred at natural size when it fits; shrunk keeping its proportions when not.
  EXPECT_TRUE(same(comp::BackgroundPictureRect(2, 20, 10, 100, 50), RECT{40, 20, 60, 30}));
  EXPECT_TRUE(same(comp::BackgroundPictureRect(2, 400, 100, 200, 150), RECT{0, 50, 200, 100})) << "too wide";
  EXPECT_TRUE(same(comp::BackgroundPictureRect(2, 100, 300, 200, 150), RECT{75, 0, 125, 150})) << "too tall";
  EXPECT_TRUE(same(comp::BackgroundPictureRect(2, 300, 10, 200, 150), RECT{0, 72, 200, 78}));
}

// A 2 x 2 24-bit BMP file of one colour (r, g, b).
std::vector<uint8_t> SolidBmp(uint8_t red, uint8_t green, uint8_t blue) {
  std::vector<uint8_t> f = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                            40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
                            16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 2; ++x) f.insert(f.end(), {blue, green, red});
    f.insert(f.end(), {0, 0});  // rows are padded to 4 bytes
  }
  return f;
}

// The client area as the window paints it (WM_PRINTCLIENT into a 32-bit bitmap).
class ClientPixels {
 public:
  explicit ClientPixels(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    width_ = r.right;
    height_ = r.bottom;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = 0x00123456;  // not painted
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    GdiFlush();
  }
  ~ClientPixels() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  uint32_t At(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }  // 0xRRGGBB
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0, height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;

TEST_F(FormTest, BackgroundPictureIsDrawnByItsLayoutAndTheRestInTheColour) {
  comp::WindowData props;
  props.picture = SolidBmp(255, 0, 0);
  props.pictureLayout = 0;
  props.backColour = RGB(0, 0, 255);
  Install({PlainForm(props)});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  {
    ClientPixels top(Hwnd());
    ASSERT_GT(top.width(), 20);
    ASSERT_GT(top.height(), 20);
    EXPECT_EQ(top.At(0, 0), kRed);
    EXPECT_EQ(top.At(1, 1), kRed);
    EXPECT_EQ(top.At(2, 0), kBlue) << "right of the picture";
    EXPECT_EQ(top.At(0, 2), kBlue) << "below the picture";
    EXPECT_EQ(top.At(top.width() - 1, top.height() - 1), kBlue);
  }
  rt::SetComponentProperty(kWindowId, 0, 12, -1, 1, 0);  // tiled
  {
    ClientPixels tiled(Hwnd());
    EXPECT_EQ(tiled.At(0, 0), kRed);
    EXPECT_EQ(tiled.At(tiled.width() / 2 + 1, tiled.height() / 2 + 1), kRed);
    EXPECT_EQ(tiled.At(tiled.width() - 1, tiled.height() - 1), kRed);
  }
  rt::SetComponentProperty(kWindowId, 0, 12, -1, 2, 0);  // centred at natural size
  {
    ClientPixels centred(Hwnd());
    const int cx = (centred.width() - 2) / 2, cy = (centred.height() - 2) / 2;
    EXPECT_EQ(centred.At(cx, cy), kRed);
    EXPECT_EQ(centred.At(cx + 1, cy + 1), kRed);
    EXPECT_EQ(centred.At(cx + 2, cy), kBlue);
    EXPECT_EQ(centred.At(0, 0), kBlue);
  }
  rt::SetComponentProperty(kWindowId, 0, 12, -1, 3, 0);  // stretched
  {
    ClientPixels stretched(Hwnd());
    EXPECT_EQ(stretched.At(0, 0), kRed);
    EXPECT_EQ(stretched.At(stretched.width() - 1, stretched.height() - 1), kRed);
  }
  rt::SetComponentProperty(kWindowId, 0, 11, -1, 0, 0);  // the empty byte set: no picture
  {
    ClientPixels plain(Hwnd());
    EXPECT_EQ(plain.At(0, 0), kBlue);
    EXPECT_EQ(plain.At(plain.width() - 1, plain.height() - 1), kBlue);
  }
  // Data that is no picture leaves the colour alone.
  std::vector<uint8_t> junk = {'B', 'M', 1, 2, 3, 4, 5, 6};
  void* set = rt::NewByteSet(junk.data(), junk.size());
  rt::SetComponentProperty(kWindowId, 0, 11, -1, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(set)), 0);
  rt::FreeMemory(set);
  ClientPixels junkPixels(Hwnd());
  EXPECT_EQ(junkPixels.At(0, 0), kBlue);
}

}  // namespace
}  // namespace formtest
