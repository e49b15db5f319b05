#include "iconres/folder_paths.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "iconres/icon_library.h"
#include "runtime/heap.h"
#include "runtime/runtime_service.h"
#include "tests/suite_labels.h"

using namespace iconres;

namespace {

// Calls the command with program code's discipline; returns the text and frees it.
std::string CallGetSpecialFolder(const rt::ArgRecord* arg) {
  ShellNotify(1, rt::LibraryLink::Word(reinterpret_cast<const void*>(&rt::RuntimeService)), 0);
  rt::ArgRecord args[1] = {arg ? *arg : rt::OmittedArg()};
  rt::ResultRecord result = {0xdeadbeef, 0xdeadbeef, 0};
  rt::CommandFunction command = &GetSpecialFolder;
  command(&result, arg ? 1 : 0, args);
  EXPECT_EQ(result.tag, rt::TagText);
  char* text = static_cast<char*>(rt::LibraryLink::Pointer(static_cast<int32_t>(result.value)));
  std::string s = text ? text : "";
  EXPECT_TRUE(text == nullptr || !s.empty()) << "the empty text is null";
  rt::FreeMemory(text);
  return s;
}

std::string SelectedFolder(int32_t selector) {
  rt::ArgRecord a = rt::IntArg(selector);
  return CallGetSpecialFolder(&a);
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

PURE_SUITE(SpecialFolder);

TEST(SpecialFolder, EveryFolderEndsInOneBackslash) {
  for (int32_t s = 1; s <= 11; ++s) {
    std::string path = SelectedFolder(s);
    SCOPED_TRACE("selector " + std::to_string(s) + ": " + path);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '\\');
    EXPECT_NE(path.substr(path.size() - 2), "\\\\");
  }
  char windows[MAX_PATH], system[MAX_PATH], temp[MAX_PATH], desktop[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  GetSystemDirectoryA(system, MAX_PATH);
  GetTempPathA(MAX_PATH, temp);
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
  EXPECT_EQ(SelectedFolder(9), std::string(windows) + "\\");
  EXPECT_EQ(SelectedFolder(10), std::string(system) + "\\");
  EXPECT_EQ(SelectedFolder(11), temp);  // already ends in a backslash
  EXPECT_EQ(SelectedFolder(3), std::string(desktop) + "\\");
  EXPECT_TRUE(IsFolder(SelectedFolder(3)));
  EXPECT_NE(SelectedFolder(1), SelectedFolder(3));
}

TEST(SpecialFolder, OtherSelectorsGiveTheEmptyText) {
  EXPECT_EQ(SelectedFolder(0), "");
  EXPECT_EQ(SelectedFolder(12), "");
  EXPECT_EQ(SelectedFolder(-1), "");
  EXPECT_EQ(CallGetSpecialFolder(nullptr), "");  // no argument reads as 0
  rt::ArgRecord omitted = rt::OmittedArg();
  EXPECT_EQ(CallGetSpecialFolder(&omitted), "");
}

// Directory functions that report paths of 259 and 300 characters: the whole path is
// returned, with its backslash, never a truncated one.
namespace {
template <size_t N>
unsigned int FakeDirectory(char* buffer, unsigned int size) {
  if (size < N + 1) return N + 1;  // too small: the size needed
  std::memset(buffer, 'd', N);
  buffer[0] = 'C';
  buffer[1] = ':';
  buffer[2] = '\\';
  buffer[N] = 0;
  return N;
}
unsigned int FailingDirectory(char*, unsigned int) { return 0; }
}  // namespace

TEST(SpecialFolder, LongPathsAreNeverTruncated) {
  std::string p259 = WholeDirectory(&FakeDirectory<259>);
  ASSERT_EQ(p259.size(), 259u);
  std::string with = WithTrailingBackslash(p259);
  EXPECT_EQ(with.size(), 260u);
  EXPECT_EQ(with.substr(0, 259), p259);
  EXPECT_EQ(with.back(), '\\');
  std::string p300 = WholeDirectory(&FakeDirectory<300>);
  EXPECT_EQ(p300.size(), 300u);
  EXPECT_EQ(p300.substr(0, 3), "C:\\");
  EXPECT_EQ(WholeDirectory(&FailingDirectory), "");
}

TEST(SpecialFolder, TrailingBackslashRule) {
  EXPECT_EQ(WithTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\x"), "C:\\x\\");
  EXPECT_EQ(WithTrailingBackslash(""), "");
  // A two-byte character whose second byte is 0x5C is no separator.
  EXPECT_EQ(WithTrailingBackslash("C:\\\x95\x5C"), "C:\\\x95\x5C\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\\x95\x5C\\"), "C:\\\x95\x5C\\");
}
