#include "tests/plugin/image_test_support.h"

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <memory>

#include "plugin/gdiplus_session.h"
#include "plugin/win_handles.h"

namespace clipboard_test {

using clipboard::BitmapPtr;
using clipboard::ComPtr;
using clipboard::GdiplusSession;
using clipboard::MakeBitmap;

std::ostream& operator<<(std::ostream& out, const Image& image) {
  out << image.width << " x " << image.height << " {" << std::hex;
  for (size_t i = 0; i < image.argb.size() && i < 16; ++i) {
    out << (i ? " " : "") << std::setw(8) << std::setfill('0') << image.argb[i];
  }
  if (image.argb.size() > 16) out << " ...";
  return out << std::dec << "}";
}

Image PatternImage(int width, int height, uint8_t alpha) {
  Image image{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t red = (x * 37 + y * 11) & 0xFF;
      const uint32_t green = (x * 5 + y * 71 + 40) & 0xFF;
      const uint32_t blue = (x * y * 13 + 200) & 0xFF;
      image.argb.push_back(uint32_t{alpha} << 24 | red << 16 | green << 8 |
                           blue);
    }
  }
  return image;
}

Image Opaque(Image image) {
  for (uint32_t& pixel : image.argb) pixel |= 0xFF000000u;
  return image;
}

namespace {

bool FindEncoder(const wchar_t* mime_type, CLSID* clsid) {
  UINT count = 0, size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok) return false;
  std::vector<uint8_t> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
    return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wcscmp(codecs[i].MimeType, mime_type) == 0) {
      *clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

Bytes ReadStream(IStream* stream) {
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  Bytes bytes(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  bytes.resize(read);
  return bytes;
}

// Copies between an Image and a bitmap locked in 32bpp ARGB.
bool TransferPixels(Gdiplus::Bitmap& bitmap, Image* image, bool into_bitmap) {
  Gdiplus::Rect whole(0, 0, image->width, image->height);
  Gdiplus::BitmapData data{};
  const UINT mode =
      into_bitmap ? Gdiplus::ImageLockModeWrite : Gdiplus::ImageLockModeRead;
  if (bitmap.LockBits(&whole, mode, PixelFormat32bppARGB, &data) !=
      Gdiplus::Ok) {
    return false;
  }
  for (int y = 0; y < image->height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(data.Scan0) +
                                            data.Stride * y);
    uint32_t* pixels = image->argb.data() + size_t{1} * y * image->width;
    if (into_bitmap) {
      std::memcpy(row, pixels, 4 * image->width);
    } else {
      std::memcpy(pixels, row, 4 * image->width);
    }
  }
  bitmap.UnlockBits(&data);
  return true;
}

Bytes Save(Gdiplus::Bitmap& bitmap, const wchar_t* mime_type) {
  CLSID encoder;
  if (!FindEncoder(mime_type, &encoder)) return {};
  ComPtr<IStream> stream;
  if (CreateStreamOnHGlobal(nullptr, TRUE, stream.put()) != S_OK) return {};
  if (bitmap.Save(stream.get(), &encoder, nullptr) != Gdiplus::Ok) return {};
  return ReadStream(stream.get());
}

}  // namespace

Bytes EncodeWithGdiplus(const Image& image, const wchar_t* mime_type) {
  GdiplusSession gdiplus;
  BitmapPtr bitmap =
      MakeBitmap(image.width, image.height, PixelFormat32bppARGB);
  Image copy = image;
  if (!bitmap || !TransferPixels(*bitmap, &copy, true)) return {};
  return Save(*bitmap, mime_type);
}

