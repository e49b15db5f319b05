#include "runtime/kernel_commands.h"

#include <windows.h>

#include <string>

#include "runtime/handles.h"
#include "runtime/message_loop.h"
#include "runtime/runtime_service.h"
#include "runtime/text_commands.h"
#include "runtime/values.h"
#include "runtime/window_object.h"

namespace rt {
namespace {

const ArgRecord* Arg(int32_t argc, ArgRecord* args, int32_t i) {
  return (args && i < argc) ? &args[i] : nullptr;
}

bool ShowsAsText(uint32_t tag) {
  switch (tag) {
    case TagByte: case TagShort: case TagInt: case TagLong: case TagFloat: case TagDouble:
    case TagBool: case TagDateTime: case TagText:
      return true;
    default:
      return false;
  }
}

}  // namespace

void __cdecl GetWindowHandle(ResultRecord* result, int32_t argc, ArgRecord* args) {
  const ArgRecord* ref = Arg(argc, args, 0);
  HWND hwnd = nullptr;
  if (ref) {
    int32_t object = RuntimeService(SvcComponentObjectOrFail, static_cast<int32_t>(ref->value),
                                    static_cast<int32_t>(ref->high));
    if (object) hwnd = PointerOf<WindowObject>(static_cast<uint32_t>(object))->hwnd();
  }
  rt::SetIntResult(result, static_cast<int32_t>(Word(hwnd)));
}

void __cdecl FileExists(ResultRecord* result, int32_t argc, ArgRecord* args) {
  const ArgRecord* pathArg = Arg(argc, args, 0);
  const char* path = pathArg ? TextOf(*pathArg) : "";
  bool found = false;
  if (*path) {
    WIN32_FIND_DATAA data;
    found = FindHandle(FindFirstFileA(path, &data)).valid();
  }
  result->value = found ? 1 : 0;
  result->high = 0;
  result->tag = TagBool;
}

int32_t InfoBoxAnswer(int answer) {
  // IDOK 1 .. IDNO 7 become 0 .. 6.
  return (answer >= IDOK && answer <= IDNO) ? answer - 1 : 0;
}

void __cdecl InfoBox(ResultRecord* result, int32_t argc, ArgRecord* args) {
  const ArgRecord* valueArg = Arg(argc, args, 0);
  const ArgRecord* styleArg = Arg(argc, args, 1);
  const ArgRecord* captionArg = Arg(argc, args, 2);
  std::string text = (valueArg && ShowsAsText(valueArg->tag)) ? ValueText(*valueArg) : std::string();
  UINT style = styleArg ? styleArg->value : 0;
  if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
  const char* caption = (captionArg && !IsOmitted(*captionArg)) ? TextOf(*captionArg) : "信息：";
  rt::SetIntResult(result, InfoBoxAnswer(MessageBoxA(nullptr, text.c_str(), caption, style)));
}

void __cdecl ProcessEvents(ResultRecord* /*result*/, int32_t /*argc*/, ArgRecord* /*args*/) {
  PumpWaitingMessages();
}

}  // namespace rt
