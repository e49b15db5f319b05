// The property blobs that a form description stores for each component type: every
// blob cut short is refused (no read past its end), and the whole blob reads back into
// the same blob.
#include <gtest/gtest.h>

#include <vector>

#include "components/button/button.h"
#include "components/common_dialog/common_dialog.h"
#include "components/drop_target/drop_target.h"
#include "components/edit_box/edit_box.h"
#include "components/label/label.h"
#include "formats/records/list_view_data.h"
#include "formats/records/window_data.h"
#include "tests/suite_labels.h"

namespace {

template <typename Blob>
void ExpectEveryCutRefused(const Blob& original, const char* type) {
  SCOPED_TRACE(type);
  const std::vector<uint8_t> blob = original.Write();
  ASSERT_FALSE(blob.empty());
  for (size_t n = 0; n < blob.size(); ++n) {
    const std::vector<uint8_t> cut(blob.begin(), blob.begin() + n);  // exact size: no slack to read into
    Blob back;
    EXPECT_FALSE(back.Read(cut.data(), cut.size())) << "cut to " << n << " of " << blob.size() << " bytes";
  }
  Blob back;
  ASSERT_TRUE(back.Read(blob.data(), blob.size()));
  EXPECT_EQ(back.Write(), blob);
}

PURE_SUITE(StoredBlobs);

TEST(StoredBlobs, EveryCutIsRefusedAndTheWholeBlobReadsBack) {
  comp::LabelData label;
  label.caption = "标签";
  ExpectEveryCutRefused(label, "label");

  comp::ButtonData button;
  button.caption = "提取";
  button.font.assign(60, 7);
  ExpectEveryCutRefused(button, "button");

  comp::EditBoxData edit;
  edit.content = "C:\\WINDOWS\\system32\\shell32.dll";
  edit.dataField = "field";
  ExpectEveryCutRefused(edit, "edit box");

  ExpectEveryCutRefused(comp::DropTargetData(), "drop target");
  ExpectEveryCutRefused(comp::CommonDialogData(), "common dialog");

  comp::ListViewData list;
  list.items = {1, 2, 3};
  ExpectEveryCutRefused(list, "list view");

  comp::WindowData window;
  window.caption = "窗口";
  window.icon.assign(20, 3);
  ExpectEveryCutRefused(window, "window");
}

}  // namespace
