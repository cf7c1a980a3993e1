#ifndef PLUGIN_DIB_BLOCK_H_
#define PLUGIN_DIB_BLOCK_H_

#include "plugin/gdiplus_session.h"
#include "plugin/win_handles.h"

namespace clipboard {

// A movable CF_DIB block holding `bitmap` as a 32-bit top-down image: the
// 40-byte header, then each row's pixels exactly as GDI+ gives them in
// PixelFormat32bppARGB (blue, green, red, straight alpha). Empty when the
// image is too large for the block's 32-bit size arithmetic, or when a
// step fails.
UniqueHGlobal Dib32BlockFromBitmap(Gdiplus::Bitmap& bitmap);

}  // namespace clipboard

#endif  // PLUGIN_DIB_BLOCK_H_
