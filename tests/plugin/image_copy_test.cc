// copyImage and PutImageBytesOnClipboard against the real clipboard, with
// images that the tests encode themselves.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "plugin/image_operations.h"
#include "tests/plugin/clipboard_probe.h"
#include "tests/plugin/image_test_support.h"
#include "tests/plugin/recording_result.h"

namespace clipboard_test {
namespace {

using flutter::EncodableList;
using flutter::EncodableMap;
using flutter::EncodableValue;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

Answer CopyImage(const EncodableMap* arguments) {
  Answer answer;
  clipboard::CopyImage(arguments, std::make_unique<RecordingResult>(&answer));
  EXPECT_EQ(answer.outcomes, 1);
  return answer;
}

Answer CopyImageList(const EncodableList& list) {
  const EncodableMap arguments = {
      {EncodableValue("imageBytes"), EncodableValue(list)}};
  return CopyImage(&arguments);
}

void ExpectError(const Answer& answer, const std::string& code,
                 const std::string& message) {
  EXPECT_EQ(answer.kind, Answer::Kind::kError) << answer;
  EXPECT_EQ(answer.code, code);
  EXPECT_EQ(answer.message, message);
  EXPECT_FALSE(answer.details.has_value());
}

void ExpectSuccess(const Answer& answer) {
  EXPECT_EQ(answer.kind, Answer::Kind::kSuccess) << answer;
  EXPECT_EQ(answer.value, EncodableValue(true));
}

class ImageCopyTest : public ::testing::Test {
 protected:
  void SetUp() override { PutText("before"); }
  void TearDown() override { EmptyTheClipboard(); }

  static bool TextStillThere() {
    return ReadBlock(CF_UNICODETEXT) ==
           Utf16Bytes(std::wstring(L"before\0", 7));
  }
};

TEST_F(ImageCopyTest, ArgumentErrorsLeaveTheClipboardAlone) {
  ExpectError(CopyImage(nullptr), "INVALID_ARGUMENT", "Arguments are required");
  EXPECT_TRUE(TextStillThere());

  const EncodableValue empty_cases[] = {
      EncodableValue(std::vector<uint8_t>{0x89, 'P', 'N', 'G'}),
      EncodableValue("89504e47"),
      EncodableValue(EncodableList{}),
      EncodableValue(EncodableList{EncodableValue(1.0), EncodableValue("2"),
                                   EncodableValue()}),
      EncodableValue(),
  };
  for (const EncodableValue& value : empty_cases) {
    const EncodableMap arguments = {{EncodableValue("imageBytes"), value}};
    ExpectError(CopyImage(&arguments), "EMPTY_IMAGE",
                "Image bytes cannot be empty");
  }
  const EncodableMap no_key = {{EncodableValue("bytes"), EncodableValue(1)}};
  ExpectError(CopyImage(&no_key), "EMPTY_IMAGE", "Image bytes cannot be empty");
  EXPECT_TRUE(TextStillThere());
}

TEST_F(ImageCopyTest, TwoByOnePngGivesTheExact48ByteBlock) {
  const Image image{2, 1, {0xFF102030, 0x80405060}};
  ExpectSuccess(CopyImageList(IntList(EncodeWithGdiplus(image, L"image/png"))));
  EXPECT_THAT(ReadBlock(CF_DIB),
              ::testing::Optional(ElementsAreArray<uint8_t>(
                  {40,   0,    0,    0,    2,    0,    0,    0,
                   0xFF, 0xFF, 0xFF, 0xFF,  //
                   1,    0,    32,   0,    0,    0,    0,    0,
                   0,    0,    0,    0,  //
                   0,    0,    0,    0,    0,    0,    0,    0,
                   0,    0,    0,    0,    0,    0,    0,    0,  //
                   0x30, 0x20, 0x10, 0xFF, 0x60, 0x50, 0x40, 0x80})));
  EXPECT_FALSE(ReadBlock(CF_UNICODETEXT));  // emptied first
}

TEST_F(ImageCopyTest, AlphaIsKeptAndColoursAreNotPremultiplied) {
  Image image = PatternImage(7, 5, 0x80);
  image.argb[0] = 0x00123456;  // transparent, colour kept all the same
  image.argb[1] = 0x01FFFFFF;
  image.argb[2] = 0xFEFF0000;
  ExpectSuccess(CopyImageList(IntList(EncodeWithGdiplus(image, L"image/png"))));
  const auto block = ReadBlock(CF_DIB);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->size(), 40u + 4 * 7 * 5);
  EXPECT_EQ(PixelsOfDib32(*block), image);
}

// Whatever GDI+ decodes, the block holds exactly the pixels it decodes to.
TEST_F(ImageCopyTest, OtherFormatsDecodeToWhatGdiplusDelivers) {
  const Image image = PatternImage(13, 6);
  const struct {
    const char* name;
    Bytes file;
  } files[] = {
      {"JPEG", EncodeWithGdiplus(image, L"image/jpeg")},
      {"GIF", EncodeIndexedGif(image)},
      {"BMP", EncodeWithGdiplus(image, L"image/bmp")},
      {"TIFF", EncodeWithGdiplus(image, L"image/tiff")},
  };
  for (const auto& [name, file] : files) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(file.empty());
    const std::optional<Image> decoded = DecodeWithGdiplus(file);
    ASSERT_TRUE(decoded);
    ExpectSuccess(CopyImageList(IntList(file)));
    const auto block = ReadBlock(CF_DIB);
    ASSERT_TRUE(block);
    EXPECT_EQ(PixelsOfDib32(*block), *decoded);
  }
  // Lossless ones give the original pixels back.
  for (const Bytes& file : {files[1].file, files[2].file, files[3].file}) {
    ExpectSuccess(CopyImageList(IntList(file)));
    EXPECT_EQ(PixelsOfDib32(ReadBlock(CF_DIB).value_or(Bytes{})), image);
  }
}

