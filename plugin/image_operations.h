#ifndef PLUGIN_IMAGE_OPERATIONS_H_
#define PLUGIN_IMAGE_OPERATIONS_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "channels/method_result.h"
#include "codec/encodable_value.h"

namespace clipboard {

// The bytes of an image list as it crosses the channel: the low 8 bits of
// each int32 or int64 element, in order; other elements are skipped.
std::vector<uint8_t> ImageBytesFromList(const flutter::EncodableList& list);

// Decodes an encoded image file and places it as a 32-bit top-down CF_DIB.
// The caller has opened and emptied the clipboard. True when the clipboard
// took the block.
bool PutImageBytesOnClipboard(const std::vector<uint8_t>& bytes);

// The operations behind "copyImage" and "pasteImage". `arguments` is null
// when the call carries no argument map.
void CopyImage(const flutter::EncodableMap* arguments,
               std::unique_ptr<flutter::MethodResult> result);
void PasteImage(std::unique_ptr<flutter::MethodResult> result);

}  // namespace clipboard

#endif  // PLUGIN_IMAGE_OPERATIONS_H_
