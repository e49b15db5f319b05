// FileTitleOf: the file name of a path without its folder and extension.
#include "app/app_routines.h"
#include "app/program_calls.h"
#include "runtime/text_commands.h"

namespace app {

char* FileTitleOf(char** path) {
  if (IsEmptyText(*path)) return nullptr;
  // A buffer of MAX_PATH blanks (MAX_PATH + 1 bytes), of which the platform may use
  // MAX_PATH: no title can be written past it.
  OwnedText buffer(TextResult(Kernel(&rt::BlankText, {Int(MAX_PATH)})));
  // Non-zero: failure, or the size a longer title would need; nothing usable then.
  if (Dll(DllFileTitle, *path, buffer.get(), MAX_PATH) != 0) return nullptr;
  Dll(DllRemoveExtension, buffer.get());
  return CopyText(buffer.get());
}

}  // namespace app
