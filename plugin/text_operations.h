#ifndef PLUGIN_TEXT_OPERATIONS_H_
#define PLUGIN_TEXT_OPERATIONS_H_

#include <memory>

#include "channels/method_result.h"
#include "codec/encodable_value.h"

namespace clipboard {

// The operations behind "copy", "paste" and "clear". Each answers `result`
// exactly once. `arguments` is null when the call carries no argument map.

// Replaces the clipboard's content with the string under "text" as
// CF_UNICODETEXT; answers true.
void Copy(const flutter::EncodableMap* arguments,
          std::unique_ptr<flutter::MethodResult> result);

// Answers {"text": the clipboard's CF_UNICODETEXT, or ""}.
void Paste(std::unique_ptr<flutter::MethodResult> result);

// Empties the clipboard; answers true.
void Clear(std::unique_ptr<flutter::MethodResult> result);

}  // namespace clipboard

#endif  // PLUGIN_TEXT_OPERATIONS_H_
