#include "iconres/extract_file_icon.h"

#include <optional>

#include "iconres/bmp_writer.h"
#include "iconres/clipboard_writer.h"
#include "iconres/ico_reader.h"
#include "iconres/ico_writer.h"
#include "iconres/module_cache.h"
#include "iconres/path_text.h"

namespace iconres {
namespace {

bool Given(int32_t argc, const rt::ArgRecord* args, int32_t index) {
  return args && index < argc && !rt::IsOmitted(args[index]);
}

// What the source is, from its last three characters alone (no dot is looked for).
enum class SourceKind { None, IconFile, Module };

SourceKind SourceKindOf(const std::string& path) {
  std::string tail = LastThreeLower(path);
  if (tail == "ico") return SourceKind::IconFile;
  if (tail == "exe" || tail == "dll" || tail == "icl") return SourceKind::Module;
  return SourceKind::None;
}

bool Deliver(const IconImageSet& set, const ExtractRequest& request) {
  if (request.kind == TargetKind::Clipboard) {
    const IconImageEntry* dib = set.FirstDib();
    return dib && CopyImageToClipboard(*dib);
  }
  std::string tail = LastThreeLower(request.target);
  if (tail == "ico") return WriteIconFile(set, request.target);
  if (tail == "bmp") {
    const IconImageEntry* dib = set.FirstDib();
    return dib && WriteBitmapFile(*dib, request.target);
  }
  return false;
}

}  // namespace

ExtractRequest DecodeExtractArguments(int32_t argc, const rt::ArgRecord* args) {
  ExtractRequest r;
  if (Given(argc, args, 0)) r.source = rt::TextOf(args[0]);
  if (Given(argc, args, 1)) {
    int32_t kind = static_cast<int32_t>(args[1].value);
    r.kind = kind == 0 ? TargetKind::File : TargetKind::Clipboard;
  }
  if (Given(argc, args, 2)) r.target = rt::TextOf(args[2]);
  if (Given(argc, args, 3)) r.number = static_cast<int32_t>(args[3].value);
  if (r.number < 1) r.number = 1;
  return r;
}

int32_t ExtractIconGroup(const ExtractRequest& request) {
  if (request.kind == TargetKind::File && request.target.empty()) return 0;

  std::optional<IconImageSet> set;
  int32_t count = 0;
  switch (SourceKindOf(request.source)) {
    case SourceKind::IconFile:
      // An icon file is one group; one that cannot be read delivers nothing.
      set = ReadIconFile(request.source);
      count = set ? 1 : 0;
      break;
    case SourceKind::Module: {
      std::shared_ptr<const ModuleIcons> icons = CachedModuleIcons(request.source);
      count = icons ? static_cast<int32_t>(icons->groups.size()) : 0;
      if (count == 0 || request.number > count) return 0;
      set = MakeIconImageSet(icons, static_cast<size_t>(request.number - 1));
      break;
    }
    case SourceKind::None:
      return 0;
  }
  if (count == 0 || request.number > count || !set) return 0;
  return Deliver(*set, request) ? count : 0;
}

void __cdecl ExtractFileIcon(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  int32_t count = 0;
  try {
    count = ExtractIconGroup(DecodeExtractArguments(argc, args));
  } catch (...) {
    count = 0;  // no exception leaves a command; running out of memory delivers nothing
  }
  result->value = static_cast<uint32_t>(count);
  result->high = 0;
  result->tag = rt::TagInt;
}

}  // namespace iconres
