// pasteImage against the real clipboard: each source, the order in which
// they are tried, and what each refuses.
//
// Windows and Wine synthesize CF_BITMAP from a DIB on the clipboard, so the
// DIB source runs only when that fails. The tests reach it as a program
// does that announces CF_BITMAP for delayed rendering and never renders it.
// Wine then also synthesizes CF_DIBV5 from that CF_BITMAP (and fails), so
// the DIB cases place their block as CF_DIBV5; the CF_DIB branch of that
// source is only reached when no CF_DIBV5 is offered, which Wine never
// allows while a CF_DIB is present.

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

using ::testing::ElementsAre;

constexpr char kNoImage[] =
    "No image found in clipboard. Copy an image (not a file) or try pasting "
    "after copying image data from a browser/app.";

Answer PasteImage() {
  Answer answer;
  clipboard::PasteImage(std::make_unique<RecordingResult>(&answer));
  EXPECT_EQ(answer.outcomes, 1);
  return answer;
}

// The image that pasteImage answered with, decoded; none for an error.
std::optional<Image> PastedImage() {
  const Answer answer = PasteImage();
  if (answer.kind != Answer::Kind::kSuccess) {
    ADD_FAILURE() << answer;
    return std::nullopt;
  }
  const std::optional<Bytes> png = PastedBytes(answer.value);
  if (!png || png->size() < 8) {
    ADD_FAILURE() << "not a list of byte values";
    return std::nullopt;
  }
  EXPECT_THAT(std::vector<uint8_t>(png->begin(), png->begin() + 4),
              ElementsAre(137, 80, 78, 71));
  return DecodeWithGdiplus(*png);
}

void ExpectNoImage() {
  const Answer answer = PasteImage();
  EXPECT_EQ(answer.kind, Answer::Kind::kError) << answer;
  EXPECT_EQ(answer.code, "PASTE_IMAGE_ERROR");
  EXPECT_EQ(answer.message, kNoImage);
  EXPECT_FALSE(answer.details.has_value());
}

// Packed DIBs of an image, as other programs write them.
Bytes Rows32(const Image& image, bool top_down) {
  Bytes rows;
  for (int i = 0; i < image.height; ++i) {
    const int y = top_down ? i : image.height - 1 - i;
    for (int x = 0; x < image.width; ++x) {
      const uint32_t pixel = image.argb[size_t{1} * y * image.width + x];
      for (int shift : {0, 8, 16, 24}) rows.push_back((pixel >> shift) & 0xFF);
    }
  }
  return rows;
}

Bytes Dib32(const Image& image, bool top_down) {
  const int32_t height = top_down ? -image.height : image.height;
  return PackedDib({40, image.width, height, 32}, Rows32(image, top_down));
}

Bytes Dib24(const Image& image) {
  Bytes rows;
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t pixel = image.argb[size_t{1} * y * image.width + x];
      for (int shift : {0, 8, 16}) rows.push_back((pixel >> shift) & 0xFF);
    }
    while (rows.size() % 4) rows.push_back(0);
  }
  return PackedDib({40, image.width, image.height, 24}, rows);
}

// An 8-bit DIB whose colour table has `colours` entries (0: all 256), all
// in use; pixel i of the image is colour i % the count.
Bytes Dib8(int width, int height, uint32_t colours, Image* expected) {
  const uint32_t count = colours ? colours : 256;
  Bytes tail;
  for (uint32_t i = 0; i < count; ++i) {
    tail.insert(tail.end(),
                {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i),
                 static_cast<uint8_t>(i * 3), 0});
  }
  *expected = Image{width, height, {}};
  expected->argb.resize(size_t{1} * width * height);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t index = (y * width + x) % count;
      tail.push_back(static_cast<uint8_t>(index));
      expected->argb[size_t{1} * y * width + x] =
          0xFF000000u | (index * 3 & 0xFF) << 16 | (255 - index) << 8 |
          (index * 7 & 0xFF);
    }
    while ((tail.size() - 4 * count) % 4) tail.push_back(0);
  }
  return PackedDib({40, width, height, 8, 0, colours}, tail);
}

// Red, green and blue masks after a bare 40-byte header.
Bytes DibBitfields(const Image& image) {
  Bytes tail = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
  const Bytes rows = Rows32(image, false);
  tail.insert(tail.end(), rows.begin(), rows.end());
  return PackedDib({40, image.width, image.height, 32, 3}, tail);
}

class ImagePasteTest : public ::testing::Test {
 protected:
  void TearDown() override { EmptyTheClipboard(); }

  TempFolder folder_;
};

TEST_F(ImagePasteTest, NothingToPaste) {
  EmptyTheClipboard();
  ExpectNoImage();
  PutText("just text");
  ExpectNoImage();
}

TEST_F(ImagePasteTest, BitmapComesBackAsPngOfItsSizeAndPixels) {
  const Image image = PatternImage(21, 9);
  PutBitmap(image);
  EXPECT_EQ(PastedImage(), image);
  // The operation leaves the clipboard as it was.
  EXPECT_THAT(OfferedAmong({CF_BITMAP}), ElementsAre(CF_BITMAP));
}

// The CF_BITMAP that the system synthesizes from a DIB is read first.
TEST_F(ImagePasteTest, DibAloneIsReadThroughTheSynthesizedBitmap) {
  const Image image = PatternImage(5, 3);
  PutBlock(CF_DIB, Dib24(image));
  EXPECT_EQ(PastedImage(), image);
}

