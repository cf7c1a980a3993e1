// Puts images on the clipboard, pastes each with pasteImage and writes, to
// the current folder, NAME.png (the answer's bytes) and NAME.argb (what was
// put: width and height as two little-endian uint32, then the 0xAARRGGBB
// pixels, rows top first), for a decoder other than GDI+ to compare.

#include <cstdio>
#include <memory>
#include <string>

#include "plugin/image_operations.h"
#include "tests/plugin/clipboard_probe.h"
#include "tests/plugin/image_test_support.h"
#include "tests/plugin/recording_result.h"

namespace clipboard_test {
namespace {

bool WriteFile(const std::string& name, const Bytes& bytes) {
  FILE* file = std::fopen(name.c_str(), "wb");
  if (!file) return false;
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool Dump(const std::string& name, const Image& expected) {
  Answer answer;
  clipboard::PasteImage(std::make_unique<RecordingResult>(&answer));
  const std::optional<Bytes> png = PastedBytes(answer.value);
  if (answer.kind != Answer::Kind::kSuccess || !png) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), answer.message.c_str());
    return false;
  }
  Bytes argb;
  for (uint32_t value : {uint32_t(expected.width), uint32_t(expected.height)}) {
    for (int shift : {0, 8, 16, 24}) argb.push_back((value >> shift) & 0xFF);
  }
  for (uint32_t pixel : expected.argb) {
    for (int shift : {0, 8, 16, 24}) argb.push_back((pixel >> shift) & 0xFF);
  }
  return WriteFile(name + ".png", *png) && WriteFile(name + ".argb", argb);
}

int Run() {
  bool ok = true;
  const Image bitmap = PatternImage(37, 23);
  PutBitmap(bitmap);
  ok &= Dump("bitmap", bitmap);

  // A top-down 32-bit DIB, read by the DIB source itself.
  const Image dib = PatternImage(19, 11);
  Bytes rows;
  for (uint32_t pixel : dib.argb) {
    for (int shift : {0, 8, 16, 24}) rows.push_back((pixel >> shift) & 0xFF);
  }
  PutBlocksWithoutBitmap(
      {{CF_DIBV5, PackedDib({40, dib.width, -dib.height, 32}, rows)}});
  ok &= Dump("dib", dib);

  EmptyTheClipboard();
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace clipboard_test

int main() { return clipboard_test::Run(); }
