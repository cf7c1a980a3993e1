#ifndef PLUGIN_CLIPBOARD_TEXT_H_
#define PLUGIN_CLIPBOARD_TEXT_H_

#include <string>

namespace clipboard {

// Both routines need the clipboard open on the calling thread; neither opens,
// empties or closes it.

// Places `text` (UTF-8, up to its first NUL) as CF_UNICODETEXT: UTF-16 with a
// NUL unit, in a block of exactly (units + 1) * 2 bytes. The caller has
// emptied the clipboard. A failure leaves the format off the clipboard.
void PutUnicodeTextOnClipboard(const std::string& text);

// The clipboard's CF_UNICODETEXT as UTF-8, up to its first NUL unit and never
// past the end of its block; "" when there is none or it cannot be read.
std::string ReadUnicodeTextFromClipboard();

}  // namespace clipboard

#endif  // PLUGIN_CLIPBOARD_TEXT_H_
