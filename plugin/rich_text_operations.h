#ifndef PLUGIN_RICH_TEXT_OPERATIONS_H_
#define PLUGIN_RICH_TEXT_OPERATIONS_H_

#include <memory>

#include "channels/method_result.h"
#include "codec/encodable_value.h"

namespace clipboard {

// The operations behind "copyRichText" and "pasteRichText". Each answers
// `result` exactly once. `arguments` is null when the call carries no
// argument map.

// Replaces the clipboard's content with the string under "text" as
// CF_UNICODETEXT and the fragment under "html" as "HTML Format", each only
// when it is a non-empty string; answers true.
void CopyRichText(const flutter::EncodableMap* arguments,
                  std::unique_ptr<flutter::MethodResult> result);

// Answers {"html": the whole "HTML Format" document or "", "text": the
// CF_UNICODETEXT text or "", "timestamp": GetTickCount64() as int64}.
void PasteRichText(std::unique_ptr<flutter::MethodResult> result);

}  // namespace clipboard

#endif  // PLUGIN_RICH_TEXT_OPERATIONS_H_
