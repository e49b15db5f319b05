#include "app/constant_block.h"

#include <cstring>

#include "components/list_view/empty_image_list.h"

namespace app {

static_assert(offsetof(ConstantBlock, emptyImageList) == 8, "byte-set block starts the constant block");
static_assert(sizeof(ConstantBlock{}.emptyImageList) == comp::kEmptyImageListSize, "73-byte empty image list");

ConstantBlock& Constants() {
  static ConstantBlock block;
  return block;
}

void PrepareConstantBlock() {
  std::memcpy(Constants().emptyImageList, comp::kEmptyImageList, comp::kEmptyImageListSize);
}

}  // namespace app
