// Pictures through the Windows Imaging Component: the decoder the system chooses for the bytes,
// the first frame, converted to 32-bit BGRA and copied out. The frame comes as stored; the
// orientation the system reports for it (from EXIF, or a HEIF's irot and imir) is applied here.
// A HEIF needs the system's HEIF extension, which Windows 10 and 11 install from the store.
#include <initguid.h>
// (initguid first: this file defines the GUIDs it uses)
#include <wincodec.h>
#include <windows.h>

#include <climits>
#include <cstddef>
#include <utility>

#include "platform/system_pictures.h"

namespace sdmate {
namespace {

// One COM interface, released at the end of its scope.
template <typename T>
class Com {
 public:
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() {
    if (p_ != nullptr) p_->Release();
  }
  T** Out() { return &p_; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }

 private:
  T* p_ = nullptr;
};

// COM on this thread for the call. A thread already in an apartment (the window's, which Qt
// made single-threaded) stays in it; WIC works in either.
class ComScope {
 public:
  ComScope() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    owns_ = SUCCEEDED(result);
    usable_ = owns_ || result == RPC_E_CHANGED_MODE;
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (owns_) CoUninitialize();
  }
  bool usable() const { return usable_; }

 private:
  bool owns_ = false;
  bool usable_ = false;
};

bool MakeFactory(Com<IWICImagingFactory>& factory) {
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.Out())));
}

// The EXIF orientation (1 to 8) the system reports for the frame; 1 when it reports none.
int OrientationOf(IWICBitmapFrameDecode* frame) {
  Com<IWICMetadataQueryReader> reader;
  if (FAILED(frame->GetMetadataQueryReader(reader.Out())) || reader.get() == nullptr) return 1;
  PROPVARIANT value;
  PropVariantInit(&value);
  int orientation = 1;
  if (SUCCEEDED(reader->GetMetadataByName(L"System.Photo.Orientation", &value))) {
    if (value.vt == VT_UI2) orientation = value.uiVal;
    if (value.vt == VT_UI4 && value.ulVal <= 8) orientation = static_cast<int>(value.ulVal);
  }
  PropVariantClear(&value);
  return orientation;
}

}  // namespace

std::optional<SystemPicture> DecodeWithSystem(std::string_view bytes, std::uint64_t maxPixels) {
  if (bytes.empty() || bytes.size() > UINT_MAX) return std::nullopt;
  ComScope com;
  if (!com.usable()) return std::nullopt;
  Com<IWICImagingFactory> factory;
  if (!MakeFactory(factory)) return std::nullopt;
  Com<IWICStream> stream;
  // The stream only reads the bytes, which stay the caller's for the whole call.
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size())))) {
    return std::nullopt;
  }
  Com<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Out()))) {
    return std::nullopt;
  }
  Com<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Out()))) return std::nullopt;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) return std::nullopt;
  const std::uint64_t pixels = std::uint64_t{width} * std::uint64_t{height};
  if (pixels > maxPixels || pixels > UINT_MAX / 4 || width > INT_MAX / 4 || height > INT_MAX / 4) {
    return std::nullopt;
  }
  Com<IWICBitmapSource> converted;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), converted.Out()))) {
    return std::nullopt;
  }
  SystemPicture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.rgba.resize(static_cast<std::size_t>(pixels) * 4);
  if (FAILED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.rgba.size()),
                                   picture.rgba.data()))) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < picture.rgba.size(); i += 4) {
    std::swap(picture.rgba[i], picture.rgba[i + 2]);
  }
  return Oriented(std::move(picture), OrientationOf(frame.get()));
}

bool SystemDecodesHeif() {
  ComScope com;
  if (!com.usable()) return false;
  Com<IWICImagingFactory> factory;
  if (!MakeFactory(factory)) return false;
  Com<IWICBitmapDecoder> decoder;
  return SUCCEEDED(factory->CreateDecoder(GUID_ContainerFormatHeif, nullptr, decoder.Out()));
}

}  // namespace sdmate
