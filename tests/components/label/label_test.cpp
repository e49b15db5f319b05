#include "components/label/label.h"

#include "components/component_fixture.h"

namespace comptest {
namespace {

struct LabelBlob {
  int32_t version = 2;
  int32_t effect = 0, borderWidth = 8, border = 0;
  uint32_t borderColors[3] = {0x808080, 0xFFFFFF, 0x808080};
  uint32_t textColor = 0, backColor = 0xFF000000;
  int32_t pictureMode = 1, gradientMode = 0;
  uint32_t backColors[3] = {0x808080, 0xFFFFFF, 0x808080};
  int32_t horz = 0, vert = 1, wrap = 0;
  std::string caption;
  std::string dataSource, dataField;
  std::vector<uint8_t> Bytes() const {
    rt::ByteAppender a;
    a.i32(version);
    a.i32(effect);
    a.i32(borderWidth);
    a.i32(border);
    for (uint32_t c : borderColors) a.u32(c);
    a.u32(textColor);
    a.u32(backColor);
    a.i32(pictureMode);
    a.i32(gradientMode);
    for (uint32_t c : backColors) a.u32(c);
    a.i32(horz);
    a.i32(vert);
    a.i32(wrap);
    a.i32(0);  // font: default
    a.i32(0);  // picture: none
    a.countedText(caption);
    AppendDataBinding(a, version, dataSource, dataField);
    return a.take();
  }
};

using LabelTest = TypedComponentTest<comp::Label, 100, 60>;

TEST_F(LabelTest, HorizontalGradientFollowsTheFormulaPixelByPixel) {
  // Mode 2, two colours black -> (200,200,200) over w = 100: segment 100, so the
  // channel at column x is 0 + x * 200 / 100 = 2x.  The caption is empty.
  LabelBlob b;
  b.gradientMode = 2;
  b.backColors[0] = 0x000000;
  b.backColors[1] = 0xC8C8C8;
  b.backColors[2] = 0xFF000000;  // left out
  comp::Label* label = Make(b, 100, 60);
  ASSERT_NE(label, nullptr);
  UpdateWindow(label->hwnd());
  HDC dc = GetDC(label->hwnd());
  for (int y : {0, 30, 59}) {
    for (int x = 0; x < 100; ++x) {
      COLORREF expected = RGB(2 * x, 2 * x, 2 * x);
      ASSERT_EQ(GetPixel(dc, x, y), expected) << "x=" << x << " y=" << y;
    }
  }
  ReleaseDC(label->hwnd(), dc);
}

TEST_F(LabelTest, DiagonalThreeColourGradientAcrossTiles) {
  // Mode 7 (from the bottom-right corner), three colours, 120 x 70 (three tile
  // columns): L = 140, segment 70.  t = (69 - y) + (119 - x).
  LabelBlob b;
  b.gradientMode = 7;
  b.backColors[0] = RGB(0, 0, 0);
  b.backColors[1] = RGB(140, 70, 0);
  b.backColors[2] = RGB(0, 0, 210);
  comp::Label* label = Make(b, 120, 70);
  ASSERT_NE(label, nullptr);
  UpdateWindow(label->hwnd());
  HDC dc = GetDC(label->hwnd());
  // Bottom-right pixel: t = 0 -> first colour.
  EXPECT_EQ(GetPixel(dc, 119, 69), RGB(0, 0, 0));
  // t = 35 (x = 84, y = 69): k = 0, f = 35/70: (70, 35, 0).
  EXPECT_EQ(GetPixel(dc, 84, 69), RGB(70, 35, 0));
  // t = 105 (x = 14, y = 69): k = 1, t mod s = 35: red 140 + 35*(-140)/70 = 70,
  // green 70 + 35*(-70)/70 = 35, blue 0 + 35*210/70 = 105.
  EXPECT_EQ(GetPixel(dc, 14, 69), RGB(70, 35, 105));
  // t = 1 + 69 = 70 (x = 118, y = 0): k = 1, f = 0 -> second colour.
  EXPECT_EQ(GetPixel(dc, 118, 0), RGB(140, 70, 0));
  // t = 119 + 69 = 188: k = 2 > n - 2 -> last colour.
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 210));
  // t = 1 (x = 118, y = 69): red 0 + 1*140/70 = 2, green 1, blue 0.
  EXPECT_EQ(GetPixel(dc, 118, 69), RGB(2, 1, 0));
  ReleaseDC(label->hwnd(), dc);
}

TEST_F(LabelTest, ButtonFaceBackgroundAndGradientNeedsTwoColours) {
  LabelBlob b;
  b.gradientMode = 1;
  b.backColors[0] = 0x0000FF;
  b.backColors[1] = 0xFF000000;
  b.backColors[2] = 0xFF000000;  // only one colour left: plain background
  comp::Label* label = Make(b, 60, 30);
  ASSERT_NE(label, nullptr);
  UpdateWindow(label->hwnd());
  HDC dc = GetDC(label->hwnd());
  EXPECT_EQ(GetPixel(dc, 30, 15), GetSysColor(COLOR_BTNFACE));
  ReleaseDC(label->hwnd(), dc);
}

