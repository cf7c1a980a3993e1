#include "plugin/rich_text_operations.h"

#include <cstdint>
#include <string>

#include "plugin/clipboard_html.h"
#include "plugin/clipboard_text.h"
#include "plugin/method_arguments.h"
#include "plugin/win_handles.h"

namespace clipboard {

using flutter::EncodableMap;
using flutter::EncodableValue;

void CopyRichText(const EncodableMap* arguments,
                  std::unique_ptr<flutter::MethodResult> result) {
  if (!arguments) {
    result->Error("INVALID_ARGUMENT", "Arguments are required");
    return;
  }
  const std::string* text = NonEmptyStringArgument(*arguments, "text");
  const std::string* html = NonEmptyStringArgument(*arguments, "html");
  if (!text && !html) {
    result->Error("EMPTY_CONTENT", "Either text or html must be provided");
    return;
  }
  {
    ClipboardSession clipboard;
    if (!clipboard) {
      result->Error("COPY_RICH_ERROR", "Failed to open clipboard");
      return;
    }
    EmptyClipboard();
    // Neither is derived from the other: each goes on only when given.
    if (text) PutUnicodeTextOnClipboard(*text);
    if (html) PutHtmlOnClipboard(*html);
  }
  result->Success(EncodableValue(true));
}

void PasteRichText(std::unique_ptr<flutter::MethodResult> result) {
  EncodableMap answer;
  {
    ClipboardSession clipboard;
    if (!clipboard) {
      result->Error("PASTE_RICH_ERROR", "Failed to open clipboard");
      return;
    }
    answer[EncodableValue("text")] =
        EncodableValue(ReadUnicodeTextFromClipboard());
    answer[EncodableValue("html")] = EncodableValue(ReadHtmlFromClipboard());
    answer[EncodableValue("timestamp")] =
        EncodableValue(static_cast<int64_t>(GetTickCount64()));
  }
  result->Success(EncodableValue(std::move(answer)));
}

}  // namespace clipboard
