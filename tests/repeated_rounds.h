// The application's two jobs done over and over, for the checks that they leave
// nothing behind: one round loads a module's icons into a list view as the load
// routine does (GetFileIconCount, AddFileIcon per icon into a fresh copy of the empty
// image list, the list view's Images property, GetImageCount, one item per image) and
// extracts icon groups to .ico files with ExtractFileIcon as the extraction routine
// does; and the process's resource levels between rounds.
//
// The platform's own counts (GetProcessHandleCount, GetGuiResources, PrivateUsage)
// read 0 under Wine, so the levels also hold two figures that Wine does give: the
// kernel handles counted one by one, and PagefileUsage.
#pragma once
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "components/list_view/empty_image_list.h"
#include "components/list_view/image_list_commands.h"
#include "components/list_view/list_view.h"
#include "components/list_view/list_view_library.h"
#include "iconres/extract_file_icon.h"
#include "runtime/heap.h"
#include "runtime/library_link.h"
#include "runtime/runtime_service.h"
#include "runtime/values.h"
#include "test_window.h"

namespace rounds {

struct Levels {
  DWORD handles = 0;         // GetProcessHandleCount
  DWORD countedHandles = 0;  // valid kernel handle values
  DWORD gdiObjects = 0;      // GetGuiResources
  DWORD userObjects = 0;
  SIZE_T privateBytes = 0;   // PrivateUsage
  SIZE_T pagefileBytes = 0;  // PagefileUsage
};

// Kernel handle values are multiples of 4 and are handed out lowest free first, so
// the open ones lie below the last valid value found before a run of 4096 free ones.
inline DWORD CountOpenHandles() {
  DWORD count = 0, flags = 0;
  uintptr_t last = 0;
  for (uintptr_t v = 4; v < last + 4 * 4096; v += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(v), &flags)) {
      ++count;
      last = v;
    }
  }
  return count;
}

inline Levels Measure() {
  Levels l;
  GetProcessHandleCount(GetCurrentProcess(), &l.handles);
  l.countedHandles = CountOpenHandles();
  l.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  l.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  PROCESS_MEMORY_COUNTERS_EX m = {};
  m.cb = sizeof m;
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m)) {
    l.privateBytes = m.PrivateUsage;
    l.pagefileBytes = m.PagefileUsage;
  }
  return l;
}

// What rose above base: each figure that grew, with both values; empty when none did.
// Handles and objects get no slack; memory may grow by memorySlack bytes.
inline std::string Growth(const Levels& base, const Levels& now, SIZE_T memorySlack) {
  std::string out;
  auto check = [&out](const char* name, unsigned long long was, unsigned long long is, unsigned long long slack) {
    if (is > was + slack) out += std::string(name) + " " + std::to_string(was) + " -> " + std::to_string(is) + "; ";
  };
  check("handles", base.handles, now.handles, 0);
  check("counted handles", base.countedHandles, now.countedHandles, 0);
  check("GDI objects", base.gdiObjects, now.gdiObjects, 0);
  check("USER objects", base.userObjects, now.userObjects, 0);
  check("private bytes", base.privateBytes, now.privateBytes, memorySlack);
  check("pagefile bytes", base.pagefileBytes, now.pagefileBytes, memorySlack);
  return out;
}

inline void Print(int round, const Levels& l) {
  std::printf("round %3d: handles %lu (counted %lu), GDI %lu, USER %lu, private bytes %lu, pagefile bytes %lu\n",
              round, static_cast<unsigned long>(l.handles), static_cast<unsigned long>(l.countedHandles),
              static_cast<unsigned long>(l.gdiObjects), static_cast<unsigned long>(l.userObjects),
              static_cast<unsigned long>(l.privateBytes), static_cast<unsigned long>(l.pagefileBytes));
  std::fflush(stdout);
}

// A hidden frame holding a large-icon list view like the application's, with the
// list-view and image-list libraries notified of a runtime service that answers the
// component lookups with this list.  One at a time.
class Rounds {
 public:
  static constexpr uint32_t kWindowId = 0x52010001;
  static constexpr uint32_t kComponentId = 0x16010005;

