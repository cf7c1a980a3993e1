#ifndef PLUGIN_IMAGE_DECODING_H_
#define PLUGIN_IMAGE_DECODING_H_

#include <cstdint>
#include <vector>

#include "plugin/gdiplus_session.h"
#include "plugin/win_handles.h"

namespace clipboard {

// An image decoded from memory. GDI+ may read the stream for as long as the
// bitmap lives, so the bitmap is declared last and goes first.
struct DecodedImage {
  ComPtr<IStream> stream;  // owns a copy of the encoded bytes
  BitmapPtr bitmap;        // null when the bytes could not be decoded
};

// Decodes an encoded image file (whatever GDI+ reads) from `bytes`. Needs a
// GdiplusSession that outlives the result.
DecodedImage DecodeImageBytes(const std::vector<uint8_t>& bytes);

}  // namespace clipboard

#endif  // PLUGIN_IMAGE_DECODING_H_
