#include "app/routine_table.h"

#include "app/app_routines.h"

namespace app {
namespace {

template <typename F>
uint32_t AddressOf(F* routine) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(routine));
}

}  // namespace

uint32_t RoutineAddress(Routine routine) {
  switch (routine) {
    case Routine::WindowCreated: return AddressOf(&OnWindowCreated);
    case Routine::BrowseClicked: return AddressOf(&OnBrowseClicked);
    case Routine::LoadClicked: return AddressOf(&OnLoadClicked);
    case Routine::FilesDropped: return AddressOf(&OnFilesDropped);
    case Routine::ListRightClicked: return AddressOf(&OnListRightClicked);
    case Routine::ExtractSelected: return AddressOf(&ExtractSelectedIcons);
    case Routine::ExtractAll: return AddressOf(&ExtractAllIcons);
    case Routine::About: return AddressOf(&OnAbout);
    case Routine::Count: break;
  }
  return 0;
}

uint32_t CodeBase() {
  uint32_t base = UINT32_MAX;
  for (int r = 0; r < static_cast<int>(Routine::Count); ++r) {
    const uint32_t a = RoutineAddress(static_cast<Routine>(r));
    if (a < base) base = a;
  }
  return base;
}

int32_t RoutineOffset(Routine routine) {
  return static_cast<int32_t>(RoutineAddress(routine) - CodeBase());
}

}  // namespace app
