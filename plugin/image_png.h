#ifndef PLUGIN_IMAGE_PNG_H_
#define PLUGIN_IMAGE_PNG_H_

#include <cstdint>
#include <vector>

#include "plugin/gdiplus_session.h"

namespace clipboard {

enum class PngStatus {
  kOk,
  kStreamFailed,    // no memory stream to encode into
  kEncodingFailed,  // encoder, encoding, or reading the stream back
};

// Encodes `image` with GDI+'s built-in PNG encoder into `png` (replaced).
// The stream is released before this returns.
PngStatus EncodePng(Gdiplus::Image& image, std::vector<uint8_t>* png);

}  // namespace clipboard

#endif  // PLUGIN_IMAGE_PNG_H_
