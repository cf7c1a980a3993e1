#include "plugin/image_operations.h"

#include <new>
#include <utility>

#include "plugin/dib_block.h"
#include "plugin/gdiplus_session.h"
#include "plugin/image_decoding.h"
#include "plugin/image_paste_sources.h"
#include "plugin/image_png.h"
#include "plugin/method_arguments.h"
#include "plugin/win_handles.h"

namespace clipboard {

using flutter::EncodableList;
using flutter::EncodableMap;
using flutter::EncodableValue;

namespace {

constexpr char kPasteError[] = "PASTE_IMAGE_ERROR";
constexpr char kNoImage[] =
    "No image found in clipboard. Copy an image (not a file) or try pasting "
    "after copying image data from a browser/app.";
constexpr char kNoStream[] = "Failed to create stream";
constexpr char kNotConverted[] = "Failed to convert image to PNG format";

// What pasteImage answers with: the PNG bytes, or the error message.
struct PngOrError {
  std::vector<uint8_t> png;
  const char* error = nullptr;
};

// Everything that pasteImage does with GDI+: the session ends, after the
// candidate, before the caller answers.
PngOrError ReadClipboardImageAsPng() {
  GdiplusSession gdiplus;
  BitmapPtr candidate = FindClipboardImage();
  if (!candidate) return {{}, kNoImage};
  PngOrError outcome;
  switch (EncodePng(*candidate, &outcome.png)) {
    case PngStatus::kOk:
      break;
    case PngStatus::kStreamFailed:
      outcome.error = kNoStream;
      break;
    case PngStatus::kEncodingFailed:
      outcome.error = kNotConverted;
      break;
  }
  return outcome;
}

// {"imageBytes": [one int32 per byte]}.
EncodableValue ImageBytesMap(const std::vector<uint8_t>& png) {
  EncodableList list;
  list.reserve(png.size());
  for (uint8_t byte : png) list.emplace_back(static_cast<int32_t>(byte));
  EncodableMap map;
  map.emplace(EncodableValue("imageBytes"), EncodableValue(std::move(list)));
  return EncodableValue(std::move(map));
}

}  // namespace

std::vector<uint8_t> ImageBytesFromList(const EncodableList& list) {
  std::vector<uint8_t> bytes;
  bytes.reserve(list.size());
  for (const EncodableValue& element : list) {
    if (const auto* value = flutter::get_if<int32_t>(&element)) {
      bytes.push_back(static_cast<uint8_t>(*value));
    } else if (const auto* value = flutter::get_if<int64_t>(&element)) {
      bytes.push_back(static_cast<uint8_t>(*value));
    }
  }
  return bytes;
}

bool PutImageBytesOnClipboard(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return false;
  GdiplusSession gdiplus;
  DecodedImage image = DecodeImageBytes(bytes);
  if (!image.bitmap) return false;
  UniqueHGlobal block = Dib32BlockFromBitmap(*image.bitmap);
  // A refused block stays in `block` and is freed here.
  return block && HandOverToClipboard(CF_DIB, block);
}

void CopyImage(const EncodableMap* arguments,
               std::unique_ptr<flutter::MethodResult> result) {
  if (!arguments) {
    result->Error("INVALID_ARGUMENT", "Arguments are required");
    return;
  }
  const auto* list = FindArgumentOf<EncodableList>(*arguments, "imageBytes");
  std::vector<uint8_t> bytes;
  try {
    if (list) bytes = ImageBytesFromList(*list);
  } catch (const std::bad_alloc&) {
    result->Error("COPY_IMAGE_ERROR", "Failed to copy image to clipboard");
    return;
  }
  if (bytes.empty()) {
    result->Error("EMPTY_IMAGE", "Image bytes cannot be empty");
    return;
  }
  bool placed = false;
  {
    ClipboardSession clipboard;
    if (!clipboard) {
      result->Error("COPY_IMAGE_ERROR", "Failed to open clipboard");
      return;
    }
    EmptyClipboard();
    placed = PutImageBytesOnClipboard(bytes);
  }
  if (placed) {
    result->Success(EncodableValue(true));
  } else {
    result->Error("COPY_IMAGE_ERROR", "Failed to copy image to clipboard");
  }
}

void PasteImage(std::unique_ptr<flutter::MethodResult> result) {
  PngOrError outcome = ReadClipboardImageAsPng();
  if (outcome.error) {
    result->Error(kPasteError, outcome.error);
    return;
  }
  EncodableValue answer;
  try {
    answer = ImageBytesMap(outcome.png);
  } catch (const std::bad_alloc&) {
    result->Error(kPasteError, kNotConverted);
    return;
  }
  outcome.png = {};  // the answer holds the bytes now
  result->Success(answer);
}

}  // namespace clipboard
