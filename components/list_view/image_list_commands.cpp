#include "components/list_view/image_list_commands.h"

#include <objidl.h>
#include <shellapi.h>

#include <cstring>

#include "formats/icons/icon_tile.h"
#include "iconres/module_icon.h"
#include "formats/byte_reader.h"
#include "runtime/handles.h"
#include "runtime/library_entry.h"

namespace comp {
namespace {

// A list that is not tiled (not 32-bit, or not in rows of four) goes through the
// platform's reader and writer; the last one the commands produced is kept with the
// data that describes it, and when the next call hands back exactly these bytes, the
// list is reused instead of read again.  Tiled lists need no such cache: the data in
// the byte set is the list, and an append writes the new image into it.
struct LastList {
  rt::ImageListHandle list;
  std::vector<uint8_t> data;

  bool Matches(const uint8_t* bytes, size_t size) const {
    return list && data.size() == size && std::memcmp(data.data(), bytes, size) == 0;
  }
  void Forget() { *this = LastList(); }
};

LastList& Last() {
  static LastList last;
  return last;
}

rt::ImageListHandle ReadFromStream(const uint8_t* data, size_t size) {
  rt::GlobalBlock global(rt::BlobToGlobal(data + kImageListPrefixSize, size - kImageListPrefixSize));
  if (!global) return {};
  rt::ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(global.get(), TRUE, stream.address()))) return {};
  global.release();  // the stream frees it
  return rt::ImageListHandle(ImageList_Read(stream.get()));
}

rt::ImageListHandle ReadUncached(const uint8_t* data, size_t size) {
  ImageListStreamHeader header;
  if (!ReadImageListStreamHeader(data, size, &header)) return {};
  rt::ImageListHandle list = ReadFromStream(data, size);
  if (list || header.count != 0) return list;
  // An empty list whose bitmap part the platform reader refuses: the header says all.
  if (header.cx == 0 || header.cy == 0 || header.cx > 256 || header.cy > 256) return {};
  list.reset(ImageList_Create(header.cx, header.cy, header.flags,
                              header.capacity, header.growth));
  if (list) ImageList_SetBkColor(list.get(), header.background);
  return list;
}

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

// ExtractIconA answers 1 for a file that is no icon source.
HICON UsableIcon(HICON icon) {
  return rt::Word(icon) > 1 ? icon : nullptr;
}

// The scan lines of a bitmap, top-down, at the given bits per pixel.
std::vector<uint8_t> ScanLines(HDC dc, HBITMAP bitmap, int width, int height, int bits) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info = {};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  std::vector<uint8_t> lines(static_cast<size_t>((width * bits + 31) / 32) * 4 * height);
  if (GetDIBits(dc, bitmap, 0, height, lines.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != height)
    lines.clear();
  return lines;
}

// The icon as the platform stores it in a list of the given kind: drawn into a list of
// one image, kept from call to call, and read back from its bitmaps.
std::optional<IconTile> RenderIcon(HICON icon, const ImageListStreamHeader& kind) {
  static rt::ImageListHandle scratch;
  static ImageListStreamHeader scratchKind;
  if (!scratch || scratchKind.cx != kind.cx || scratchKind.cy != kind.cy || scratchKind.flags != kind.flags ||
      scratchKind.background != kind.background) {
    scratch.reset(ImageList_Create(kind.cx, kind.cy, kind.flags, 1, 1));
    if (!scratch) return std::nullopt;
    ImageList_SetBkColor(scratch.get(), kind.background);
    scratchKind = kind;
  }
  const int at = ImageList_GetImageCount(scratch.get()) > 0 ? 0 : -1;
  IMAGEINFO info = {};
  BITMAP image = {};
  if (ImageList_ReplaceIcon(scratch.get(), at, icon) != 0 || !ImageList_GetImageInfo(scratch.get(), 0, &info) ||
      !GetObjectA(info.hbmImage, sizeof image, &image))
    return std::nullopt;
  std::vector<uint8_t> colour, mask;
  {
    rt::WindowDC screen(nullptr);
    colour = ScanLines(screen.get(), info.hbmImage, image.bmWidth, image.bmHeight, 32);
    if (info.hbmMask) mask = ScanLines(screen.get(), info.hbmMask, image.bmWidth, image.bmHeight, 1);
  }
  const RECT& r = info.rcImage;
  if (colour.empty() || (info.hbmMask && mask.empty()) || r.left < 0 || r.top < 0 ||
      r.left + kind.cx > image.bmWidth || r.top + kind.cy > image.bmHeight)
    return std::nullopt;

  IconTile tile;
  tile.cx = kind.cx;
  tile.cy = kind.cy;
  const size_t colourStride = static_cast<size_t>(image.bmWidth) * 4;
  const size_t maskStride = MaskStride(image.bmWidth);
  const size_t tileMaskStride = MaskStride(tile.cx);
  tile.colour.resize(static_cast<size_t>(tile.cx) * tile.cy * 4);
  tile.mask.assign(tileMaskStride * tile.cy, 0);
  for (int y = 0; y < tile.cy; ++y) {
    std::memcpy(tile.colour.data() + static_cast<size_t>(y) * tile.cx * 4,
                colour.data() + (r.top + y) * colourStride + r.left * 4, static_cast<size_t>(tile.cx) * 4);
    if (mask.empty()) continue;
    for (int x = 0; x < tile.cx; ++x)
      SetMaskBit(tile.mask.data() + y * tileMaskStride, x, MaskBit(mask.data() + (r.top + y) * maskStride, r.left + x));
  }
  return tile;
}

}  // namespace