TEST_F(ImageCopyTest, IntegersOfEitherWidthGiveTheirLowByte) {
  const Image image = PatternImage(3, 2);
  const Bytes png = EncodeWithGdiplus(image, L"image/png");
  EncodableList mixed;
  for (size_t i = 0; i < png.size(); ++i) {
    const int32_t byte = png[i];
    switch (i % 4) {
      case 0:
        mixed.emplace_back(byte + 256);
        break;
      case 1:
        mixed.emplace_back(int64_t{byte} - 256 * 1000000007LL);
        break;
      case 2:
        mixed.emplace_back(byte - 512);
        break;
      default:
        mixed.emplace_back(byte);
        break;
    }
    if (i % 5 == 0) mixed.emplace_back(2.0);
    if (i % 7 == 0) mixed.emplace_back("x");
  }
  ExpectSuccess(CopyImageList(mixed));
  EXPECT_EQ(PixelsOfDib32(ReadBlock(CF_DIB).value_or(Bytes{})), image);
}

TEST_F(ImageCopyTest, UndecodableBytesLeaveTheClipboardEmpty) {
  const EncodableList cases[] = {
      {EncodableValue(1), EncodableValue(2), EncodableValue(3)},
      // A PNG cut short in its pixel data.
      IntList([] {
        Bytes png = EncodeWithGdiplus(PatternImage(40, 40), L"image/png");
        png.resize(png.size() / 2);
        return png;
      }()),
  };
  for (const EncodableList& list : cases) {
    PutText("before");
    ExpectError(CopyImageList(list), "COPY_IMAGE_ERROR",
                "Failed to copy image to clipboard");
    EXPECT_THAT(OfferedAmong({CF_UNICODETEXT, CF_DIB, CF_BITMAP}),
                ElementsAre());
  }
}

// 4 x W x H is 2^31: past what the block's 32-bit size arithmetic holds.
// A 1-bit image keeps the decoded bitmap itself small (64 MiB).
TEST_F(ImageCopyTest, ImageTooLargeForTheBlockIsRefused) {
  const Bytes png = EncodeBlankOneBitPng(65536, 8192);
  ASSERT_FALSE(png.empty());
  ExpectError(CopyImageList(IntList(png)), "COPY_IMAGE_ERROR",
              "Failed to copy image to clipboard");
  EXPECT_FALSE(ReadBlock(CF_DIB));
}

TEST_F(ImageCopyTest, EmptyVectorIsRefusedAtOnce) {
  OpenClipboard(nullptr);
  EmptyClipboard();
  EXPECT_FALSE(clipboard::PutImageBytesOnClipboard({}));
  CloseClipboard();
}

TEST_F(ImageCopyTest, ClipboardHeldByAnotherProgram) {
  const Bytes png = EncodeWithGdiplus(PatternImage(2, 2), L"image/png");
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.holding());
    ExpectError(CopyImageList(IntList(png)), "COPY_IMAGE_ERROR",
                "Failed to open clipboard");
  }
  EXPECT_TRUE(TextStillThere());
}

}  // namespace
}  // namespace clipboard_test
