// ExtractFileIcon: counts the icon groups of a source file (a module, or an .ico file
// as one group), loads group number n and delivers it to an .ico file, a .bmp file or
// the clipboard.
//
// Arguments: 1 source path (text); 2 target kind (integer: 0 = file in argument 3,
// 1 = clipboard; absent or out of range = 1); 3 target path (text); 4 1-based group
// number (integer; absent or below 1 = 1).
// Result (integer): the number of groups in the source when the group was delivered
// to its target, otherwise 0 - also when the group cannot be loaded, the .ico source
// cannot be read, the target extension is neither .ico nor .bmp, the set has no DIB
// image for the .bmp or clipboard target, or the write fails.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/values.h"

namespace iconres {

enum class TargetKind { File = 0, Clipboard = 1 };

struct ExtractRequest {
  std::string source;
  TargetKind kind = TargetKind::Clipboard;
  std::string target;
  int32_t number = 1;
};

// The request that the four argument records describe.
ExtractRequest DecodeExtractArguments(int32_t argc, const rt::ArgRecord* args);

// Runs one request; the command's result.
int32_t ExtractIconGroup(const ExtractRequest& request);

void __cdecl ExtractFileIcon(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);

}  // namespace iconres
