// The PNG codec of the Windows build: the Windows imaging component.  A stream is
// decoded by WIC's PNG decoder and converted to 32-bit RGBA (16-bit samples are read
// as they are and rounded to 8 bits as on Linux); pixels are encoded as 32-bit BGRA,
// which WIC's PNG encoder stores as colour type 6 without interlacing.  COM is
// initialised for the calling thread for the length of each call (multithreaded,
// unless the thread already runs an apartment).
#include <windows.h>
#include <wincodec.h>

#include "formats/icons/png_codec.h"
#include "runtime/handles.h"

namespace iconres {
namespace {

class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool ok_;
};

std::string Failure(const char* what, HRESULT hr) {
  char text[64];
  wsprintfA(text, "%s (0x%08lX)", what, static_cast<unsigned long>(hr));
  return text;
}

bool MakeFactory(rt::ComPtr<IWICImagingFactory>* factory, std::string* error) {
  const HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory->address()));
  if (FAILED(hr)) *error = Failure("imaging component unavailable", hr);
  return SUCCEEDED(hr);
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, RgbaImage* image, std::string* error) {
  ComScope com;
  rt::ComPtr<IWICImagingFactory> factory;
  if (!MakeFactory(&factory, error)) return false;
  if (!data || size > 0x7FFFFFFF) {
    *error = "no PNG stream";
    return false;
  }
  rt::ComPtr<IWICStream> stream;
  rt::ComPtr<IWICBitmapDecoder> decoder;
  rt::ComPtr<IWICBitmapFrameDecode> frame;
  rt::ComPtr<IWICFormatConverter> converter;
  HRESULT hr = factory->CreateStream(stream.address());
  if (SUCCEEDED(hr)) hr = stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size));
  if (SUCCEEDED(hr))
    hr = factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.address());
  if (SUCCEEDED(hr)) hr = decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand);
  if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.address());
  if (FAILED(hr)) {
    *error = Failure("damaged PNG stream", hr);
    return false;
  }
  UINT width = 0, height = 0;
  WICPixelFormatGUID format = {};
  if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format)) || width == 0 ||
      height == 0 || width > kMaxPngSide || height > kMaxPngSide) {
    *error = "PNG size out of range";
    return false;
  }
  // 16-bit sources are read in their own format (WIC's converter does not take every
  // 16-bit one to 64-bit RGBA) and rounded here; all others convert to 32-bit RGBA.
  int channels = 0;  // of a 16-bit source: 4 RGBA, 3 RGB, 1 grey
  if (IsEqualGUID(format, GUID_WICPixelFormat64bppRGBA)) channels = 4;
  if (IsEqualGUID(format, GUID_WICPixelFormat48bppRGB)) channels = 3;
  if (IsEqualGUID(format, GUID_WICPixelFormat16bppGray)) channels = 1;
  const UINT stride = width * (channels ? 2 * channels : 4);
  std::vector<uint8_t> samples(size_t(stride) * height);
  if (channels) {
    hr = frame->CopyPixels(nullptr, stride, static_cast<UINT>(samples.size()), samples.data());
  } else {
    hr = factory->CreateFormatConverter(converter.address());
    if (SUCCEEDED(hr))
      hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                 WICBitmapPaletteTypeCustom);
    if (SUCCEEDED(hr)) hr = converter->CopyPixels(nullptr, stride, static_cast<UINT>(samples.size()), samples.data());
  }
  if (FAILED(hr)) {
    *error = Failure("damaged PNG stream", hr);
    return false;
  }
  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  if (channels) {
    // Little-endian 16-bit samples, rounded to 8 bits.
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    for (size_t i = 0, n = size_t(width) * height; i < n; ++i) {
      const uint8_t* in = samples.data() + i * 2 * channels;
      uint8_t* out = rgba.data() + i * 4;
      for (int k = 0; k < channels; ++k) out[k] = RoundTo8Bits(uint16_t(in[2 * k] | in[2 * k + 1] << 8));
      if (channels == 1) out[1] = out[2] = out[0];
      if (channels < 4) out[3] = 255;
    }
    samples = std::move(rgba);
  }
  image->pixels = std::move(samples);
  return true;
}

bool EncodePng(const RgbaImage& image, std::vector<uint8_t>* png, std::string* error) {
  if (!image.whole()) {
    *error = "no image to encode";
    return false;
  }
  ComScope com;
  rt::ComPtr<IWICImagingFactory> factory;
  if (!MakeFactory(&factory, error)) return false;
  // BGRA is the layout every version of the encoder takes.
  std::vector<uint8_t> bgra(image.pixels);
  for (size_t i = 0; i < bgra.size(); i += 4) std::swap(bgra[i], bgra[i + 2]);

  rt::ComPtr<IStream> memory;
  rt::ComPtr<IWICBitmapEncoder> encoder;
  rt::ComPtr<IWICBitmapFrameEncode> frame;
  rt::ComPtr<IPropertyBag2> options;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, memory.address());
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.address());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(memory.get(), WICBitmapEncoderNoCache);
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.address(), options.address());
  if (SUCCEEDED(hr)) hr = frame->Initialize(options.get());
  if (SUCCEEDED(hr)) hr = frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height));
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
  const UINT stride = static_cast<UINT>(image.width) * 4;
  if (SUCCEEDED(hr)) hr = frame->WritePixels(static_cast<UINT>(image.height), stride, static_cast<UINT>(bgra.size()), bgra.data());
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  HGLOBAL global = nullptr;
  STATSTG stat = {};
  if (SUCCEEDED(hr)) hr = memory->Stat(&stat, STATFLAG_NONAME);
  if (SUCCEEDED(hr)) hr = GetHGlobalFromStream(memory.get(), &global);
  if (FAILED(hr)) {
    *error = Failure("PNG encoding failed", hr);
    return false;
  }
  rt::GlobalLockGuard<const uint8_t> bytes(global);
  if (!bytes || bytes.size() < stat.cbSize.QuadPart) {
    *error = "PNG encoding failed";
    return false;
  }
  png->assign(bytes.get(), bytes.get() + stat.cbSize.QuadPart);
  return true;
}

}  // namespace iconres
