// The icon resources of a module file, read by the module reader (module_resources.h)
// through a cache of the last module read.
//
// The cache is keyed by the full path, the size and the last-write time of the file
// (and of the .mun file it was redirected to); a file that changes is read again.  The
// file is opened for shared read, write and delete access, read and closed again, so
// the user can rename, replace or delete it while the tool runs.
//
// Memory: the cache holds one module's icon directories and distinct images.  A module
// whose icon data is larger than kMaxCachedIconBytes is read for each call and not
// kept; the reader refuses modules whose icon data exceeds kMaxModuleIconBytes.
//
// Current Windows versions keep the icons of many system modules in
// <Windows folder>\SystemResources\<file name>.mun; a module without icon groups is
// read from that file when it exists.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "formats/icons/module_resources.h"

namespace iconres {

constexpr uint64_t kMaxCachedIconBytes = 64u << 20;

// The icons of the module at path; null when the file cannot be read (or is no file on
// disk) or is not a module that the reader reads.  For a damaged module, `damage` then
// says what is damaged (ReadModuleIcons).  Safe to call from several threads.
std::shared_ptr<const ModuleIcons> CachedModuleIcons(const std::string& path, std::string* damage = nullptr);
// The order in which this thread's resource lookup takes a resource's languages.
LanguageOrder PlatformLanguageOrder();
// The same read, from the file itself every time, neither using nor filling the
// cache: for callers that read many files at once from several threads.
std::shared_ptr<const ModuleIcons> ReadModuleIconsUncached(const std::string& path, std::string* damage = nullptr);

// Empties the cache (tests, and callers that want the memory back).
void ForgetCachedModule();

}  // namespace iconres
