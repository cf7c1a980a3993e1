#include "plugin/text_operations.h"

#include <string>

#include "plugin/clipboard_text.h"
#include "plugin/method_arguments.h"
#include "plugin/win_handles.h"

namespace clipboard {

using flutter::EncodableMap;
using flutter::EncodableValue;

void Copy(const EncodableMap* arguments,
          std::unique_ptr<flutter::MethodResult> result) {
  if (!arguments) {
    result->Error("INVALID_ARGUMENT", "Arguments are required");
    return;
  }
  const std::string* text = NonEmptyStringArgument(*arguments, "text");
  if (!text) {
    result->Error("EMPTY_TEXT", "Text cannot be empty");
    return;
  }
  {
    ClipboardSession clipboard;
    if (!clipboard) {
      result->Error("COPY_ERROR", "Failed to open clipboard");
      return;
    }
    EmptyClipboard();
    PutUnicodeTextOnClipboard(*text);
  }
  result->Success(EncodableValue(true));
}

void Paste(std::unique_ptr<flutter::MethodResult> result) {
  ClipboardSession clipboard;
  if (!clipboard) {
    result->Error("PASTE_ERROR", "Failed to open clipboard");
    return;
  }
  // Answered while the clipboard is still open; it closes right after.
  result->Success(EncodableValue(EncodableMap{
      {EncodableValue("text"), EncodableValue(ReadUnicodeTextFromClipboard())},
  }));
}

void Clear(std::unique_ptr<flutter::MethodResult> result) {
  {
    ClipboardSession clipboard;
    if (!clipboard) {
      result->Error("CLEAR_ERROR", "Failed to open clipboard");
      return;
    }
    EmptyClipboard();
  }
  result->Success(EncodableValue(true));
}

}  // namespace clipboard
