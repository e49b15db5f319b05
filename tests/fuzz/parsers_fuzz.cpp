// Fuzz target "parsers": the byte parsers that take outside data: icon group directories,
// .ico files, icon images, image-list data, and the window's and the list view's
// property blobs with the list view's column and item tables.  Besides reads and writes
// outside a buffer it checks that what the writers produce from parsed data parses
// again to the same thing.  The first input byte chooses the parser.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "formats/records/image_list_data.h"
#include "formats/records/list_view_data.h"
#include "formats/records/window_data.h"
#include "formats/icons/ico_parser.h"
#include "formats/icons/ico_builder.h"
#include "formats/icons/icon_image_set.h"
#include "formats/icons/icon_directory.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

using fuzz::BlobRoundTrip;
using fuzz::Require;

void GroupDirectory(const uint8_t* data, size_t size) {
  const auto entries = rt::ParseIconDirectory(data, size, rt::IconDirectoryKind::Group);
  if (entries)
    Require(rt::kIconDirectoryHeaderSize + entries->size() * rt::kIconGroupEntrySize <= size,
            "entries inside the data");
}

// An image as the .ico writer stores it: a DIB's biSizeImage is 0.
std::vector<uint8_t> AsWritten(const iconres::IconImageEntry& e) {
  std::vector<uint8_t> bytes = e.Bytes();
  if (e.IsDib()) std::memset(bytes.data() + iconres::kBiSizeImage, 0, 4);
  return bytes;
}

void IconFile(const uint8_t* data, size_t size) {
  const auto set = iconres::ParseIconFile(data, size);
  if (!set) return;
  const std::vector<uint8_t> file = iconres::BuildIconFile(*set);
  const auto again = iconres::ParseIconFile(file.data(), file.size());
  Require(again.has_value(), "a written .ico file parses");
  Require(again->count() == set->count(), "same image count");
  for (size_t i = 0; i < set->images.size(); ++i) {
    const iconres::IconImageEntry &a = set->images[i], &b = again->images[i];
    Require(a.format == b.format && a.width == b.width && a.height == b.height && a.bitCount == b.bitCount &&
                a.planes == b.planes && a.paletteBytes == b.paletteBytes,
            "same image fields");
    Require(b.Bytes() == AsWritten(a), "same image bytes");
  }
  Require(iconres::BuildIconFile(*again) == file, "writing is stable");
}

void IconImage(const uint8_t* data, size_t size) {
  iconres::ReadPngHeader(data, size);
  const auto entry = iconres::MakeImageEntry(std::vector<uint8_t>(data, data + size));
  if (!entry || !entry->IsDib()) return;
  Require(entry->HeaderSize() >= iconres::kBitmapInfoHeaderSize && entry->XorOffset() <= size,
          "header and palette inside the image");
}

void ImageList(const uint8_t* data, size_t size) {
  comp::ImageListStreamHeader header;
  comp::ReadImageListStreamHeader(data, size, &header);
  comp::TiledImageList list;
  if (!list.Parse(data, size)) return;
  const std::vector<uint8_t> bytes = list.Serialise();
  Require(bytes.size() == list.SerialisedSize(), "serialised size");
  comp::TiledImageList copy;
  Require(copy.Parse(bytes.data(), bytes.size()), "a serialised list parses");
  Require(copy.Serialise() == bytes, "serialising is stable");
  for (int i = 0; i < list.count() && i < 8; ++i) {
    const int before = copy.count();
    if (!copy.AppendFrom(list, i)) break;
    Require(copy.count() == before + 1, "an append adds one image");
  }
  const std::vector<uint8_t> grown = copy.Serialise();
  comp::TiledImageList reread;
  Require(reread.Parse(grown.data(), grown.size()) && reread.count() == copy.count(), "a grown list parses");
}

template <typename Record>
void TableRoundTrip(const std::vector<uint8_t>& bytes, bool (*parse)(const std::vector<uint8_t>&, std::vector<Record>*),
                    std::vector<uint8_t> (*write)(const std::vector<Record>&), const char* what) {
  std::vector<Record> records;
  if (!parse(bytes, &records)) return;
  const std::vector<uint8_t> written = write(records);
  std::vector<Record> again;
  Require(parse(written, &again) && write(again) == written, what);
}

void WindowBlob(const uint8_t* data, size_t size) {
  BlobRoundTrip<comp::WindowData>(data, size, "window properties write back");
}

