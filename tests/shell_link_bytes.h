// The bytes of a shell link, for tests that write shortcut files.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>
#include <vector>

namespace testing_support {

// Saves the link through IPersistStream into memory; empty on failure.  Tests write the
// bytes out themselves: saving through IPersistFile makes Wine start a menu builder on
// the new file, which holds it and inherits the test's output handles.
inline std::vector<uint8_t> SavedShellLink(IShellLinkA* link) {
  std::vector<uint8_t> bytes;
  IPersistStream* persist = nullptr;
  IStream* stream = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) && SUCCEEDED(persist->Save(stream, TRUE))) {
    ULARGE_INTEGER end = {};
    LARGE_INTEGER zero = {};
    HGLOBAL memory = nullptr;
    const bool ok =
        SUCCEEDED(stream->Seek(zero, STREAM_SEEK_CUR, &end)) && SUCCEEDED(GetHGlobalFromStream(stream, &memory));
    const uint8_t* p = ok ? static_cast<const uint8_t*>(GlobalLock(memory)) : nullptr;
    if (p) {
      bytes.assign(p, p + end.QuadPart);
      GlobalUnlock(memory);
    }
  }
  if (stream) stream->Release();
  if (persist) persist->Release();
  return bytes;
}

}  // namespace testing_support
