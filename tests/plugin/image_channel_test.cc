// "copyImage", "pasteImage" and copyMultiple's image through the plug-in
// DLL, as the application sends them: encoded calls in, envelopes out.

#include <cstdint>
#include <vector>

#include "gtest/gtest.h"
#include "tests/plugin/clipboard_probe.h"
#include "tests/plugin/image_test_support.h"
#include "tests/plugin/plugin_driver.h"

namespace clipboard_test {
namespace {

using flutter::EncodableValue;

class ImageChannelTest : public ::testing::Test {
 protected:
  void TearDown() override { EmptyTheClipboard(); }

  Bytes Reply(const char* method, const EncodableValue& arguments = {}) {
    const standin::Response response =
        plugin_.Send(kMethodChannel, method, arguments);
    EXPECT_EQ(response.state, kStandinResponded);
    return response.bytes;
  }

  PluginDriver plugin_;
};

TEST_F(ImageChannelTest, CopyImageAndCopyMultipleWriteTheSameBlock) {
  const Image image{2, 1, {0xFF102030, 0x80405060}};
  const EncodableValue list(IntList(EncodeWithGdiplus(image, L"image/png")));
  const EncodableValue yes(true);

  EXPECT_EQ(Reply("copyImage", Map({{"imageBytes", list}})),
            SuccessEnvelope(&yes));
  const std::optional<Bytes> copied = ReadBlock(CF_DIB);
  ASSERT_TRUE(copied);
  EXPECT_EQ(copied->size(), 48u);
  EXPECT_EQ(PixelsOfDib32(*copied), image);

  EmptyTheClipboard();
  EXPECT_EQ(
      Reply("copyMultiple", Map({{"formats", Map({{"image/png", list}})}})),
      SuccessEnvelope(&yes));
  EXPECT_EQ(ReadBlock(CF_DIB), copied);
}

TEST_F(ImageChannelTest, ErrorsArriveAsErrorEnvelopes) {
  EXPECT_EQ(Reply("copyImage"),
            ErrorEnvelope("INVALID_ARGUMENT", "Arguments are required"));
  EXPECT_EQ(Reply("copyImage", Str("not a map")),
            ErrorEnvelope("INVALID_ARGUMENT", "Arguments are required"));
  EXPECT_EQ(
      Reply("copyImage",
            Map({{"imageBytes", EncodableValue(std::vector<uint8_t>{1})}})),
      ErrorEnvelope("EMPTY_IMAGE", "Image bytes cannot be empty"));
  EXPECT_EQ(
      Reply("copyImage", Map({{"imageBytes", IntList({1, 2, 3})}})),
      ErrorEnvelope("COPY_IMAGE_ERROR", "Failed to copy image to clipboard"));
  EmptyTheClipboard();
  EXPECT_EQ(Reply("pasteImage"),
            ErrorEnvelope("PASTE_IMAGE_ERROR",
                          "No image found in clipboard. Copy an image (not a "
                          "file) or try pasting after copying image data from "
                          "a browser/app."));
}

TEST_F(ImageChannelTest, PasteImageIgnoresArguments) {
  const Image image = PatternImage(6, 4);
  PutBitmap(image);
  for (const EncodableValue& arguments :
       {EncodableValue(), Map({{"imageBytes", IntList({1, 2})}}), Str("png")}) {
    const Answer answer = plugin_.Call("pasteImage", arguments);
    ASSERT_EQ(answer.kind, Answer::Kind::kSuccess) << answer;
    const std::optional<Bytes> png = PastedBytes(answer.value);
    ASSERT_TRUE(png);
    EXPECT_EQ(DecodeWithGdiplus(*png), image);
  }
}

}  // namespace
}  // namespace clipboard_test
