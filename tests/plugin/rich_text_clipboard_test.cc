// "copyRichText", "pasteRichText" and "copyMultiple" through the method
// channel, checked against the clipboard's own blocks.
#include <cstdint>
#include <optional>
#include <string>

#include "gtest/gtest.h"
#include "tests/plugin/clipboard_probe.h"
#include "tests/plugin/image_test_support.h"
#include "tests/plugin/plugin_driver.h"

namespace clipboard_test {
namespace {

using flutter::EncodableList;
using flutter::EncodableMap;
using flutter::EncodableValue;
using Kind = Answer::Kind;

// The document for the 8-byte fragment "<b>x</b>", NUL included: 170 bytes.
const std::string kBoldXDocument = std::string(
    "Version:0.9\r\n"
    "StartHTML:00000097\r\n"
    "EndHTML:00000169\r\n"
    "StartFragment:00000129\r\n"
    "EndFragment:00000137\r\n"
    "<html><body><!--StartFragment--><b>x</b>"
    "<!--EndFragment--></body></html>");

Bytes WithNul(const std::string& text) {
  Bytes bytes = BytesOf(text);
  bytes.push_back(0);
  return bytes;
}

Bytes TextBlock(const std::wstring& text) {
  return Utf16Bytes(text + std::wstring(1, L'\0'));
}

class RichTextClipboardTest : public ::testing::Test {
 protected:
  // The clipboard's text and HTML blocks, none for a missing format.
  struct Blocks {
    std::optional<Bytes> text;
    std::optional<Bytes> html;
  };
  static Blocks Read() {
    return {ReadBlock(CF_UNICODETEXT), ReadBlock(HtmlFormat())};
  }

  EncodableMap PasteRich() {
    const Answer answer = plugin_.Call("pasteRichText");
    EXPECT_EQ(answer.kind, Kind::kSuccess) << answer;
    const auto* map = flutter::get_if<EncodableMap>(&answer.value);
    return map ? *map : EncodableMap{};
  }

  void ExpectTrue(const Answer& answer) {
    EXPECT_EQ(answer.kind, Kind::kSuccess) << answer;
    EXPECT_EQ(answer.value, EncodableValue(true));
  }

