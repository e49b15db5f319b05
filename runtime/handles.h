// Owning wrappers for platform handles and COM interfaces, and guards for what is only
// borrowed for a while (a window's device context, an object selected into a DC).
// Every owner is non-copyable and movable; it releases its handle when it goes out of
// scope.  Handles owned elsewhere (shared icons, stock objects, other windows) are held
// as the plain platform type.
#pragma once
#include <windows.h>
#include <objidl.h>  // before commctrl.h: declares the stream functions of image lists
#include <commctrl.h>

#include <cstring>
#include <utility>

namespace rt {

// One owned handle; Traits gives its type, its empty value and how it is released.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return h_; }
  bool valid() const { return h_ != Traits::Empty() && h_ != Handle(); }
  explicit operator bool() const { return valid(); }
  Handle release() { return std::exchange(h_, Traits::Empty()); }
  // Releases the handle held (if any) and keeps h.  Reports whether the release
  // succeeded: closing a file can fail on its buffered writes.
  bool reset(Handle h = Traits::Empty()) {
    bool ok = true;
    if (valid() && h_ != h) ok = Traits::Release(h_);
    h_ = h;
    return ok;
  }

 protected:
  // The slot that a creating call fills, after the handle held (if any) is released.
  Handle* emptySlot() {
    reset();
    return &h_;
  }

 private:
  Handle h_ = Traits::Empty();
};

namespace handle_traits {
// A handle released by a function that answers non-zero on success; empty is null.
template <typename H, BOOL(WINAPI* Free)(H)>
struct ReleasedBy {
  using Handle = H;
  static Handle Empty() { return nullptr; }
  static bool Release(Handle h) { return Free(h) != FALSE; }
};
// A kernel handle of that kind whose empty value is INVALID_HANDLE_VALUE.
template <BOOL(WINAPI* Free)(HANDLE)>
struct KernelReleasedBy : ReleasedBy<HANDLE, Free> {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
};
using File = KernelReleasedBy<&CloseHandle>;
using Find = KernelReleasedBy<&FindClose>;
using Module = ReleasedBy<HMODULE, &FreeLibrary>;
using Icon = ReleasedBy<HICON, &DestroyIcon>;
using Menu = ReleasedBy<HMENU, &DestroyMenu>;
using Accelerators = ReleasedBy<HACCEL, &DestroyAcceleratorTable>;
using MemoryDC = ReleasedBy<HDC, &DeleteDC>;
using ImageList = ReleasedBy<HIMAGELIST, &ImageList_Destroy>;
// DeleteObject takes any GDI object type.
template <typename T>
struct Gdi : ReleasedBy<HGDIOBJ, &DeleteObject> {
  using Handle = T;
  static Handle Empty() { return nullptr; }
};
// GlobalFree answers null on success.
struct Global {
  using Handle = HGLOBAL;
  static Handle Empty() { return nullptr; }
  static bool Release(Handle h) { return GlobalFree(h) == nullptr; }
};
}  // namespace handle_traits

// A kernel object from CreateFile (and other handles closed with CloseHandle); empty is
// INVALID_HANDLE_VALUE, and null counts as empty too.
using FileHandle = UniqueHandle<handle_traits::File>;
// A search from FindFirstFile.
using FindHandle = UniqueHandle<handle_traits::Find>;
// A module from LoadLibrary.
using ModuleHandle = UniqueHandle<handle_traits::Module>;
// An icon or cursor this code created (not a shared one from LoadIcon).
using IconHandle = UniqueHandle<handle_traits::Icon>;
// A menu not attached to a window (a window destroys its own menu bar).
using MenuHandle = UniqueHandle<handle_traits::Menu>;
using AcceleratorHandle = UniqueHandle<handle_traits::Accelerators>;
// A GDI object this code created: brush, font, bitmap, pen, region.
template <typename T>
using GdiObject = UniqueHandle<handle_traits::Gdi<T>>;
// A device context from CreateCompatibleDC.
using MemoryDC = UniqueHandle<handle_traits::MemoryDC>;
using ImageListHandle = UniqueHandle<handle_traits::ImageList>;
// A global memory block not (yet) handed to the clipboard or to a data object.
using GlobalBlock = UniqueHandle<handle_traits::Global>;

// The memory of a global block, locked for the guard's lifetime.
template <typename T = void>
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), p_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockGuard() { if (p_) GlobalUnlock(block_); }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  T* get() const { return static_cast<T*>(p_); }
  explicit operator bool() const { return p_ != nullptr; }
  size_t size() const { return p_ ? GlobalSize(block_) : 0; }

 private:
  HGLOBAL block_;
  void* p_;
};

// A new movable global block holding a copy of size bytes (one byte for none), or null.
// The caller owns the block; the runtime frees a property blob it receives.
inline HGLOBAL BlobToGlobal(const void* blob, size_t size) {
  GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, size ? size : 1));
  GlobalLockGuard<> memory(block.get());
  if (!memory) return nullptr;
  if (size) std::memcpy(memory.get(), blob, size);
  return block.release();
}

// A window's (or the screen's, for null) device context, borrowed with GetDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() { if (dc_) ReleaseDC(hwnd_, dc_); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// An object selected into a device context; the object it replaced is selected back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { if (old_) SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The clipboard, open for the session's lifetime.
class ClipboardSession {
 public:
  ClipboardSession() : open_(OpenClipboard(nullptr) != FALSE) {}
  ~ClipboardSession() { if (open_) CloseClipboard(); }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

namespace handle_traits {
template <typename T>
struct Com {
  using Handle = T*;
  static Handle Empty() { return nullptr; }
  static bool Release(Handle p) {
    p->Release();
    return true;
  }
};
}  // namespace handle_traits

// An owned COM interface pointer: one reference, released when it goes out of scope.
// Constructed from a pointer, it takes over a reference the caller holds.
template <typename T>
class ComPtr : public UniqueHandle<handle_traits::Com<T>> {
 public:
  using UniqueHandle<handle_traits::Com<T>>::UniqueHandle;
  T* operator->() const { return this->get(); }
  // Receives a new reference from a creating call (any reference held is released).
  void** out() { return reinterpret_cast<void**>(this->emptySlot()); }
  T** address() { return this->emptySlot(); }
};

}  // namespace rt
