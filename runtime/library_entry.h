// The descriptor of a library, built from named fields: LibraryEntry fills in the format
// mark, identifier, display name, description, version, language and LibraryNotify;
// WithTypes and WithCommands add the type and command tables, counted from the arrays.
// Every other field stays empty.  The one way every library builds its descriptor.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/program_image.h"

namespace rt {

struct LibraryVersion {
  uint32_t major, minor, build;
};

constexpr LibraryDescriptor LibraryEntry(const char* identifier, const char* displayName, LibraryVersion version,
                                         LibraryNotifyFn notify, const char* description = nullptr) {
  LibraryDescriptor d = {};
  d.formatMark = kLibraryFormatMark;
  d.identifier = identifier;
  d.major = version.major;
  d.minor = version.minor;
  d.build = version.build;
  d.displayName = displayName;
  d.language = 1;
  d.description = description;
  d.notify = notify;
  return d;
}

// The extension libraries require system 3.0 and kernel library 3.0.
constexpr LibraryDescriptor ExtensionLibraryEntry(const char* identifier, const char* displayName,
                                                  LibraryVersion version, LibraryNotifyFn notify) {
  LibraryDescriptor d = LibraryEntry(identifier, displayName, version, notify);
  d.requiredSystemMajor = 3;
  d.requiredKernelMajor = 3;
  return d;
}

template <size_t N>
constexpr LibraryDescriptor WithTypes(LibraryDescriptor d, const ComponentTypeInfo (&types)[N]) {
  d.typeCount = static_cast<uint32_t>(N);
  d.types = types;
  return d;
}

// A library of one type.
constexpr LibraryDescriptor WithTypes(LibraryDescriptor d, const ComponentTypeInfo& onlyType) {
  d.typeCount = 1;
  d.types = &onlyType;
  return d;
}

// The command functions (CommandFunction) in the library's command order.
template <size_t N>
constexpr LibraryDescriptor WithCommands(LibraryDescriptor d, const void* const (&commands)[N]) {
  d.commandCount = static_cast<uint32_t>(N);
  d.commands = commands;
  return d;
}

}  // namespace rt