void ListViewBlob(const uint8_t* data, size_t size) {
  BlobRoundTrip<comp::ListViewData>(data, size, "list view properties write back");
  const std::vector<uint8_t> bytes(data, data + size);
  TableRoundTrip<comp::ListColumn>(bytes, comp::ParseColumnTable, comp::WriteColumnTable, "column table");
  TableRoundTrip<comp::ListItemRecord>(bytes, comp::ParseItemTable, comp::WriteItemTable, "item table");
  comp::ListViewData p;
  if (!p.Read(data, size)) return;
  TableRoundTrip<comp::ListColumn>(p.columns, comp::ParseColumnTable, comp::WriteColumnTable, "stored columns");
  TableRoundTrip<comp::ListItemRecord>(p.items, comp::ParseItemTable, comp::WriteItemTable, "stored items");
}

// A seed starts with the byte that chooses its parser.
void Seed(const std::string& folder, const char* name, uint8_t selector, std::vector<uint8_t> bytes) {
  bytes.insert(bytes.begin(), selector);
  fuzz::WriteSeed(folder, name, bytes);
}

std::vector<uint8_t> Dib(int32_t side, uint16_t bits) {
  const uint32_t palette = bits <= 8 ? (1u << bits) * 4 : 0;
  const size_t colour = ((side * bits + 31) / 32) * 4 * side, mask = ((side + 31) / 32) * 4 * side;
  std::vector<uint8_t> d(40 + palette + colour + mask, 0x5A);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&d[at], &v, 4); };
  put32(0, 40);
  put32(4, side);
  put32(8, side * 2);
  d[12] = 1, d[13] = 0, d[14] = static_cast<uint8_t>(bits), d[15] = 0;
  for (size_t at = 16; at < 40; ++at) d[at] = 0;
  return d;
}

}  // namespace

// Seeds: a group directory, an .ico file with a 32-bit and a 4-bit DIB and a PNG,
// image lists with 0 and 3 images, a window blob and a list view blob with tables.
void fuzz::WriteSeeds(const std::string& folder) {
  Seed(folder, "group", 0, {0, 0, 1, 0, 2, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0x68, 4, 0, 0, 1, 0,
                                 32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 2, 0, 0, 2, 0});
  iconres::IconImageSet set;
  static const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                0,    0,   1,   0,   0,    0,    1,    0,    8, 6, 0, 0,  0,   0,   0,   0};
  for (auto bytes : {Dib(16, 32), Dib(32, 4), std::vector<uint8_t>(png, png + sizeof png)}) {
    if (auto entry = iconres::MakeImageEntry(bytes)) set.images.push_back(*entry);
  }
  Seed(folder, "ico", 1, iconres::BuildIconFile(set));
  Seed(folder, "image", 2, Dib(16, 8));
  // The empty image list of the application's constants: header and the start of the
  // colour bitmap only.
  std::vector<uint8_t> empty = {'M', 'I', 'T', 'L', 0, 0, 0, 0xFF, 'I', 'L', 1, 1, 0, 0, 6, 0, 4, 0, 32, 0, 32, 0,
                                0xFF, 0xFF, 0xFF, 0, 0x21, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  empty.resize(73, 0);
  Seed(folder, "list-empty", 3, empty);
  comp::TiledImageList list;
  if (list.Parse(empty.data(), empty.size())) {
    std::vector<uint8_t> three = list.Serialise();
    three[12] = 3;  // the count: the bitmaps already hold one row of four tiles
    Seed(folder, "list-three", 3, three);
  }
  comp::WindowData window;
  window.caption = "caption";
  window.icon.assign(40, 1);
  Seed(folder, "window", 4, window.Write());
  comp::ListViewData listView;
  comp::ListColumn column;
  column.caption = "column";
  comp::ListItemRecord item;
  item.text = "1";
  item.tip = "tip";
  listView.columns = comp::WriteColumnTable({column, column});
  listView.items = comp::WriteItemTable({item, item});
  listView.images = empty;
  Seed(folder, "list-view", 5, listView.Write());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  switch (data[0] % 6) {
    case 0: GroupDirectory(data + 1, size - 1); break;
    case 1: IconFile(data + 1, size - 1); break;
    case 2: IconImage(data + 1, size - 1); break;
    case 3: ImageList(data + 1, size - 1); break;
    case 4: WindowBlob(data + 1, size - 1); break;
    case 5: ListViewBlob(data + 1, size - 1); break;
  }
  return 0;
}
