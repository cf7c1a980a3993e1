// Interim: images are not supported yet. "copyImage" and "pasteImage" answer
// as not implemented, and copyMultiple places no image.
#include "plugin/image_operations.h"

namespace clipboard {

std::vector<uint8_t> ImageBytesFromList(const flutter::EncodableList&) {
  return {};
}

bool PutImageBytesOnClipboard(const std::vector<uint8_t>&) { return false; }

void CopyImage(const flutter::EncodableMap*,
               std::unique_ptr<flutter::MethodResult> result) {
  result->NotImplemented();
}

void PasteImage(std::unique_ptr<flutter::MethodResult> result) {
  result->NotImplemented();
}

}  // namespace clipboard
