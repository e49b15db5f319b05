// Stand-in for the kernel library's link until the kernel library itself is merged.
#include "components/kernel_link.h"

namespace comp {

rt::LibraryLink& KernelLink() {
  static rt::LibraryLink link;
  return link;
}

}  // namespace comp
