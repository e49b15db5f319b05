// How routine references in the form description are laid out.
//
// The form description stores each event routine as an offset from the code base
// (ProgramHeader word 3); the runtime adds the code base back when it reads the form.
// The code base is the lowest address among the application's event routines, so
// every offset is a small non-negative number (never the -1 that means "no routine").
// The form description is written when the program starts, from the addresses the
// linker gave these routines, so the offsets are always those of this very image.
#pragma once
#include <cstdint>

namespace app {

enum class Routine : int {
  WindowCreated,     // window event 0
  BrowseClicked,     // 按钮1 event 0
  LoadClicked,       // 图像_打开文件 event 0
  FilesDropped,      // 拖放对象1 event 3
  ListRightClicked,  // 超级列表框1 event 5
  ExtractSelected,   // menu item 提取选中图标(&S)
  ExtractAll,        // menu item 提取所有图标(&L)
  About,             // menu item 关于(&A)
  Count,
};

uint32_t RoutineAddress(Routine routine);
uint32_t CodeBase();
int32_t RoutineOffset(Routine routine);

}  // namespace app
