#ifndef PLUGIN_IMAGE_PASTE_SOURCES_H_
#define PLUGIN_IMAGE_PASTE_SOURCES_H_

#include "plugin/gdiplus_session.h"

namespace clipboard {

// The places pasteImage looks for an image, in the order it tries them. Each
// opens the clipboard for itself, closes it before it returns, never changes
// it, and yields a decoded bitmap or null. A GdiplusSession must outlive the
// bitmap.

// CF_BITMAP, copied into a screen-compatible bitmap.
BitmapPtr BitmapFromClipboardBitmap();
// CF_DIBV5, or else CF_DIB, from a private copy of the block.
BitmapPtr BitmapFromClipboardDib();
// The first file of CF_HDROP that GDI+ decodes and whose extension is on
// the accepted list.
BitmapPtr BitmapFromClipboardFileList();

// The first bitmap that the sources above yield, in that order; null when
// none does.
BitmapPtr FindClipboardImage();

}  // namespace clipboard

#endif  // PLUGIN_IMAGE_PASTE_SOURCES_H_