TEST_F(LabelTest, GradientBorderPaintsItsColoursAtTheEdges) {
  LabelBlob b;
  b.border = 6;
  b.borderWidth = 10;
  b.borderColors[0] = RGB(255, 0, 0);
  b.borderColors[1] = RGB(0, 0, 255);
  b.borderColors[2] = 0xFF000000;
  b.backColor = RGB(0, 255, 0);
  comp::Label* label = Make(b, 80, 60);
  ASSERT_NE(label, nullptr);
  UpdateWindow(label->hwnd());
  HDC dc = GetDC(label->hwnd());
  EXPECT_EQ(GetPixel(dc, 0, 30), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 40, 30), RGB(0, 255, 0));  // inside the frame: background
  COLORREF inner = GetPixel(dc, 9, 30);
  EXPECT_GT(GetBValue(inner), 200) << std::hex << inner;
  ReleaseDC(label->hwnd(), dc);
}

TEST_F(LabelTest, PropertyWritesClampAndStore) {
  comp::Label* label = Make(LabelBlob());
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(Change(label, 3, 2), 0);  // GradientBorderWidth
  EXPECT_EQ(Get(label, 3), 5);
  Change(label, 3, 12);
  EXPECT_EQ(Get(label, 3), 12);
  Change(label, 1, 9);  // Effect
  EXPECT_EQ(Get(label, 1), 3);
  Change(label, 2, static_cast<uint32_t>(-2));  // Border
  EXPECT_EQ(Get(label, 2), 0);
  Change(label, 2, 7);
  EXPECT_EQ(Get(label, 2), 6);
  Change(label, 12, 40);  // GradientBackMode
  EXPECT_EQ(Get(label, 12), 8);
  const char* caption = "状态：就绪";
  rt::PropertyData text = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(caption)), 0};
  Slot<rt::PropertyChangedFn>(GetInterface, rt::SlotPropertyChanged)(label, 0, &text, nullptr);
  EXPECT_EQ(Text(label->hwnd()), caption);
}

TEST_F(LabelTest, BlobRoundTripsAndOlderVersionsLoad) {
  LabelBlob b;
  b.effect = 2;
  b.border = 6;
  b.borderWidth = 7;
  b.textColor = 0x123456;
  b.backColor = 0x00FF00;
  b.gradientMode = 4;
  b.horz = 2;
  b.vert = 0;
  b.wrap = 1;
  b.caption = "标签文字";
  b.dataSource = "源";
  b.dataField = "字段";
  comp::Label* label = Make(b);
  ASSERT_NE(label, nullptr);
  std::vector<uint8_t> expected = b.Bytes();
  std::vector<uint8_t> got =
      GlobalBytes(Slot<rt::GetAllPropertiesFn>(GetInterface, rt::SlotGetAllProperties)(label));
  ASSERT_GE(got.size(), expected.size());
  got.resize(expected.size());
  EXPECT_EQ(got, expected);

  LabelBlob old = b;
  old.version = 0;  // no data binding texts
  comp::Label* older = Make(old);
  ASSERT_NE(older, nullptr);
  EXPECT_EQ(Text(older->hwnd()), "标签文字");

  LabelBlob future = b;
  future.version = 3;
  EXPECT_EQ(Make(future), nullptr);
  std::vector<uint8_t> cut = b.Bytes();
  cut.resize(cut.size() - 3);
  EXPECT_EQ(Create(GetInterface, cut, 0, 0, 10, 10, 110), nullptr);
}

TEST_F(LabelTest, RuntimeMessageFiresEventZeroWithItsResult) {
  comp::Label* label = Make(LabelBlob());
  ASSERT_NE(label, nullptr);
  Rec().answer = true;
  Rec().answerResult = 77;
  EXPECT_EQ(SendMessageA(label->hwnd(), comp::kLabelEventMessage, 5, 9), 77);
  ASSERT_EQ(Rec().events.size(), 1u);
  EXPECT_EQ(Rec().events[0].eventIndex, 0);
  EXPECT_EQ(Rec().events[0].argCount, 2);
  EXPECT_EQ(Rec().events[0].args[0], 5);
  EXPECT_EQ(Rec().events[0].args[1], 9);
  EXPECT_EQ(Rec().events[0].windowId, kWindowId);
  EXPECT_EQ(Rec().events[0].elementId, kComponentId);
  EXPECT_TRUE(comp::kLabelType.flags & rt::TypeDragsForm);
}

}  // namespace
}  // namespace comptest
