#include "iconres/module_cache.h"

#include <windows.h>

#include <mutex>
#include <optional>
#include <vector>

#include "runtime/handles.h"

namespace iconres {

LanguageOrder PlatformLanguageOrder() {
  return ResourceLanguageOrder(LANGIDFROMLCID(GetThreadLocale()), GetUserDefaultLangID(), GetSystemDefaultLangID());
}

namespace {

// What identifies one version of a file: absent, or its size and last-write time.
struct FileStamp {
  bool exists = false;
  uint64_t size = 0;
  uint64_t written = 0;
  bool operator==(const FileStamp& o) const { return exists == o.exists && size == o.size && written == o.written; }
};

uint64_t Join(DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; }

FileStamp StampOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d) || (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return {};
  return {true, Join(d.nFileSizeHigh, d.nFileSizeLow),
          Join(d.ftLastWriteTime.dwHighDateTime, d.ftLastWriteTime.dwLowDateTime)};
}

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 2];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

// <Windows folder>\SystemResources\<file name>.mun
std::string MunPathOf(const std::string& fullPath) {
  char windows[MAX_PATH];
  const UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  const size_t slash = fullPath.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
  return std::string(windows, n) + "\\SystemResources\\" + name + ".mun";
}

class FileSource : public ByteSource {
 public:
  FileSource(HANDLE file, uint64_t size) : file_(file), size_(size) {}
  uint64_t size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* out, size_t n) override {
    if (offset > size_ || n > size_ - offset) return false;
    uint8_t* p = static_cast<uint8_t*>(out);
    while (n > 0) {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      const DWORD want = static_cast<DWORD>(n < (1u << 30) ? n : (1u << 30));
      DWORD got = 0;
      if (!ReadFile(file_, p, want, &got, &at) || got == 0) return false;
      p += got;
      offset += got;
      n -= got;
    }
    return true;
  }

 private:
  HANDLE file_;
  uint64_t size_;
};

// Reads the module's icons; the stamp is that of the bytes that were read.  Only a
// file on disk is read: a device or a pipe could block the reads.
std::shared_ptr<const ModuleIcons> ReadModuleFile(const std::string& path, FileStamp* stamp, std::string* damage) {
  rt::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return nullptr;
  *stamp = {true, Join(info.nFileSizeHigh, info.nFileSizeLow),
            Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
  FileSource source(file.get(), stamp->size);
  std::optional<ModuleIcons> icons = ReadModuleIcons(source, PlatformLanguageOrder(), damage);
  if (!icons) return nullptr;
  return std::make_shared<const ModuleIcons>(std::move(*icons));
}

struct CacheEntry {
  std::string path;  // full path
  FileStamp module;
  std::string munPath;  // empty when the module has icon groups of its own
  FileStamp mun;
  std::shared_ptr<const ModuleIcons> icons;
};

std::mutex g_lock;
CacheEntry g_last;

// Reads the module at its full path, or the .mun file that stands for it when the
// module has no icon groups of its own; the entry keeps the stamps of what was read.
bool ReadEntry(const std::string& full, CacheEntry* entry, std::string* damage) {
  entry->path = full;
  entry->icons = ReadModuleFile(full, &entry->module, damage);
  if (!entry->icons) return false;
  if (entry->icons->groups.empty()) {
    entry->munPath = MunPathOf(full);
    if (!entry->munPath.empty()) {
      std::shared_ptr<const ModuleIcons> redirected = ReadModuleFile(entry->munPath, &entry->mun, nullptr);
      if (redirected && !redirected->groups.empty()) entry->icons = redirected;
    }
  }
  return true;
}

}  // namespace

std::shared_ptr<const ModuleIcons> CachedModuleIcons(const std::string& path, std::string* damage) {
  std::string unused;
  if (!damage) damage = &unused;
  damage->clear();
  try {
    const std::string full = FullPath(path);
    {
      std::lock_guard<std::mutex> hold(g_lock);
      if (g_last.icons && g_last.path == full && g_last.module == StampOf(full) &&
          (g_last.munPath.empty() || g_last.mun == StampOf(g_last.munPath)))
        return g_last.icons;
    }
    CacheEntry entry;
    if (!ReadEntry(full, &entry, damage)) return nullptr;
    std::shared_ptr<const ModuleIcons> icons = entry.icons;
    if (icons->bytes.size() <= kMaxCachedIconBytes) {
      std::lock_guard<std::mutex> hold(g_lock);
      g_last = std::move(entry);
    }
    return icons;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::shared_ptr<const ModuleIcons> ReadModuleIconsUncached(const std::string& path, std::string* damage) {
  std::string unused;
  if (!damage) damage = &unused;
  damage->clear();
  try {
    CacheEntry entry;
    return ReadEntry(FullPath(path), &entry, damage) ? entry.icons : nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void ForgetCachedModule() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_last = CacheEntry();
}

}  // namespace iconres