Bytes EncodeIndexedGif(const Image& image) {
  GdiplusSession gdiplus;
  BitmapPtr bitmap =
      MakeBitmap(image.width, image.height, PixelFormat8bppIndexed);
  if (!bitmap) return {};
  std::vector<uint32_t> colours;
  std::vector<uint8_t> indices;
  for (uint32_t pixel : image.argb) {
    auto it = std::find(colours.begin(), colours.end(), pixel);
    if (it == colours.end()) it = colours.insert(it, pixel);
    indices.push_back(static_cast<uint8_t>(it - colours.begin()));
  }
  if (colours.size() > 256) return {};
  std::vector<uint8_t> palette_memory(sizeof(Gdiplus::ColorPalette) +
                                      4 * colours.size());
  auto* palette =
      reinterpret_cast<Gdiplus::ColorPalette*>(palette_memory.data());
  palette->Flags = 0;
  palette->Count = static_cast<UINT>(colours.size());
  std::memcpy(palette->Entries, colours.data(), 4 * colours.size());
  if (bitmap->SetPalette(palette) != Gdiplus::Ok) return {};
  Gdiplus::Rect whole(0, 0, image.width, image.height);
  Gdiplus::BitmapData data{};
  if (bitmap->LockBits(&whole, Gdiplus::ImageLockModeWrite,
                       PixelFormat8bppIndexed, &data) != Gdiplus::Ok) {
    return {};
  }
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(static_cast<uint8_t*>(data.Scan0) + data.Stride * y,
                indices.data() + size_t{1} * y * image.width, image.width);
  }
  bitmap->UnlockBits(&data);
  return Save(*bitmap, L"image/gif");
}

Bytes EncodeBlankOneBitPng(int width, int height) {
  GdiplusSession gdiplus;
  BitmapPtr bitmap = MakeBitmap(width, height, PixelFormat1bppIndexed);
  return bitmap ? Save(*bitmap, L"image/png") : Bytes{};
}

std::optional<Image> DecodeWithGdiplus(const Bytes& file) {
  GdiplusSession gdiplus;
  ComPtr<IStream> stream;
  if (CreateStreamOnHGlobal(nullptr, TRUE, stream.put()) != S_OK) return {};
  ULONG written = 0;
  stream->Write(file.data(), static_cast<ULONG>(file.size()), &written);
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  BitmapPtr bitmap = MakeBitmap(stream.get(), FALSE);
  if (!bitmap) return {};
  Image image{static_cast<int>(bitmap->GetWidth()),
              static_cast<int>(bitmap->GetHeight()),
              {}};
  image.argb.resize(size_t{1} * image.width * image.height);
  if (!TransferPixels(*bitmap, &image, false)) return {};
  return image;
}

flutter::EncodableList IntList(const Bytes& bytes) {
  flutter::EncodableList list;
  for (uint8_t byte : bytes) list.emplace_back(static_cast<int32_t>(byte));
  return list;
}

std::optional<Bytes> PastedBytes(const flutter::EncodableValue& answer) {
  const auto* map = flutter::get_if<flutter::EncodableMap>(&answer);
  if (!map || map->size() != 1) return {};
  auto it = map->find(flutter::EncodableValue("imageBytes"));
  if (it == map->end()) return {};
  const auto* list = flutter::get_if<flutter::EncodableList>(&it->second);
  if (!list) return {};
  Bytes bytes;
  for (const auto& element : *list) {
    const auto* value = flutter::get_if<int32_t>(&element);
    if (!value || *value < 0 || *value > 255) return {};
    bytes.push_back(static_cast<uint8_t>(*value));
  }
  return bytes;
}

Image PixelsOfDib32(const Bytes& block) {
  Image image;
  if (block.size() < 40) return image;
  int32_t height = 0;
  std::memcpy(&image.width, &block[4], 4);
  std::memcpy(&height, &block[8], 4);
  image.height = height < 0 ? -height : height;
  const size_t count = size_t{1} * image.width * image.height;
  if (block.size() < 40 + 4 * count) return Image{};
  image.argb.resize(count);
  std::memcpy(image.argb.data(), &block[40], 4 * count);
  return image;
}

Bytes PackedDib(const DibFields& fields, const Bytes& tail) {
  BITMAPINFOHEADER header{};
  header.biSize = fields.header_size;
  header.biWidth = fields.width;
  header.biHeight = fields.height;
  header.biPlanes = 1;
  header.biBitCount = fields.bits_per_pixel;
  header.biCompression = fields.compression;
  header.biClrUsed = fields.colours_used;
  Bytes bytes(sizeof(header) + tail.size());
  std::memcpy(bytes.data(), &header, sizeof(header));
  if (!tail.empty()) {
    std::memcpy(bytes.data() + sizeof(header), tail.data(), tail.size());
  }
  return bytes;
}

void PutBitmap(const Image& image) {
  clipboard::ScreenDc screen;
  HBITMAP bitmap =
      CreateCompatibleBitmap(screen.get(), image.width, image.height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  SetDIBits(screen.get(), bitmap, 0, image.height, image.argb.data(), &info,
            DIB_RGB_COLORS);
  if (!OpenClipboard(nullptr)) {
    DeleteObject(bitmap);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_BITMAP, bitmap)) DeleteObject(bitmap);
  CloseClipboard();
}

