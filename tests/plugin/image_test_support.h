#ifndef TESTS_PLUGIN_IMAGE_TEST_SUPPORT_H_
#define TESTS_PLUGIN_IMAGE_TEST_SUPPORT_H_

// Image fixtures made by the tests themselves (GDI+ encodes them, or they
// are written byte by byte), and the test's own ways of putting images on
// the clipboard as other programs do.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "codec/encodable_value.h"

namespace clipboard_test {

using Bytes = std::vector<uint8_t>;

// Pixels as 0xAARRGGBB, rows top first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;

  friend bool operator==(const Image& a, const Image& b) {
    return a.width == b.width && a.height == b.height && a.argb == b.argb;
  }
};
std::ostream& operator<<(std::ostream& out, const Image& image);

// A width x height image whose pixels follow a pattern that differs from
// pixel to pixel and from row to row; `alpha` for every pixel.
Image PatternImage(int width, int height, uint8_t alpha = 0xFF);
// The same image with every alpha byte set to 0xFF.
Image Opaque(Image image);

// GDI+'s encoding of `image` with the encoder for `mime_type` (e.g.
// L"image/png"). Starts and stops GDI+ itself.
Bytes EncodeWithGdiplus(const Image& image, const wchar_t* mime_type);
// A GIF of `image`, which must have at most 256 colours, all opaque,
// encoded by GDI+ from an 8-bit indexed bitmap (the GIF encoder of Wine's
// GDI+ writes no pixels for a 32-bit bitmap). Decodes to `image` exactly.
Bytes EncodeIndexedGif(const Image& image);
// A PNG of a blank 1-bit width x height image, encoded by GDI+: a large
// image in a small file and a small decoded bitmap.
Bytes EncodeBlankOneBitPng(int width, int height);
// GDI+'s decoding of an image file, in 32bpp ARGB; none if it fails.
std::optional<Image> DecodeWithGdiplus(const Bytes& file);

// One int32 element per byte.
flutter::EncodableList IntList(const Bytes& bytes);
// The bytes of a pasteImage answer {"imageBytes": [int32...]}; none when
// the value has another shape or an element is not an int32 of 0 to 255.
std::optional<Bytes> PastedBytes(const flutter::EncodableValue& answer);

// The pixels of a 32-bit top-down CF_DIB block as written by copyImage.
Image PixelsOfDib32(const Bytes& block);

// A packed DIB: a 40-byte header with these fields, then `tail` (colour
// table, masks and rows, as the case needs).
struct DibFields {
  uint32_t header_size = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bits_per_pixel = 32;
  uint32_t compression = 0;
  uint32_t colours_used = 0;
};
Bytes PackedDib(const DibFields& fields, const Bytes& tail);

// Places `image` as a CF_BITMAP (a device-dependent bitmap), alone.
void PutBitmap(const Image& image);

// Places `blocks` (format, bytes) with CF_BITMAP announced for delayed
// rendering by a window of the test that never renders it. The system then
// synthesizes no CF_BITMAP from the DIB blocks and GetClipboardData
// (CF_BITMAP) yields null, so that pasteImage reads the DIB blocks (or the
// file list) itself.
void PutBlocksWithoutBitmap(const std::vector<std::pair<UINT, Bytes>>& blocks);

// A 1 x 1 lossless WebP file of `argb`, written bit by bit: one simple
// single-symbol prefix code per channel, so the pixel takes no bits.
Bytes LosslessWebp1x1(uint32_t argb);

// A CF_HDROP block (wide names) listing `paths`.
Bytes FileList(const std::vector<std::wstring>& paths);

// A fresh folder under the temporary directory, removed with its files
// when this goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& path() const { return path_; }
  // Writes `bytes` to `name` (which may hold sub-folders, created here) and
  // returns the full path.
  std::wstring Write(const std::wstring& name, const Bytes& bytes);

 private:
  std::wstring path_;
  std::vector<std::wstring> created_;  // files and folders, in order
};

}  // namespace clipboard_test

#endif  // TESTS_PLUGIN_IMAGE_TEST_SUPPORT_H_
