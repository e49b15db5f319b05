// The descriptor of a component library, built from named fields: LibraryEntry fills in
// the format mark, identifier, display name, version, language and LibraryNotify, and
// leaves the rest empty for the library to add its types and commands.
#pragma once
#include <cstdint>

#include "runtime/program_image.h"

namespace comp {

struct LibraryVersion {
  uint32_t major, minor, build;
};

constexpr rt::LibraryDescriptor LibraryEntry(const char* identifier, const char* displayName, LibraryVersion version,
                                             rt::LibraryNotifyFn notify) {
  rt::LibraryDescriptor d = {};
  d.formatMark = rt::kLibraryFormatMark;
  d.identifier = identifier;
  d.major = version.major;
  d.minor = version.minor;
  d.build = version.build;
  d.displayName = displayName;
  d.language = 1;
  d.notify = notify;
  return d;
}

// The extension libraries require system 3.0 and kernel library 3.0.
constexpr rt::LibraryDescriptor ExtensionLibraryEntry(const char* identifier, const char* displayName,
                                                      LibraryVersion version, rt::LibraryNotifyFn notify) {
  rt::LibraryDescriptor d = LibraryEntry(identifier, displayName, version, notify);
  d.requiredSystemMajor = 3;
  d.requiredKernelMajor = 3;
  return d;
}

}  // namespace comp
