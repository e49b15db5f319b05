// How routine references in the form description are laid out.
//
// The form description stores each event routine as an offset from the code base
// (ProgramHeader word 3); the runtime adds the code base back when it reads the form.
// The code base is a table of jump stubs, one per routine in the order of Routine, each
// kRoutineStubSize bytes long and jumping to its routine.  So a routine's offset is fixed
// by its place in that order, not by where the linker put the routine, and the form
// description can be written at build time (app/form_writer) before the image is linked.
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

constexpr int32_t kRoutineStubSize = 8;

constexpr int32_t RoutineOffset(Routine routine) { return static_cast<int32_t>(routine) * kRoutineStubSize; }

// The address of the stub table in this image.
uint32_t CodeBase();

}  // namespace app
