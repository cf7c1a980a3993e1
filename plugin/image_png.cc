#include "plugin/image_png.h"

#include <new>

#include "plugin/win_handles.h"

namespace clipboard {

namespace {

// GDI+'s built-in PNG encoder. Looked up by this fixed identifier rather
// than by enumerating the installed encoders.
constexpr wchar_t kPngEncoderClsid[] =
    L"{557CF406-1A04-11D3-9A73-0000F81EF32E}";

// Reads the whole stream from its start into `out`.
bool ReadWholeStream(IStream* stream, std::vector<uint8_t>* out) {
  STATSTG stat{};
  if (stream->Stat(&stat, STATFLAG_NONAME) != S_OK) return false;
  // A PNG read with a 32-bit count would come back cut short.
  if (stat.cbSize.HighPart != 0) return false;
  const ULONG size = stat.cbSize.LowPart;
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  try {
    out->assign(size, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  ULONG read = 0;
  if (FAILED(stream->Read(out->data(), size, &read)) || read == 0) {
    return false;
  }
  out->resize(read);
  return true;
}

}  // namespace

PngStatus EncodePng(Gdiplus::Image& image, std::vector<uint8_t>* png) {
  ComPtr<IStream> stream;
  if (CreateStreamOnHGlobal(nullptr, TRUE, stream.put()) != S_OK) {
    return PngStatus::kStreamFailed;
  }
  CLSID encoder;
  if (CLSIDFromString(kPngEncoderClsid, &encoder) != NOERROR ||
      image.Save(stream.get(), &encoder, nullptr) != Gdiplus::Ok ||
      !ReadWholeStream(stream.get(), png)) {
    png->clear();
    return PngStatus::kEncodingFailed;
  }
  return PngStatus::kOk;
}

}  // namespace clipboard
