#include "plugin/dib_format.h"

#include <cstring>
#include <limits>

namespace clipboard {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

void PutLe(uint32_t value, int size, uint8_t* out) {
  for (int i = 0; i < size; ++i)
    out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetLe(const uint8_t* in, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | in[i];
  return value;
}

// Bytes between the header's start and the pixels, as GDI counts them: the
// three masks that follow a bare 40-byte header with bit fields, and the
// colour table, whose entry count is biClrUsed capped at 256, or 2^bpp for
// 8 bits or fewer when biClrUsed is 0.
uint64_t PixelOffset(uint32_t header_size, uint16_t bits_per_pixel,
                     uint32_t compression, uint32_t colours_used) {
  uint64_t masks = 0;
  if (header_size == kDibHeaderSize && compression == kBiBitfields) masks = 12;
  uint64_t colours = colours_used > 256 ? 256 : colours_used;
  if (colours == 0 && bits_per_pixel <= 8) colours = 1u << bits_per_pixel;
  return uint64_t{header_size} + masks + 4 * colours;
}

}  // namespace

std::optional<size_t> Dib32BlockSize(uint32_t width, uint32_t height) {
  constexpr uint64_t kMaxPixelBytes = std::numeric_limits<int32_t>::max();
  if (width == 0 || height == 0) return std::nullopt;
  if (uint64_t{width} * height > kMaxPixelBytes / 4) return std::nullopt;
  return kDibHeaderSize + size_t{4} * width * height;
}

void WriteDib32Header(uint32_t width, uint32_t height, uint8_t* out) {
  std::memset(out, 0, kDibHeaderSize);
  PutLe(kDibHeaderSize, 4, out);
  PutLe(width, 4, out + 4);
  PutLe(0u - height, 4, out + 8);  // two's complement of height: top-down
  PutLe(1, 2, out + 12);           // planes
  PutLe(32, 2, out + 14);          // bits per pixel; the rest stays 0
}

std::optional<DibLayout> ReadDibLayout(const uint8_t* block, size_t size) {
  if (size < kDibHeaderSize) return std::nullopt;
  DibLayout layout{};
  layout.header_size = GetLe(block, 4);
  layout.width = static_cast<int32_t>(GetLe(block + 4, 4));
  layout.height = static_cast<int32_t>(GetLe(block + 8, 4));
  layout.bits_per_pixel = static_cast<uint16_t>(GetLe(block + 14, 2));
  layout.compression = GetLe(block + 16, 4);
  const uint32_t colours_used = GetLe(block + 32, 4);
  if (layout.header_size < kDibHeaderSize || layout.header_size > size ||
      layout.width <= 0 || layout.height == 0) {
    return std::nullopt;
  }
  if (layout.compression != kBiRgb && layout.compression != kBiBitfields) {
    return std::nullopt;
  }
  const uint64_t offset = PixelOffset(layout.header_size, layout.bits_per_pixel,
                                      layout.compression, colours_used);
  if (offset > size) return std::nullopt;
  layout.pixel_offset = static_cast<size_t>(offset);
  // |height| without overflow for the most negative value.
  layout.line_count = layout.height < 0
                          ? 0u - static_cast<uint32_t>(layout.height)
                          : static_cast<uint32_t>(layout.height);
  const uint64_t stride =
      (uint64_t{static_cast<uint32_t>(layout.width)} * layout.bits_per_pixel +
       31) /
      32 * 4;
  if (stride > (size - layout.pixel_offset) / layout.line_count) {
    return std::nullopt;
  }
  layout.pixel_bytes = static_cast<size_t>(stride * layout.line_count);
  return layout;
}

}  // namespace clipboard