  Rounds(std::string module, std::string folder) : module_(std::move(module)), folder_(std::move(folder)) {
    current_ = this;
    const int32_t service = rt::LibraryLink::Word(reinterpret_cast<const void*>(&Service));
    comp::ListViewLibraryNotify(1, service, 0);
    comp::ImageListLibraryNotify(1, service, 0);
    frame_ = testing_support::CreateTestWindow("RepeatedRoundsFrame", FrameProc, WS_OVERLAPPEDWINDOW, 640, 480,
                                               "rounds");
    if (frame_)
      view_ = comp::ListView::Create(
          {nullptr, 0, WS_VISIBLE, frame_, 100, nullptr, 0, 0, 620, 440, kWindowId, kComponentId, false});
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  ~Rounds() {
    if (frame_) DestroyWindow(frame_);  // takes the list with it
    for (int32_t n = 1; n <= kMaxGroups; ++n) DeleteFileA(IconFile(n).c_str());
    RemoveDirectoryA(folder_.c_str());
    current_ = nullptr;
  }
  Rounds(const Rounds&) = delete;
  Rounds& operator=(const Rounds&) = delete;

  bool ready() const { return view_ != nullptr; }
  int32_t itemCount() const { return view_ ? view_->ItemCount() : -1; }

  // Loads the module's icons into the list; returns the image count of the list,
  // -1 when the module has no icons.
  int32_t LoadIcons() {
    rt::ArgRecord path = rt::TextArg(module_.c_str());
    rt::ResultRecord result = {};
    comp::GetFileIconCountCommand(&result, 1, &path);
    const int32_t count = static_cast<int32_t>(result.value);
    if (count <= 0) return -1;
    void* images = rt::NewByteSet(comp::kEmptyImageList, comp::kEmptyImageListSize);
    for (int32_t i = 0; i < count; ++i) {
      rt::ArgRecord args[4] = {rt::RefArg(&images, rt::TagBytes), rt::TextArg(module_.c_str()), rt::IntArg(i),
                               rt::OmittedArg()};
      result = {};
      comp::AddFileIconCommand(&result, 4, args);
    }
    rt::ArgRecord list = {kWindowId, kComponentId, rt::TypeListView};
    result = {};
    comp::DeleteAllItemsCommand(&result, 1, &list);
    const rt::PropertyData data = {static_cast<uint32_t>(rt::LibraryLink::Word(rt::ByteSetBytes(images))),
                                   static_cast<uint32_t>(rt::ByteSetLength(images))};
    view_->PropertyChanged(comp::ListView::PImages, data);
    rt::ArgRecord set = rt::RefArg(images, rt::TagBytes);
    result = {};
    comp::GetImageCountCommand(&result, 1, &set);
    const int32_t n = static_cast<int32_t>(result.value);
    for (int32_t i = 0; i < n; ++i) {
      const std::string caption = std::to_string(i + 1);
      rt::ArgRecord args[7] = {list, rt::OmittedArg(), rt::TextArg(caption.c_str()), rt::IntArg(i),
                               rt::OmittedArg(), rt::OmittedArg(), rt::OmittedArg()};
      result = {};
      comp::InsertItemCommand(&result, 7, args);
    }
    rt::FreeMemory(images);
    Pump();
    return n;
  }

  // Writes groups 1..groups to folder\icon-<n>.ico (from the second round on, over
  // the files of the round before); returns how many calls answered with the
  // module's group count and left a file with more than a header.
  int32_t ExtractGroups(int32_t groups) {
    int32_t written = 0, total = 0;
    for (int32_t n = 1; n <= groups && n <= kMaxGroups; ++n) {
      const std::string target = IconFile(n);
      rt::ArgRecord args[4] = {rt::TextArg(module_.c_str()), rt::IntArg(0), rt::TextArg(target.c_str()),
                               rt::IntArg(n)};
      rt::ResultRecord result = {};
      iconres::ExtractFileIcon(&result, 4, args);
      const int32_t count = static_cast<int32_t>(result.value);
      if (n == 1) total = count;
      WIN32_FILE_ATTRIBUTE_DATA file;
      if (count > 0 && count == total && GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &file) &&
          (file.nFileSizeHigh > 0 || file.nFileSizeLow > 22))
        ++written;
    }
    return written;
  }

  // The files in the folder: the icon files and anything else a write left there.
  int32_t FilesInFolder() const {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int32_t n = 0;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return n;
  }

  std::string IconFile(int32_t n) const { return folder_ + "\\icon-" + std::to_string(n) + ".ico"; }

  static constexpr int32_t kMaxGroups = 100;

 private:
  static int32_t __stdcall Service(int32_t code, int32_t a1, int32_t a2) {
    if (code == rt::SvcComponentObject || code == rt::SvcComponentObjectOrFail)
      return rt::LibraryLink::Word(current_ ? static_cast<rt::WindowObject*>(current_->view_) : nullptr);
    return rt::RuntimeService(code, a1, a2);
  }
  static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
      LRESULT r = 0;
      if (rt::WindowObject::ReflectToChild(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, msg, wParam, lParam, &r)) return r;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  // The load routine lets messages through between icons; one pass at the end does
  // the same work here.
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  static inline Rounds* current_ = nullptr;
  std::string module_, folder_;
  HWND frame_ = nullptr;
  comp::ListView* view_ = nullptr;
};

}  // namespace rounds
