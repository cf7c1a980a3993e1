#include "plugin/copy_multiple.h"

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/clipboard_html.h"
#include "plugin/clipboard_text.h"
#include "plugin/image_operations.h"
#include "plugin/method_arguments.h"
#include "plugin/win_handles.h"

namespace clipboard {

using flutter::EncodableList;
using flutter::EncodableMap;
using flutter::EncodableValue;

namespace {

// Places each usable format; the clipboard is open and emptied.
void PutFormats(const EncodableMap& formats) {
  if (const auto* list = FindArgumentOf<EncodableList>(formats, "image/png")) {
    const std::vector<uint8_t> bytes = ImageBytesFromList(*list);
    if (!bytes.empty()) PutImageBytesOnClipboard(bytes);
  }
  if (const std::string* text = NonEmptyStringArgument(formats, "text/plain")) {
    PutUnicodeTextOnClipboard(*text);
  }
  if (const std::string* html = NonEmptyStringArgument(formats, "text/html")) {
    PutHtmlOnClipboard(*html);
  }
}

}  // namespace

void CopyMultiple(const EncodableMap* arguments,
                  std::unique_ptr<flutter::MethodResult> result) {
  if (!arguments) {
    result->Error("INVALID_ARGUMENT", "Arguments are required");
    return;
  }
  const auto* formats = FindArgumentOf<EncodableMap>(*arguments, "formats");
  if (!formats || formats->empty()) {
    result->Error("EMPTY_FORMATS", "At least one format must be provided");
    return;
  }
  {
    ClipboardSession clipboard;
    if (!clipboard) {
      result->Error("COPY_MULTIPLE_ERROR", "Failed to open clipboard");
      return;
    }
    EmptyClipboard();
    PutFormats(*formats);
  }
  result->Success(EncodableValue(true));
}

}  // namespace clipboard
