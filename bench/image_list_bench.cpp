// Times the application's list fill: GetFileIconCount, one AddFileIcon per icon into
// one byte set, then GetImageCount; and, in the same run, the bare platform loop
// (ExtractIconA and ImageList_ReplaceIcon per icon).  Prints N and both times.
//   image_list_bench.exe MODULE
//   image_list_bench.exe --generate N OUT.exe [BASE]   (a copy of BASE, or of this
//                                  program, with N icon groups of mixed images)
//   image_list_bench.exe --generate-ne OUT.icl  (a 16-bit icon library of five groups)
//   image_list_bench.exe --show MODULE          (a list view of the icons, for 30 s)
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/platform_loop.h"
#include "components/list_view/empty_image_list.h"
#include "components/list_view/image_list_commands.h"
#include "components/list_view/list_view.h"
#include "components/list_view/list_view_library.h"
#include "formats/byte_reader.h"
#include "runtime/handles.h"
#include "runtime/heap.h"
#include "runtime/runtime_service.h"
#include "tests/icon_modules.h"

namespace {

// Builds the image-list byte set of every icon of the module; returns the image count.
int32_t FillImageList(const char* module, void** variable, int32_t* iconCount) {
  rt::ArgRecord path = rt::TextArg(module);
  rt::ResultRecord result = {};
  comp::GetFileIconCountCommand(&result, 1, &path);
  *iconCount = static_cast<int32_t>(result.value);
  *variable = rt::NewByteSet(comp::kEmptyImageList, comp::kEmptyImageListSize);
  for (int32_t i = 0; i < *iconCount; ++i) {
    rt::ArgRecord args[4] = {rt::RefArg(variable, rt::TagBytes), rt::TextArg(module), rt::IntArg(i), rt::OmittedArg()};
    result = {};
    comp::AddFileIconCommand(&result, 4, args);
  }
  rt::ArgRecord set = rt::RefArg(*variable, rt::TagBytes);
  result = {};
  comp::GetImageCountCommand(&result, 1, &set);
  return static_cast<int32_t>(result.value);
}

bool Generate(int count, const char* out, const char* base) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return iconmodules::WriteIconModule(base ? base : self, out, count);
}

void* g_listView = nullptr;
int32_t __stdcall ShowService(int32_t code, int32_t a1, int32_t a2) {
  if (code == rt::SvcComponentObjectOrFail || code == rt::SvcComponentObject) return static_cast<int32_t>(rt::Word(g_listView));
  return rt::RuntimeService(code, a1, a2);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY) {
    LRESULT r = 0;
    if (rt::WindowObject::ReflectToChild(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, msg, wParam, lParam, &r)) return r;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int Show(const char* module) {
  comp::ListViewLibraryNotify(1, static_cast<int32_t>(rt::Word(reinterpret_cast<const void*>(&ShowService))), 0);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = "BenchFrame";
  RegisterClassA(&wc);
  HWND frame = CreateWindowExA(0, "BenchFrame", module, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 900, 640, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  RECT client;
  GetClientRect(frame, &client);
  comp::ListView* view = comp::ListView::Create(
      {nullptr, 0, WS_VISIBLE, frame, 100, nullptr, 0, 0, client.right, client.bottom, 0x52010001, 1, false});
  g_listView = static_cast<rt::WindowObject*>(view);
  void* images = nullptr;
  int32_t icons = 0;
  const int32_t count = FillImageList(module, &images, &icons);
  rt::PropertyData data = {rt::Word(rt::ByteSetBytes(images)),
                           static_cast<uint32_t>(rt::ByteSetLength(images))};
  view->PropertyChanged(comp::ListView::PImages, data);
  for (int32_t i = 0; i < count; ++i) {
    rt::ArgRecord args[4] = {{0x52010001, 1, rt::TypeListView}, rt::OmittedArg(),
                             rt::TextArg(std::to_string(i + 1).c_str()), rt::IntArg(i)};
    std::string text = std::to_string(i + 1);
    args[2] = rt::TextArg(text.c_str());
    rt::ResultRecord r = {};
    comp::InsertItemCommand(&r, 4, args);
  }
  std::printf("shown %d icons\n", count);
  std::fflush(stdout);
  const DWORD until = GetTickCount() + 30000;
  MSG msg;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
  DestroyWindow(frame);
  rt::FreeMemory(images);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  OleInitialize(nullptr);
  comp::ImageListLibraryNotify(1, static_cast<int32_t>(rt::Word(reinterpret_cast<const void*>(&rt::RuntimeService))), 0);
  if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "--generate") == 0) {
    const int n = std::atoi(argv[2]);
    if (!Generate(n, argv[3], argc == 5 ? argv[4] : nullptr)) {
      std::printf("could not generate %s\n", argv[3]);
      return 1;
    }
    std::printf("generated %s with %d icon groups\n", argv[3], n);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--generate-ne") == 0) {
    const std::vector<uint8_t> library = iconmodules::BuildNeIconLibrary(iconmodules::SampleNeGroups());
    rt::FileHandle f(CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    const bool ok = f.valid() &&
                    WriteFile(f.get(), library.data(), static_cast<DWORD>(library.size()), &written, nullptr) &&
                    written == library.size();
    f.reset();
    std::printf(ok ? "generated %s, an NE icon library\n" : "could not generate %s\n", argv[2]);
    return ok ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "--show") == 0) return Show(argv[2]);
  if (argc != 2) {
    std::printf("usage: image_list_bench MODULE | --generate N OUT.exe [BASE] | --generate-ne OUT.icl | --show MODULE\n");
    return 2;
  }
  void* images = nullptr;
  int32_t icons = 0;
  const double start = bench::Now();
  const int32_t count = FillImageList(argv[1], &images, &icons);
  const double seconds = bench::Now() - start;
  const double platformStart = bench::Now();
  const int32_t platformCount = bench::PlatformLoop(argv[1]);
  const double platformSeconds = bench::Now() - platformStart;
  std::printf("module %s\nN %d\nimages %d\nbytes %d\nseconds %.3f\nplatform loop images %d\nplatform loop seconds %.3f\n",
              argv[1], icons, count, rt::ByteSetLength(images), seconds, platformCount, platformSeconds);
  if (platformSeconds > 0) std::printf("ratio %.2f\n", seconds / platformSeconds);
  rt::FreeMemory(images);
  return count == icons ? 0 : 1;
}
