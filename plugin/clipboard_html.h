#ifndef PLUGIN_CLIPBOARD_HTML_H_
#define PLUGIN_CLIPBOARD_HTML_H_

#include <string>

namespace clipboard {

// Both routines need the clipboard open on the calling thread; neither opens,
// empties or closes it. The format number of "HTML Format" is asked for at
// every use.

// Places the "HTML Format" document for `fragment` (see BuildHtmlDocument)
// in a block of its length + 1 bytes, NUL included. The caller has emptied
// the clipboard. A failure, or a fragment too long for the document's
// offsets, leaves the format off the clipboard.
void PutHtmlOnClipboard(const std::string& fragment);

// The clipboard's whole "HTML Format" document, header included, unparsed:
// the bytes up to the first NUL and never past the end of the block; "" when
// there is none or it cannot be read.
std::string ReadHtmlFromClipboard();

}  // namespace clipboard

#endif  // PLUGIN_CLIPBOARD_HTML_H_