TEST_F(ImagePasteTest, DibBlocksWhenNoBitmapCanBeHad) {
  Image eight_bit, two_colours;
  const Bytes dib8 = Dib8(5, 3, 0, &eight_bit);
  const Bytes dib8_two = Dib8(6, 2, 2, &two_colours);
  const Image image = PatternImage(6, 4);
  const struct {
    const char* name;
    Bytes dib;
    Image expected;
  } cases[] = {
      {"32-bit bottom-up", Dib32(image, false), image},
      {"32-bit top-down", Dib32(image, true), image},
      {"24-bit, padded rows", Dib24(image), image},
      {"8-bit with its colour table", dib8, eight_bit},
      {"8-bit with two colours used", dib8_two, two_colours},
      {"32-bit with bit-field masks", DibBitfields(image), image},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutBlocksWithoutBitmap({{CF_DIBV5, c.dib}});
    EXPECT_EQ(PastedImage(), c.expected);
  }
}

TEST_F(ImagePasteTest, DibV5IsPreferredToDib) {
  const Image first = PatternImage(4, 4), second = PatternImage(3, 5);
  PutBlocksWithoutBitmap(
      {{CF_DIB, Dib32(first, false)}, {CF_DIBV5, Dib32(second, false)}});
  EXPECT_EQ(PastedImage(), second);
}

// A refused block makes the search go on to the file list; with nothing
// there, there is no image.
TEST_F(ImagePasteTest, RefusedDibBlocksFallThroughToTheFileList) {
  const Image image = PatternImage(3, 3), fallback = PatternImage(2, 5);
  const std::wstring png =
      folder_.Write(L"fallback.png", EncodeWithGdiplus(fallback, L"image/png"));
  Bytes short_rows = Dib32(image, false);
  short_rows.pop_back();
  const struct {
    const char* name;
    Bytes dib;
  } cases[] = {
      {"core header", PackedDib({12, 3, 3, 32}, Bytes(36, 0x55))},
      {"width 0", PackedDib({40, 0, 3, 32}, Bytes(36, 0x55))},
      {"negative width", PackedDib({40, -3, 3, 32}, Bytes(36, 0x55))},
      {"height 0", PackedDib({40, 3, 0, 32}, Bytes(36, 0x55))},
      {"rows cut short", short_rows},
      {"colour table cut short", PackedDib({40, 3, 3, 8}, Bytes(500, 0))},
      {"shorter than a header", Bytes(20, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutBlocksWithoutBitmap({{CF_DIBV5, c.dib}, {CF_HDROP, FileList({png})}});
    EXPECT_EQ(PastedImage(), fallback);
    PutBlocksWithoutBitmap({{CF_DIBV5, c.dib}});
    ExpectNoImage();
  }
}

TEST_F(ImagePasteTest, FileListGivesTheFirstDecodableFileWithAnImageName) {
  const Image a = PatternImage(2, 3), b = PatternImage(4, 1),
              c = PatternImage(3, 3), d = PatternImage(5, 5);
  const Bytes png_a = EncodeWithGdiplus(a, L"image/png");
  const std::wstring text = folder_.Write(L"a.txt", BytesOf("not an image"));
  const std::wstring upper =
      folder_.Write(L"b.PNG", EncodeWithGdiplus(b, L"image/png"));
  const std::wstring jfif =
      folder_.Write(L"photo.jfif", EncodeWithGdiplus(a, L"image/jpeg"));
  const std::wstring no_extension = folder_.Write(L"my.photos\\image", png_a);
  const std::wstring webp =
      folder_.Write(L"clip.webp", LosslessWebp1x1(0xFFFF8000));
  const std::wstring bmp =
      folder_.Write(L"c.bmp", EncodeWithGdiplus(c, L"image/bmp"));
  const std::wstring gif = folder_.Write(L"d.gif", EncodeIndexedGif(d));
  const std::wstring missing = folder_.path() + L"\\missing.png";
  const struct {
    const char* name;
    std::vector<std::wstring> files;
    std::optional<Image> expected;
  } cases[] = {
      {"a.txt then b.PNG", {text, upper}, b},
      {"decodable .jfif is skipped", {jfif, bmp}, c},
      {"dot only in a folder name", {no_extension, bmp}, c},
      {"WebP that GDI+ cannot decode", {webp, bmp}, c},
      {"missing file", {missing, upper}, b},
      {"first of several acceptable files", {bmp, upper, gif}, c},
      {"GIF", {gif}, d},
      {"nothing acceptable", {text, jfif, no_extension, webp}, std::nullopt},
      {"empty list", {}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutBlock(CF_HDROP, FileList(c.files));
    if (c.expected) {
      EXPECT_EQ(PastedImage(), Opaque(*c.expected));
    } else {
      ExpectNoImage();
    }
  }
}

TEST_F(ImagePasteTest, FileListWithoutItsEndIsNotWalked) {
  const std::wstring png = folder_.Write(
      L"a.png", EncodeWithGdiplus(PatternImage(2, 2), L"image/png"));
  Bytes list = FileList({png});
  list.resize(list.size() - 2);  // the closing empty name
  list.back() = 'x';             // and the last name's NUL
  PutBlock(CF_HDROP, list);
  ExpectNoImage();
}

TEST_F(ImagePasteTest, ClipboardHeldByAnotherProgram) {
  PutBitmap(PatternImage(2, 2));
  ClipboardHolder holder;
  ASSERT_TRUE(holder.holding());
  ExpectNoImage();
}

}  // namespace
}  // namespace clipboard_test
