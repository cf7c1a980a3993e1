#include "plugin/dib_block.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "plugin/dib_format.h"

namespace clipboard {

namespace {

// Copies the whole image's rows into `out`, 4 x width bytes a row.
bool CopyArgbRows(Gdiplus::Bitmap& bitmap, uint32_t width, uint32_t height,
                  uint8_t* out) {
  Gdiplus::Rect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData locked{};
  if (bitmap.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                      &locked) != Gdiplus::Ok) {
    return false;
  }
  const size_t row_bytes = size_t{4} * width;
  const ptrdiff_t stride = locked.Stride;
  const bool usable =
      locked.Scan0 && locked.Width == width && locked.Height == height &&
      static_cast<size_t>(stride < 0 ? -stride : stride) >= row_bytes;
  if (usable) {
    const auto* first_row = static_cast<const uint8_t*>(locked.Scan0);
    for (uint32_t row = 0; row < height; ++row) {
      std::memcpy(out + row_bytes * row, first_row + stride * row, row_bytes);
    }
  }
  bitmap.UnlockBits(&locked);
  return usable;
}

}  // namespace

UniqueHGlobal Dib32BlockFromBitmap(Gdiplus::Bitmap& bitmap) {
  const uint32_t width = bitmap.GetWidth();
  const uint32_t height = bitmap.GetHeight();
  const std::optional<size_t> size = Dib32BlockSize(width, height);
  if (!size) return UniqueHGlobal();
  UniqueHGlobal block = AllocateMovable(*size);
  if (!block) return block;
  GlobalLockGuard lock(block.get());
  if (!lock) return UniqueHGlobal();
  auto* out = static_cast<uint8_t*>(lock.data());
  WriteDib32Header(width, height, out);
  if (!CopyArgbRows(bitmap, width, height, out + kDibHeaderSize)) {
    return UniqueHGlobal();
  }
  return block;
}

}  // namespace clipboard
