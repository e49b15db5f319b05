// ShowTimedMessage: an information box that closes itself after the given time.
// MessageBoxTimeoutA closes the box on Windows; Wine ignores its timeout, so a timer
// of this thread also closes the box that this call opened when the time is up.
#include <windows.h>

#include <map>
#include <set>
#include <string>

#include "app/app_routines.h"
#include "app/program_calls.h"

namespace app {
namespace {

constexpr int32_t kInformationStyle = 64;  // MB_ICONINFORMATION with one OK button
constexpr UINT kRetryInterval = 100;       // when the box is not up yet

struct PendingBox {
  std::string caption;
  std::set<HWND> earlierBoxes;  // boxes of this thread that were open before the call
};
std::map<UINT_PTR, PendingBox>& Pending() {
  static std::map<UINT_PTR, PendingBox> pending;
  return pending;
}

bool IsDialogBox(HWND w) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  return std::string(cls) == "#32770";
}

BOOL CALLBACK CollectBox(HWND w, LPARAM boxes) {
  if (IsDialogBox(w)) reinterpret_cast<std::set<HWND>*>(boxes)->insert(w);
  return TRUE;
}

std::set<HWND> ThreadBoxes() {
  std::set<HWND> boxes;
  EnumThreadWindows(GetCurrentThreadId(), &CollectBox, reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

void CALLBACK CloseTimedBox(HWND, UINT, UINT_PTR timer, DWORD) {
  auto it = Pending().find(timer);
  if (it == Pending().end()) {
    KillTimer(nullptr, timer);
    return;
  }
  for (HWND box : ThreadBoxes()) {
    if (it->second.earlierBoxes.count(box)) continue;
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof caption);
    if (it->second.caption != caption) continue;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    KillTimer(nullptr, timer);
    Pending().erase(it);
    return;
  }
  SetTimer(nullptr, timer, kRetryInterval, &CloseTimedBox);  // not up yet: look again soon
}

}  // namespace

void ShowTimedMessage(char** message, char** caption, int32_t milliseconds) {
  char* defaultCaption = Constants().messageCaption;
  char** captionVariable = caption ? caption : &defaultCaption;

  const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds > 0 ? milliseconds : 1), &CloseTimedBox);
  if (timer) Pending()[timer] = PendingBox{*captionVariable ? *captionVariable : "", ThreadBoxes()};
  Dll(DllTimedMessageBox, nullptr, *message, *captionVariable, kInformationStyle, 0, milliseconds);
  if (timer) {  // the box has closed already (on Windows by its own timeout)
    KillTimer(nullptr, timer);
    Pending().erase(timer);
  }
}

}  // namespace app