  PluginDriver plugin_;
};

TEST_F(RichTextClipboardTest, CopyRichTextPlacesEachGivenFormat) {
  const struct {
    const char* name;
    EncodableValue arguments;
    std::optional<Bytes> text;
    std::optional<Bytes> html;
  } cases[] = {
      {"html only", Map({{"html", Str("<b>x</b>")}}), std::nullopt,
       WithNul(kBoldXDocument)},
      {"text only", Map({{"text", Str("plain")}}), TextBlock(L"plain"),
       std::nullopt},
      {"both", Map({{"text", Str("x")}, {"html", Str("<b>x</b>")}}),
       TextBlock(L"x"), WithNul(kBoldXDocument)},
      {"text of another kind",
       Map({{"text", EncodableValue(int32_t{1})}, {"html", Str("<b>x</b>")}}),
       std::nullopt, WithNul(kBoldXDocument)},
      // The fragment ends at its NUL, and the offsets count only what is
      // left: 161 + 4 bytes and the NUL.
      {"NUL in the fragment", Map({{"html", Str(std::string("<b>x\0y", 6))}}),
       std::nullopt,
       WithNul("Version:0.9\r\nStartHTML:00000097\r\nEndHTML:00000165\r\n"
               "StartFragment:00000129\r\nEndFragment:00000133\r\n"
               "<html><body><!--StartFragment--><b>x"
               "<!--EndFragment--></body></html>")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutText("stale");
    ExpectTrue(plugin_.Call("copyRichText", c.arguments));
    const Blocks blocks = Read();
    EXPECT_EQ(blocks.text, c.text);
    EXPECT_EQ(blocks.html, c.html);
  }
  // The plain text goes first.
  ExpectTrue(plugin_.Call(
      "copyRichText", Map({{"html", Str("<i>h</i>")}, {"text", Str("t")}})));
  EXPECT_EQ(OfferedAmong({HtmlFormat(), CF_UNICODETEXT}),
            (std::vector<UINT>{CF_UNICODETEXT, HtmlFormat()}));
}

TEST_F(RichTextClipboardTest, PasteRichTextReturnsTextAndWholeDocument) {
  ExpectTrue(plugin_.Call("copyRichText", Map({{"text", Str("x \xC3\xA9")},
                                               {"html", Str("<b>x</b>")}})));
  EncodableMap pasted = PasteRich();
  ASSERT_EQ(pasted.size(), 3u);
  EXPECT_EQ(pasted[Str("text")], Str("x \xC3\xA9"));
  EXPECT_EQ(pasted[Str("html")], Str(kBoldXDocument));
  EXPECT_TRUE(flutter::holds_alternative<int64_t>(pasted[Str("timestamp")]));
}

TEST_F(RichTextClipboardTest, PasteRichTextOnAnEmptyClipboard) {
  EmptyTheClipboard();
  int64_t previous = 0;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EncodableMap pasted = PasteRich();
    ASSERT_EQ(pasted.size(), 3u);
    EXPECT_EQ(pasted[Str("text")], Str(""));
    EXPECT_EQ(pasted[Str("html")], Str(""));
    const auto* timestamp = flutter::get_if<int64_t>(&pasted[Str("timestamp")]);
    ASSERT_TRUE(timestamp);
    EXPECT_GE(*timestamp, previous);
    previous = *timestamp;
  }
}

// Documents from other programs come back byte for byte, unparsed, up to
// the first NUL and never past the end of the block.
TEST_F(RichTextClipboardTest, PasteRichTextReturnsForeignHtmlUnchanged) {
  const std::string foreign =
      "Version:1.0\r\nStartHTML:0000000105\r\nEndHTML:0000000199\r\n"
      "StartFragment:0000000141\r\nEndFragment:0000000163\r\n"
      "SourceURL:https://example.org/\r\n"
      "<html><body><!--StartFragment--><p>\xC3\xA9</p><!--EndFragment-->";
  const struct {
    const char* name;
    Bytes block;
    std::string html;
  } cases[] = {
      {"no NUL before the end", BytesOf(foreign), foreign},
      {"NUL and padding", WithNul(foreign + std::string(3, '\0') + "junk"),
       foreign},
      {"empty block (Wine refuses to place it)", Bytes{}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutBlocks({{CF_UNICODETEXT, TextBlock(L"alt")}, {HtmlFormat(), c.block}});
    EncodableMap pasted = PasteRich();
    EXPECT_EQ(pasted[Str("html")], Str(c.html));
    EXPECT_EQ(pasted[Str("text")], Str("alt"));
  }
}

TEST_F(RichTextClipboardTest, CopyMultiplePlacesUsableFormatsInOrder) {
  const Bytes png = EncodeWithGdiplus(PatternImage(3, 2), L"image/png");
  ASSERT_FALSE(png.empty());
  // The map orders its keys; the clipboard gets image, text, HTML anyway.
  ExpectTrue(plugin_.Call(
      "copyMultiple",
      Map({{"formats", Map({{"text/html", Str("<b>x</b>")},
                            {"text/plain", Str("x")},
                            {"image/png", EncodableValue(IntList(png))}})}})));
  EXPECT_EQ(OfferedAmong({HtmlFormat(), CF_UNICODETEXT, CF_DIB}),
            (std::vector<UINT>{CF_DIB, CF_UNICODETEXT, HtmlFormat()}));
  EncodableMap pasted = PasteRich();
  EXPECT_EQ(pasted[Str("text")], Str("x"));
  EXPECT_EQ(pasted[Str("html")], Str(kBoldXDocument));
}

TEST_F(RichTextClipboardTest, CopyMultipleSkipsWhatItCannotUse) {
  const struct {
    const char* name;
    EncodableValue formats;
    std::optional<Bytes> text;
    std::optional<Bytes> html;
  } cases[] = {
      {"html alone", Map({{"text/html", Str("<b>x</b>")}}), std::nullopt,
       WithNul(kBoldXDocument)},
      {"undecodable image beside text",
       Map({{"image/png",
             EncodableValue(EncodableList{EncodableValue(int32_t{1}),
                                          EncodableValue(int64_t{2})})},
            {"text/plain", Str("t")}}),
       TextBlock(L"t"), std::nullopt},
      {"image as a byte array",
       Map({{"image/png", EncodableValue(std::vector<uint8_t>{0x89, 'P'})},
            {"text/plain", Str("t")}}),
       TextBlock(L"t"), std::nullopt},
      {"unknown keys only", Map({{"text/rtf", Str("{\\rtf1}")}}), std::nullopt,
       std::nullopt},
      {"empty values only",
       Map({{"text/plain", Str("")},
            {"text/html", Str("")},
            {"image/png",
             EncodableValue(EncodableList{Str("a"), EncodableValue(1.5)})}}),
       std::nullopt, std::nullopt},
      {"values of another kind",
       Map({{"text/plain", EncodableValue(int32_t{1})},
            {"text/html", EncodableValue(EncodableList{Str("<b>")})}}),
       std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutBlock(CF_UNICODETEXT, TextBlock(L"stale"));
    ExpectTrue(plugin_.Call("copyMultiple", Map({{"formats", c.formats}})));
    const Blocks blocks = Read();
    EXPECT_EQ(blocks.text, c.text);
    EXPECT_EQ(blocks.html, c.html);
    EXPECT_FALSE(ReadBlock(CF_DIB));
  }
}

}  // namespace
}  // namespace clipboard_test
