// The pure parts of the image operations: the DIB header and sizes, the
// reading of packed DIBs, file lists and extensions, and the list-to-bytes
// rule. No clipboard here.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "gmock/gmock.h"
#include "gtest/gtest.h"
#include "plugin/dib_format.h"
#include "plugin/image_file_list.h"
#include "plugin/image_operations.h"
#include "tests/plugin/image_test_support.h"

namespace clipboard_test {
namespace {

using clipboard::Dib32BlockSize;
using clipboard::DibLayout;
using clipboard::ReadDibLayout;
using flutter::EncodableList;
using flutter::EncodableValue;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(Dib32Test, HeaderOfTwoByOneImage) {
  Bytes header(40, 0xAA);
  clipboard::WriteDib32Header(2, 1, header.data());
  // clang-format off
  EXPECT_THAT(header, ElementsAreArray<uint8_t>({
                          40, 0, 0, 0,              // header size
                          2, 0, 0, 0,               // width
                          0xFF, 0xFF, 0xFF, 0xFF,   // height -1: top-down
                          1, 0, 32, 0,              // planes, bits
                          0, 0, 0, 0, 0, 0, 0, 0,   // BI_RGB, image size
                          0, 0, 0, 0, 0, 0, 0, 0,   // resolution
                          0, 0, 0, 0, 0, 0, 0, 0}));  // colours
  // clang-format on
}

TEST(Dib32Test, BlockSizeRefusesWhatThe32BitArithmeticCannotHold) {
  constexpr uint32_t kMaxPixels = std::numeric_limits<int32_t>::max() / 4;
  struct Case {
    uint32_t width, height;
    std::optional<size_t> size;
  } cases[] = {
      {2, 1, 48},
      {3840, 2160, 40 + 4 * 3840 * 2160},
      {kMaxPixels, 1, 40 + size_t{4} * kMaxPixels},
      {1, kMaxPixels, 40 + size_t{4} * kMaxPixels},
      {kMaxPixels + 1, 1, std::nullopt},
      {65536, 8191, 40 + size_t{4} * 65536 * 8191},
      {65536, 8192, std::nullopt},   // 4 x W x H is 2^31
      {65536, 65536, std::nullopt},  // 4 x W x H wraps to 0 in 32 bits
      {0xFFFFFFFF, 0xFFFFFFFF, std::nullopt},
      {0, 10, std::nullopt},
      {10, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Dib32BlockSize(c.width, c.height), c.size)
        << c.width << " x " << c.height;
  }
}

struct LayoutCase {
  const char* name;
  DibFields fields;
  size_t tail_size;  // bytes after the 40-byte header
  bool accepted;
  size_t pixel_offset = 0;
  uint32_t line_count = 0;
  size_t pixel_bytes = 0;
};

TEST(DibLayoutTest, AcceptedAndRefusedHeaders) {
  constexpr int32_t kMostNegative = std::numeric_limits<int32_t>::min();
  const LayoutCase cases[] = {
      {"32-bit", {40, 2, 1, 32}, 8, true, 40, 1, 8},
      {"top-down", {40, 2, -3, 32}, 24, true, 40, 3, 24},
      {"8-bit, 256 colours", {40, 3, 2, 8}, 1024 + 8, true, 1064, 2, 8},
      {"8-bit, 2 colours used", {40, 3, 2, 8, 0, 2}, 8 + 8, true, 48, 2, 8},
      {"1-bit, padded rows", {40, 33, 2, 1}, 8 + 16, true, 48, 2, 16},
      {"24-bit, padded rows", {40, 1, 2, 24}, 8, true, 40, 2, 8},
      {"masks after 40 bytes", {40, 1, 1, 32, 3}, 12 + 4, true, 52, 1, 4},
      {"masks inside a V5 header", {124, 1, 1, 32, 3}, 84 + 4, true, 124, 1, 4},
      {"24-bit, 2 colours used", {40, 1, 1, 24, 0, 2}, 8 + 4, true, 48, 1, 4},
      {"longer block than needed", {40, 1, 1, 32}, 100, true, 40, 1, 4},
      {"core header (12 bytes)", {12, 1, 1, 32}, 8, false},
      {"width 0", {40, 0, 1, 32}, 8, false},
      {"negative width", {40, -1, 1, 32}, 8, false},
      {"height 0", {40, 1, 0, 32}, 8, false},
      {"rows one byte short", {40, 2, 2, 32}, 15, false},
      {"8-bit without room for its colour table", {40, 4, 1, 8}, 4, false},
      {"masks missing", {40, 1, 1, 32, 3}, 4, false},
      {"header longer than the block", {124, 1, 1, 32}, 40, false},
      {"run-length compression", {40, 4, 1, 8, 1}, 1024 + 64, false},
      {"PNG compression", {40, 4, 1, 0, 5}, 1024 + 64, false},
      {"most negative height", {40, 1, kMostNegative, 32}, 64, false},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes block = PackedDib(c.fields, Bytes(c.tail_size, 0));
    const std::optional<DibLayout> layout =
        ReadDibLayout(block.data(), block.size());
    ASSERT_EQ(layout.has_value(), c.accepted);
    if (!layout) continue;
    EXPECT_EQ(layout->pixel_offset, c.pixel_offset);
    EXPECT_EQ(layout->line_count, c.line_count);
    EXPECT_EQ(layout->pixel_bytes, c.pixel_bytes);
  }
}

TEST(DibLayoutTest, ShortBlocksAndHugeFieldsAreRefused) {
  const Bytes block = PackedDib({40, 2, 1, 32}, Bytes(8, 0));
  for (size_t size = 0; size < block.size(); ++size) {
    EXPECT_FALSE(ReadDibLayout(block.data(), size)) << size;
  }
  // Field values whose sizes would wrap if computed in 32 bits.
  const DibFields huge[] = {
      {0xFFFFFFF0, 1, 1, 32},
      {40, std::numeric_limits<int32_t>::max(), 1, 0xFFFF},
      {40, 0x10000, 0x10000, 32},
      {40, 1, 1, 32, 0, 0xFFFFFFFF},
  };
  for (const DibFields& fields : huge) {
    const Bytes bytes = PackedDib(fields, Bytes(64, 0));
    EXPECT_FALSE(ReadDibLayout(bytes.data(), bytes.size()))
        << fields.header_size << " " << fields.width;
  }
}

TEST(FileListTest, OnlyListsEndingInsideTheBlockAreWalked) {
  const Bytes wide = FileList({L"C:\\a.png", L"C:\\b.png"});
  EXPECT_TRUE(clipboard::IsTerminatedFileList(wide.data(), wide.size()));
  const Bytes empty = FileList({});
  EXPECT_TRUE(clipboard::IsTerminatedFileList(empty.data(), empty.size()));
  Bytes narrow(20, 0);
  narrow[0] = 20;
  for (char c : std::string("C:\\a.png\0\0", 10)) narrow.push_back(c);
  EXPECT_TRUE(clipboard::IsTerminatedFileList(narrow.data(), narrow.size()));

  // Every cut of a list lacks the final empty name.
  for (size_t size = 0; size < wide.size(); ++size) {
    EXPECT_FALSE(clipboard::IsTerminatedFileList(wide.data(), size)) << size;
  }
  for (size_t size = 0; size < narrow.size(); ++size) {
    EXPECT_FALSE(clipboard::IsTerminatedFileList(narrow.data(), size)) << size;
  }
  Bytes far_start = wide;
  far_start[0] = 0xFF;  // names start beyond the block
  EXPECT_FALSE(
      clipboard::IsTerminatedFileList(far_start.data(), far_start.size()));
}

TEST(FileListTest, ExtensionIsWhatFollowsTheLastDotLowerCased) {
  struct Case {
    const wchar_t* path;
    const wchar_t* extension;
    bool accepted;
  } cases[] = {
      {L"C:\\pictures\\b.PNG", L"png", true},
      {L"C:\\x\\photo.JpEg", L"jpeg", true},
      {L"C:\\x\\a.tar.TIF", L"tif", true},
      {L"C:\\x\\clip.webp", L"webp", true},
      {L"C:\\x\\photo.jfif", L"jfif", false},
      {L"C:\\my.photos\\image", L"photos\\image", false},
      {L"image", L"image", false},
      {L"C:\\x\\dot.", L"", false},
      {L"C:\\x\\a.txt", L"txt", false},
  };
  for (const Case& c : cases) {
    const std::wstring extension = clipboard::LowerCaseExtension(c.path);
    EXPECT_EQ(extension, c.extension);
    EXPECT_EQ(clipboard::IsAcceptedImageExtension(extension), c.accepted);
  }
  for (const wchar_t* accepted :
       {L"jpg", L"jpeg", L"png", L"bmp", L"gif", L"tiff", L"tif", L"ico"}) {
    EXPECT_TRUE(clipboard::IsAcceptedImageExtension(accepted));
  }
}

TEST(ImageBytesFromListTest, LowByteOfEachIntegerOthersSkipped) {
  const EncodableList list = {
      EncodableValue(int32_t{0}),
      EncodableValue(int32_t{255}),
      EncodableValue(int32_t{256}),
      EncodableValue(1.0),
      EncodableValue(int32_t{-1}),
      EncodableValue("7"),
      EncodableValue(int32_t{300}),
      EncodableValue(),
      EncodableValue(int64_t{-257}),
      EncodableValue(true),
      EncodableValue(int64_t{(int64_t{1} << 40) + 7}),
      EncodableValue(std::vector<uint8_t>{9}),
      EncodableValue(EncodableList{EncodableValue(int32_t{5})}),
      EncodableValue(std::vector<int32_t>{5}),
  };
  EXPECT_THAT(clipboard::ImageBytesFromList(list),
              ElementsAre(0, 255, 0, 255, 44, 255, 7));
  EXPECT_TRUE(clipboard::ImageBytesFromList({}).empty());
}

}  // namespace
}  // namespace clipboard_test