rt::ImageListHandle ReadImageListData(const uint8_t* data, size_t size) {
  if (!IsImageListData(data, size)) return {};
  LastList& last = Last();
  if (last.Matches(data, size)) return rt::ImageListHandle(ImageList_Duplicate(last.list.get()));
  return ReadUncached(data, size);
}

bool WriteImageListData(HIMAGELIST list, std::vector<uint8_t>* out) {
  if (!list) return false;
  rt::ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.address()))) return false;
  rt::ByteAppender prefix;
  prefix.bytes("MITL", 4);
  prefix.u32(kImageListColourWord);
  ULONG written = 0;
  if (FAILED(stream.get()->Write(prefix.data().data(), static_cast<ULONG>(prefix.size()), &written)) ||
      written != prefix.size())
    return false;
  if (!ImageList_Write(list, stream.get())) return false;
  LARGE_INTEGER zero = {};
  ULARGE_INTEGER end = {};
  if (FAILED(stream.get()->Seek(zero, STREAM_SEEK_CUR, &end))) return false;
  HGLOBAL global = nullptr;
  if (FAILED(GetHGlobalFromStream(stream.get(), &global)) || !global) return false;
  rt::GlobalLockGuard<const uint8_t> memory(global);
  if (!memory || memory.size() < end.QuadPart) return false;
  out->assign(memory.get(), memory.get() + end.QuadPart);
  return true;
}

void __cdecl GetFileIconCountCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  rt::SetIntResult(result, 0);
  if (argc < 1) return;
  // Modules are counted from the module reader's cache, which the icons then come from.
  if (std::optional<int32_t> groups = iconres::ModuleIconCount(rt::TextOf(args[0]))) {
    rt::SetIntResult(result, *groups);
    return;
  }
  HICON count = ExtractIconA(ProgramInstance(), rt::TextOf(args[0]), static_cast<UINT>(-1));
  rt::SetIntResult(result, static_cast<int32_t>(rt::Word(count)));
}

