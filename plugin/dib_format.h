#ifndef PLUGIN_DIB_FORMAT_H_
#define PLUGIN_DIB_FORMAT_H_

// The device-independent bitmap layout, as bytes: the block that copyImage
// writes and the blocks that pasteImage reads. No Windows calls here.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace clipboard {

inline constexpr size_t kDibHeaderSize = 40;  // BITMAPINFOHEADER

// The size of the 32-bit top-down block for a width x height image: the
// header and 4 x width x height pixel bytes. None when the pixel bytes do
// not fit a signed 32-bit count, or when either side is 0, so that no size
// or offset computed for the copy can wrap.
std::optional<size_t> Dib32BlockSize(uint32_t width, uint32_t height);

// Writes the 40-byte header of a 32-bit, uncompressed, top-down image to
// `out` (little-endian; height stored as -height).
void WriteDib32Header(uint32_t width, uint32_t height, uint8_t* out);

// Where the pixels of a packed device-independent bitmap are, as the GDI
// functions that read it see them.
struct DibLayout {
  uint32_t header_size;
  int32_t width;
  int32_t height;  // negative for top-down rows
  uint16_t bits_per_pixel;
  uint32_t compression;
  size_t pixel_offset;  // from the start of the block
  uint32_t line_count;  // |height|
  size_t pixel_bytes;   // line_count rows of 4-byte aligned lines
};

// The layout of the packed bitmap in `block` (`size` bytes), or none when it
// is refused: a header shorter than 40 bytes or longer than the block, a
// width of 0 or less, a height of 0, a compression whose pixel size cannot
// be known from the header (anything but uncompressed or bit fields), or a
// block shorter than its header, colour table, masks and rows.
std::optional<DibLayout> ReadDibLayout(const uint8_t* block, size_t size);

}  // namespace clipboard

#endif  // PLUGIN_DIB_FORMAT_H_
