#ifndef PLUGIN_COPY_MULTIPLE_H_
#define PLUGIN_COPY_MULTIPLE_H_

#include <memory>

#include "channels/method_result.h"
#include "codec/encodable_value.h"

namespace clipboard {

// The operation behind "copyMultiple": replaces the clipboard's content with
// every usable entry of the map under "formats", in one clipboard session
// and in this order whatever the map's order: "image/png" (a list of byte
// values) as CF_DIB, "text/plain" as CF_UNICODETEXT, "text/html" as
// "HTML Format". Other keys, and entries of another kind or empty, are
// skipped. Answers `result` exactly once, with true once the clipboard is
// open. `arguments` is null when the call carries no argument map.
void CopyMultiple(const flutter::EncodableMap* arguments,
                  std::unique_ptr<flutter::MethodResult> result);

}  // namespace clipboard

#endif  // PLUGIN_COPY_MULTIPLE_H_