void __cdecl AddFileIconCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  rt::SetIntResult(result, -1);
  if (argc < 2 || !args[0].value) return;
  void** variable = rt::PointerOf<void*>(args[0].value);
  void* old = *variable;
  const uint8_t* data = rt::ByteSetBytes(old);
  const size_t size = static_cast<size_t>(rt::ByteSetLength(old) > 0 ? rt::ByteSetLength(old) : 0);
  if (!old || !IsImageListData(data, size)) return;
  const char* path = rt::TextOf(args[1]);
  const int32_t index = argc >= 3 && !rt::IsOmitted(args[2]) ? static_cast<int32_t>(args[2].value) : 0;
  const bool small = argc >= 4 && !rt::IsOmitted(args[3]) && args[3].value != 0;
  // Index -1 asks the platform for the icon count, which is no icon.
  if (index == -1) return;

  TiledLayout layout;
  const bool tiled = ReadTiledLayout(data, size, &layout);
  LastList& last = Last();
  LastList work;
  if (!tiled) {
    if (last.Matches(data, size)) {
      work = std::move(last);
    } else {
      work.list = ReadUncached(data, size);
      if (!work.list) return;
    }
    last.Forget();
  }
  // Hands an untouched platform list back to the cache on every failure before the append.
  auto keep = [&] {
    if (work.list) last = std::move(work);
  };

  // The large icon of a module comes from the module reader: decoded here straight into
  // a tile when the chosen image is of the list's size (the list must be 32-bit with a
  // mask), otherwise made and scaled by the platform from the chosen image.  Small icons and other
  // files come from the platform.
  const ImageListStreamHeader& kind = layout.header;
  const bool masked = tiled && (kind.flags & ILC_MASK) != 0;
  std::optional<IconTile> tile;
  HICON extracted = nullptr;
  std::optional<iconres::ChosenIconImage> chosen;
  if (!small) chosen = iconres::ChooseModuleIconImage(path, index);
  if (chosen) {
    if (chosen->bytes && masked && chosen->cx == kind.cx && chosen->cy == kind.cy)
      tile = DecodeAnyIconTile(chosen->bytes, chosen->length, kind.cx, kind.cy);
    if (!tile) extracted = iconres::CreateChosenIcon(*chosen);
  } else {
    if (small) {
      HICON smallIcon = nullptr;
      if (ExtractIconExA(path, index, nullptr, &smallIcon, 1) > 0) extracted = UsableIcon(smallIcon);
    }
    if (!extracted) extracted = UsableIcon(ExtractIconA(ProgramInstance(), path, static_cast<UINT>(index)));
  }
  if (!tile && !extracted) return keep();
  rt::IconHandle icon(extracted);

  if (tiled) {
    if (!tile) tile = RenderIcon(icon.get(), kind);
    if (!tile) return;
    uint8_t* bytes = nullptr;
    void* replacement = nullptr;
    if (HasRoomForOneMore(layout)) {
      // The variable's own block, at its size: only the new image and the count change.
      replacement = ImageListLibraryLink().ResizeByteSet(old, size, &bytes);
      if (!replacement) return;
      AppendTileInPlace(bytes, layout, *tile);
    } else {
      // Full: the list is written again with twice the rows, so this happens a few times
      // over a long run of appends.
      TiledImageList list;
      if (!list.Parse(data, size) || !list.AppendTile(*tile)) return;
      replacement = ImageListLibraryLink().ResizeByteSet(old, list.SerialisedSize(), &bytes);
      if (!replacement) return;
      list.SerialiseInto(bytes);
    }
    *variable = replacement;
    rt::SetIntResult(result, kind.count);
    return;
  }

  const int added = ImageList_ReplaceIcon(work.list.get(), -1, icon.get());
  if (added < 0) return keep();
  if (!WriteImageListData(work.list.get(), &work.data)) return;  // the list no longer matches the variable
  void* replacement = ImageListLibraryLink().NewByteSet(work.data.data(), work.data.size());
  if (!replacement) return;
  ImageListLibraryLink().Free(old);
  *variable = replacement;
  last = std::move(work);
  rt::SetIntResult(result, added);
}

void __cdecl GetImageCountCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  rt::SetIntResult(result, 0);
  if (argc < 1) return;
  const void* set = rt::PointerOf(args[0].value);
  const int32_t length = rt::ByteSetLength(set);
  if (!set || length <= 0) return;
  const uint8_t* data = rt::ByteSetBytes(set);
  TiledLayout layout;
  if (ReadTiledLayout(data, static_cast<size_t>(length), &layout)) {  // its count is what the platform reads
    rt::SetIntResult(result, layout.header.count);
    return;
  }
  LastList& last = Last();
  if (last.Matches(data, static_cast<size_t>(length))) {
    rt::SetIntResult(result, ImageList_GetImageCount(last.list.get()));
    return;
  }
  rt::ImageListHandle list = ReadImageListData(data, static_cast<size_t>(length));
  if (list) rt::SetIntResult(result, ImageList_GetImageCount(list.get()));
}

rt::LibraryLink& ImageListLibraryLink() {
  static rt::LibraryLink link;
  return link;
}

int32_t __stdcall ImageListLibraryNotify(int32_t code, int32_t arg1, int32_t arg2) {
  return ImageListLibraryLink().Notify(code, arg1, arg2);
}

namespace {
const void* const kImageListCommands[] = {
    reinterpret_cast<const void*>(&GetFileIconCountCommand),
    reinterpret_cast<const void*>(&AddFileIconCommand),
    reinterpret_cast<const void*>(&GetImageCountCommand),
};
}  // namespace

const rt::LibraryDescriptor kImageListLibrary = rt::WithCommands(
    rt::ExtensionLibraryEntry("{7A1C9E4B5D2F48A3B6E0C1D9F3A5B7C2}", "图像列表支持库", {1, 0, 1}, &ImageListLibraryNotify),
    kImageListCommands);

}  // namespace comp
