// Identifiers of the main window's elements and the program's DLL command numbers, as
// the form description and the routines name them.  The component type ids are the
// runtime's (rt::TypeWindow, ...).
#pragma once
#include <cstdint>

#include "runtime/program_image.h"

namespace app {

constexpr uint32_t kMainWindow = 0x52010001;

// Element ids (top four bits: 0 window, 1 component, 2 menu item).
constexpr uint32_t kWindowElement = 0x06010000;
constexpr uint32_t kBrandLabel = 0x16010194;      // 标签3
constexpr uint32_t kStatusLabel = 0x1601015c;     // 标签2
constexpr uint32_t kPromptLabel = 0x160100e3;     // 标签1
constexpr uint32_t kBrowseButton = 0x160100de;    // 按钮1
constexpr uint32_t kPathEdit = 0x160100dd;        // 编辑框1
constexpr uint32_t kContextMenu = 0x260100d9;     // 右键菜单 (hidden top-level item)
constexpr uint32_t kExtractSelectedItem = 0x260100da;
constexpr uint32_t kSeparator1 = 0x260100db;
constexpr uint32_t kExtractAllItem = 0x260100dc;
constexpr uint32_t kSeparator2 = 0x2601019a;
constexpr uint32_t kAboutItem = 0x26010199;
constexpr uint32_t kDropTarget = 0x16010051;      // 拖放对象1
constexpr uint32_t kOpenDialog = 0x16010024;      // 通用对话框
constexpr uint32_t kLoadButton = 0x16010008;      // 图像_打开文件
constexpr uint32_t kIconList = 0x16010009;        // 超级列表框1

// Property indices (0..7 are common to every component; a menu item has 0..3).
constexpr int32_t kPropCaption = 8;           // Label caption, EditBox content
constexpr int32_t kPropLabelTextColour = 16;
constexpr int32_t kPropListImages = 24;
constexpr int32_t kPropDialogType = 8;
constexpr int32_t kPropDialogTitle = 9;
constexpr int32_t kPropDialogFileName = 10;
constexpr int32_t kPropDialogFilter = 11;
constexpr int32_t kPropAcceptFiles = 11;
constexpr int32_t kPropMenuDisabled = 2;
constexpr int32_t kWholeValue = -1;

// DLL command numbers, in the order of the program's declarations.
enum DllCommand : uint32_t {
  DllBrowseForFolder = 0,   // SHBrowseForFolderA
  DllPathFromIdList = 1,    // SHGetPathFromIDListA
  DllSendMessage = 2,       // SendMessageA
  DllFileTitle = 3,         // GetFileTitleA
  DllRemoveExtension = 4,   // PathRemoveExtensionA
  DllTimedMessageBox = 5,   // MessageBoxTimeoutA
  DllFindExtension = 6,     // PathFindExtensionA
  DllFindExecutable = 7,    // FindExecutableA
  kDllCommandCount = 8,
};

}  // namespace app
