// ConvertTexts (slot 9) of the kernel component types: which texts the visitor sees,
// in which order and with which flag, and that its replacements land in the blob.
#include "components/convert_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "components/button/button.h"
#include "components/common_dialog/common_dialog.h"
#include "components/edit_box/edit_box.h"
#include "components/kernel_library.h"
#include "components/label/label.h"
#include "components/window/window_component.h"
#include "global_bytes.h"
#include "tests/suite_labels.h"

namespace {

struct Seen {
  std::string text;
  int32_t flag;
  bool operator==(const Seen& o) const { return text == o.text && flag == o.flag; }
};
std::ostream& operator<<(std::ostream& os, const Seen& s) { return os << "{" << s.text << ", " << s.flag << "}"; }

std::vector<Seen> g_seen;
std::string g_replacement;
// Records each text and replaces it by "#" and its position.
const char* __stdcall Numbering(const char* text, int32_t flag, void*) {
  g_seen.push_back({text, flag});
  g_replacement = "#" + std::to_string(g_seen.size());
  return g_replacement.c_str();
}

std::vector<uint8_t> Font(const char* face) {
  LOGFONTA lf = {};
  lf.lfHeight = -12;
  std::strcpy(lf.lfFaceName, face);
  std::vector<uint8_t> bytes(sizeof lf);
  std::memcpy(bytes.data(), &lf, sizeof lf);
  return bytes;
}
std::string FaceOf(const std::vector<uint8_t>& font) {
  if (font.size() != sizeof(LOGFONTA)) return "(no font)";
  LOGFONTA lf;
  std::memcpy(&lf, font.data(), sizeof lf);
  return std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
}

template <typename Data>
Data Convert(const rt::ComponentTypeInfo& type, const Data& in, rt::TextVisitorFn visitor = &Numbering) {
  g_seen.clear();
  auto convert = reinterpret_cast<rt::ConvertTextsFn>(type.getInterface(rt::SlotConvertTexts));
  Data out;
  EXPECT_NE(convert, nullptr) << type.englishName;
  if (!convert) return out;
  std::vector<uint8_t> blob = in.Write();
  HGLOBAL h = convert(blob.data(), static_cast<int32_t>(blob.size()), visitor, nullptr);
  EXPECT_NE(h, nullptr) << type.englishName;
  if (!h) return out;
  const std::vector<uint8_t> bytes = testing_support::GlobalBytes(h);
  EXPECT_TRUE(out.Read(bytes.data(), bytes.size()));
  return out;
}

PURE_SUITE(ConvertTexts);

TEST(ConvertTexts, FontFaceFirstWithFlagOneThenTheTextsOfEachType) {
  comp::LabelData label;
  label.caption = "标签一";
  label.font = Font("宋体");
  label.dataSource = "src";
  label.dataField = "fld";
  label.textColor = 0x123456;
  comp::LabelData labelOut = Convert(comp::kLabelType, label);
  EXPECT_EQ(g_seen, (std::vector<Seen>{{"宋体", 1}, {"标签一", 0}, {"src", 0}, {"fld", 0}}));
  EXPECT_EQ(FaceOf(labelOut.font), "#1");
  EXPECT_EQ(labelOut.caption, "#2");
  EXPECT_EQ(labelOut.dataField, "#4");
  EXPECT_EQ(labelOut.textColor, 0x123456u) << "other fields kept";

  comp::ButtonData button;
  button.caption = "提取";
  comp::ButtonData buttonOut = Convert(comp::kButtonType, button);
  EXPECT_EQ(g_seen, (std::vector<Seen>{{"提取", 0}})) << "the default font has no face name to offer";
  EXPECT_EQ(buttonOut.caption, "#1");
  EXPECT_TRUE(buttonOut.font.empty());

  comp::EditBoxData edit;
  edit.content = "C:\\a.dll";
  edit.font = Font("Arial");
  edit.maxLength = 77;
  comp::EditBoxData editOut = Convert(comp::kEditBoxType, edit);
  EXPECT_EQ(g_seen, (std::vector<Seen>{{"Arial", 1}, {"C:\\a.dll", 0}, {"", 0}, {"", 0}}));
  EXPECT_EQ(editOut.content, "#2");
  EXPECT_EQ(editOut.maxLength, 77);

  comp::CommonDialogData dialog;
  dialog.title = "打开资源文件";
  dialog.filter = "所有文件(*.*)|*.*";
  dialog.fontName = "黑体";
  dialog.helpFile = "a.hlp";
  comp::CommonDialogData dialogOut = Convert(comp::kCommonDlgType, dialog);
  EXPECT_EQ(g_seen, (std::vector<Seen>{{"打开资源文件", 0}, {"", 0}, {"所有文件(*.*)|*.*", 0}, {"", 0}, {"", 0},
                                       {"黑体", 1}, {"a.hlp", 0}}));
  EXPECT_EQ(dialogOut.title, "#1");
  EXPECT_EQ(dialogOut.fontName, "#6");
  EXPECT_EQ(dialogOut.helpFile, "#7");
}

const char* __stdcall LongFace(const char*, int32_t flag, void*) {
  return flag == 1 ? "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789" : nullptr;
}

TEST(ConvertTexts, ReplacedFaceNamesKeepThirtyOneBytesAndNullKeepsTheText) {
  comp::LabelData label;
  label.caption = "keep";
  label.font = Font("宋体");
  comp::LabelData out = Convert(comp::kLabelType, label, &LongFace);
  EXPECT_EQ(FaceOf(out.font), "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
  EXPECT_EQ(out.caption, "keep");
  EXPECT_EQ(out.font.size(), sizeof(LOGFONTA));
}

TEST(ConvertTexts, UnreadableBlobsGiveNothing) {
  for (const rt::ComponentTypeInfo* type : {&comp::kLabelType, &comp::kButtonType, &comp::kEditBoxType,
                                            &comp::kCommonDlgType, &comp::kWindowType}) {
    auto convert = reinterpret_cast<rt::ConvertTextsFn>(type->getInterface(rt::SlotConvertTexts));
    ASSERT_NE(convert, nullptr) << type->englishName;
    const uint8_t future[] = {99, 0, 0, 0};  // a version above every known one
    g_seen.clear();
    EXPECT_EQ(convert(future, sizeof future, &Numbering, nullptr), nullptr) << type->englishName;
    EXPECT_EQ(convert(nullptr, 0, &Numbering, nullptr), nullptr) << type->englishName;
    EXPECT_TRUE(g_seen.empty()) << type->englishName;
  }
}

}  // namespace