namespace {

// The owner of the never-rendered CF_BITMAP, alive for the whole process.
// Its messages are handled on the thread that asks for the data.
HWND DelayedRenderingOwner() {
  static HWND window = [] {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;  // WM_RENDERFORMAT: nothing
    window_class.lpszClassName = L"ImageTestClipboardOwner";
    RegisterClassW(&window_class);
    return CreateWindowW(window_class.lpszClassName, L"", 0, 0, 0, 0, 0,
                         HWND_MESSAGE, nullptr, nullptr, nullptr);
  }();
  return window;
}

}  // namespace

void PutBlocksWithoutBitmap(const std::vector<std::pair<UINT, Bytes>>& blocks) {
  if (!OpenClipboard(DelayedRenderingOwner())) return;
  EmptyClipboard();
  for (const auto& [format, bytes] : blocks) {
    clipboard::UniqueHGlobal block = clipboard::AllocateMovable(bytes.size());
    clipboard::GlobalLockGuard lock(block.get());
    if (!lock) continue;
    if (!bytes.empty()) std::memcpy(lock.data(), bytes.data(), bytes.size());
    lock.Unlock();
    clipboard::HandOverToClipboard(format, block);
  }
  SetClipboardData(CF_BITMAP, nullptr);
  CloseClipboard();
}

Bytes LosslessWebp1x1(uint32_t argb) {
  Bytes data;
  int used = 0;  // bits used in data.back()
  auto put = [&](uint32_t value, int count) {
    for (int i = 0; i < count; ++i, used = (used + 1) % 8) {
      if (used == 0) data.push_back(0);
      data.back() |= static_cast<uint8_t>(((value >> i) & 1) << used);
    }
  };
  put(0x2F, 8);                     // signature
  put(0, 14), put(0, 14);           // width - 1, height - 1
  put(1, 1), put(0, 3);             // alpha used, version 0
  put(0, 1), put(0, 1), put(0, 1);  // no transform, cache, meta codes
  // Green, red, blue, alpha: simple code, one 8-bit symbol each.
  for (int shift : {8, 16, 0, 24}) {
    put(1, 1), put(0, 1), put(1, 1), put((argb >> shift) & 0xFF, 8);
  }
  put(1, 1), put(0, 1), put(0, 1), put(0, 1);  // distance: symbol 0
  const auto chunk_size = static_cast<uint32_t>(data.size());
  if (chunk_size % 2) data.push_back(0);  // chunks are padded to even
  const auto le32 = [](Bytes* out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out->push_back((value >> (8 * i)) & 0xFF);
  };
  Bytes file = {'R', 'I', 'F', 'F'};
  le32(&file, static_cast<uint32_t>(4 + 8 + data.size()));
  file.insert(file.end(), {'W', 'E', 'B', 'P', 'V', 'P', '8', 'L'});
  le32(&file, chunk_size);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

Bytes FileList(const std::vector<std::wstring>& paths) {
  Bytes bytes(20, 0);  // DROPFILES
  bytes[0] = 20;       // pFiles
  bytes[16] = 1;       // fWide
  auto append = [&bytes](wchar_t unit) {
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  };
  for (const std::wstring& path : paths) {
    for (wchar_t unit : path) append(unit);
    append(0);
  }
  append(0);
  return bytes;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, base);
  static int counter = 0;
  path_ = std::wstring(base) + L"image_test_" +
          std::to_wstring(GetCurrentProcessId()) + L"_" +
          std::to_wstring(++counter);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
    if (!DeleteFileW(it->c_str())) RemoveDirectoryW(it->c_str());
  }
  RemoveDirectoryW(path_.c_str());
}

std::wstring TempFolder::Write(const std::wstring& name, const Bytes& bytes) {
  std::wstring full = path_;
  size_t start = 0;
  for (size_t slash; (slash = name.find(L'\\', start)) != std::wstring::npos;
       start = slash + 1) {
    full += L"\\" + name.substr(start, slash - start);
    if (CreateDirectoryW(full.c_str(), nullptr)) created_.push_back(full);
  }
  full += L"\\" + name.substr(start);
  HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
    CloseHandle(file);
    created_.push_back(full);
  }
  return full;
}

}  // namespace clipboard_test
