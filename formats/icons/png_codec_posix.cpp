// The PNG codec of the Linux build: libpng, reading from and writing to memory.  libpng
// reports errors by a long jump back to png_jmpbuf; the frames it jumps over are its
// own C frames, and every object of ours with a destructor is made before the jump
// target is set.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "formats/icons/png_codec.h"

namespace iconres {
namespace {

struct ReadCursor {
  const uint8_t* data;
  size_t left;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
  ReadCursor* c = static_cast<ReadCursor*>(png_get_io_ptr(png));
  if (n > c->left) png_error(png, "stream cut short");
  std::memcpy(out, c->data, n);
  c->data += n;
  c->left -= n;
}

void WriteToMemory(png_structp png, png_bytep in, png_size_t n) {
  std::vector<uint8_t>* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), in, in + n);
}

void Flush(png_structp) {}

// The message is kept in a fixed buffer: nothing that can throw runs inside libpng.
struct ErrorText {
  char text[128] = {};
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  ErrorText* e = static_cast<ErrorText*>(png_get_error_ptr(png));
  std::strncpy(e->text, message ? message : "PNG error", sizeof e->text - 1);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Owns a read or write structure and its info structure.
struct PngStructs {
  bool reading;
  png_structp png = nullptr;
  png_infop info = nullptr;
  explicit PngStructs(bool read, ErrorText* error) : reading(read) {
    png = read ? png_create_read_struct(PNG_LIBPNG_VER_STRING, error, OnError, OnWarning)
               : png_create_write_struct(PNG_LIBPNG_VER_STRING, error, OnError, OnWarning);
    if (png) info = png_create_info_struct(png);
  }
  ~PngStructs() {
    if (reading)
      png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    else
      png_destroy_write_struct(&png, info ? &info : nullptr);
  }
  PngStructs(const PngStructs&) = delete;
  PngStructs& operator=(const PngStructs&) = delete;
};

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, RgbaImage* image, std::string* error) {
  ErrorText failure;
  PngStructs s(true, &failure);
  if (!s.png || !s.info) {
    *error = "out of memory";
    return false;
  }
  ReadCursor cursor{data, data ? size : 0};
  std::vector<uint8_t> samples;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(s.png))) {
    *error = failure.text;
    return false;
  }
  png_set_user_limits(s.png, kMaxPngSide, kMaxPngSide);
  png_set_chunk_malloc_max(s.png, 8u << 20);
  png_set_read_fn(s.png, &cursor, ReadFromMemory);
  png_read_info(s.png, s.info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0;
  png_get_IHDR(s.png, s.info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
  const bool transparency = png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0;
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(s.png);
  if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(s.png);
  if (transparency) png_set_tRNS_to_alpha(s.png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(s.png);
  if (!(colourType & PNG_COLOR_MASK_ALPHA) && !transparency)
    png_set_add_alpha(s.png, depth == 16 ? 0xFFFF : 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  const size_t bytesPerSample = depth == 16 ? 2 : 1;
  const size_t rowBytes = size_t(width) * 4 * bytesPerSample;
  if (png_get_rowbytes(s.png, s.info) != rowBytes) png_error(s.png, "unexpected row layout");
  samples.resize(rowBytes * height);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = samples.data() + rowBytes * y;
  png_read_image(s.png, rows.data());

  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  if (bytesPerSample == 1) {
    image->pixels = std::move(samples);
  } else {
    // Big-endian 16-bit samples, scaled down in place.
    const size_t n = size_t(width) * height * 4;
    for (size_t i = 0; i < n; ++i) samples[i] = RoundTo8Bits(uint16_t(samples[2 * i] << 8 | samples[2 * i + 1]));
    samples.resize(n);
    image->pixels = std::move(samples);
  }
  return true;
}

bool EncodePng(const RgbaImage& image, std::vector<uint8_t>* png, std::string* error) {
  if (!image.whole()) {
    *error = "no image to encode";
    return false;
  }
  ErrorText failure;
  PngStructs s(false, &failure);
  if (!s.png || !s.info) {
    *error = "out of memory";
    return false;
  }
  std::vector<uint8_t> out;
  std::vector<png_bytep> rows(static_cast<size_t>(image.height));
  for (size_t y = 0; y < rows.size(); ++y)
    rows[y] = const_cast<png_bytep>(image.pixels.data() + y * size_t(image.width) * 4);
  if (setjmp(png_jmpbuf(s.png))) {
    *error = failure.text;
    return false;
  }
  png_set_write_fn(s.png, &out, WriteToMemory, Flush);
  // Icons are small: the fastest deflate level and no row filters cost half the time of
  // libpng's defaults for files a few per cent larger.
  png_set_compression_level(s.png, 1);
  png_set_filter(s.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s.png, s.info);
  png_write_image(s.png, rows.data());
  png_write_end(s.png, nullptr);
  *png = std::move(out);
  return true;
}

}  // namespace iconres
