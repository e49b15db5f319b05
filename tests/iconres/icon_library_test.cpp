#include "iconres/icon_library.h"

#include <gtest/gtest.h>

#include "iconres/extract_file_icon.h"
#include "iconres/shortcut.h"
#include "iconres/folder_paths.h"
#include "runtime/heap.h"
#include "tests/suite_labels.h"

using namespace iconres;

PURE_SUITE(IconLibraries);

TEST(IconLibraries, DescriptorsListTheCommandsAndNotifyLinksTheRuntime) {
  const rt::LibraryDescriptor& icons = IconResourceLibrary();
  EXPECT_EQ(icons.formatMark, rt::kLibraryFormatMark);
  ASSERT_EQ(icons.commandCount, 1u);
  EXPECT_EQ(icons.commands[0], reinterpret_cast<const void*>(&ExtractFileIcon));
  EXPECT_EQ(icons.notify, &IconResourceNotify);

  const rt::LibraryDescriptor& shell = ShellLibrary();
  ASSERT_EQ(shell.commandCount, 2u);
  EXPECT_EQ(shell.commands[0], reinterpret_cast<const void*>(&GetSpecialFolder));
  EXPECT_EQ(shell.commands[1], reinterpret_cast<const void*>(&ResolveShortcut));

  // Code 1 hands over RuntimeService; the shell library's texts then come from the
  // runtime heap (FreeMemory releases them).
  int32_t service = rt::LibraryLink::Word(reinterpret_cast<const void*>(&rt::RuntimeService));
  EXPECT_EQ(shell.notify(1, service, 0), 0);
  EXPECT_EQ(icons.notify(1, service, 0), 0);
  EXPECT_TRUE(ShellLink().Linked());
  EXPECT_TRUE(IconResourceLink().Linked());
  char* text = ShellLink().NewText("abc");
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "abc");
  rt::FreeMemory(text);
}
