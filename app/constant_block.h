// The program's constant block: the empty image list as a byte set and every text that
// the routines pass without copying.  The runtime registers the block as a static
// range, so FreeMemory ignores a constant that a routine stored into a variable.
#pragma once
#include <cstddef>
#include <cstdint>

namespace app {

// name, text (UTF-8 here, code page 936 in the program).
#define APP_CONSTANT_TEXTS(X)                                                               \
  X(empty, "")                                                                              \
  X(extExe, ".exe")                                                                         \
  X(extDll, ".dll")                                                                         \
  X(extOcx, ".ocx")                                                                         \
  X(extIcl, ".icl")                                                                         \
  X(noIcons, "这个文件里没有图标，请另外选择一个文件！")                                    \
  X(searching, "正在查找，请稍等...")                                                       \
  X(searchDone, "查找完成，图标总数： ")                                                    \
  X(openFilter, "所有文件(*.*)|*.*")                                                        \
  X(openTitle, "打开资源文件")                                                              \
  X(lineBreak, "\r\n")                                                                      \
  X(folderTitle, "请选择要保存的目录 (图标将被提取到 目录\\1.ico 2.ico....)")               \
  X(defaultFolderTitle, "请选择一个文件夹")                                                 \
  X(backslash, "\\")                                                                        \
  X(dash, "-")                                                                              \
  X(icoExtension, ".ico")                                                                   \
  X(allTotal, "一共提取了 ")                                                                \
  X(allIcons, " 个图标，")                                                                  \
  X(allWritten, " 个成功，")                                                                \
  X(allFailed, " 个失败。\r\n      本窗口2秒后自动关闭")                                    \
  X(selectedTotal, "共提取 ")                                                               \
  X(selectedIcons, " 个图标, ")                                                             \
  X(selectedWritten, " 个提取成功!\r\n      本窗口2秒后自动关闭")                           \
  X(messageCaption, "提示：")                                                               \
  X(aboutText,                                                                              \
    "程序作者：＜Tarvek＞\r\n联系方式：iconextractor@example.com\r\n制作日期：2012年12月2日 22:28:30")

struct ConstantBlock {
  // The empty image list as a byte-set block {1, length, bytes}; every load starts its
  // image list as a copy of it.
  int32_t emptyImageListMark = 1;
  int32_t emptyImageListLength = 73;
  uint8_t emptyImageList[73] = {};
#define APP_DECLARE_TEXT(name, text) char name[sizeof(text)] = text;
  APP_CONSTANT_TEXTS(APP_DECLARE_TEXT)
#undef APP_DECLARE_TEXT
};

// The block itself; its image-list bytes are filled by PrepareConstantBlock.
ConstantBlock& Constants();
void PrepareConstantBlock();
// The byte-set block of the empty image list.
inline const void* EmptyImageListSet() { return &Constants().emptyImageListMark; }

}  // namespace app
